// Two processes saving bookings into one root folder as fast as they can, each through
// the booking window's engine: every save either of them was told succeeded is in the
// file once, nothing is torn, nothing reads as damaged. The same over two paths of one
// folder (a bind mount), where the machine allows it.

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>

#include "bookings/BookingEditor.h"
#include "ctl/CtlSession.h"
#include "ctl/Demo.h"
#include "platform/FileSystem.h"
#include "store/BookingFile.h"
#include "support/Builders.h"
#include "support/TempDir.h"

namespace tb::test {
namespace {

constexpr int kRounds = 1000;

// One writer: kRounds rounds of taking the file, adding a booking (or changing the phone
// of one it added), saving and letting go. Each acknowledged save is written to `acks`
// as "surname phone". Exit status 0 when no box was shown but the refusals of a held file.
[[noreturn]] void Writer(const std::string& root, int writer, const std::string& acks, const std::string& home) {
  setenv("XDG_CONFIG_HOME", (home + "config").c_str(), 1);
  setenv("XDG_RUNTIME_DIR", home.c_str(), 1);
  setenv("COTLYN_NONINTERACTIVE", "1", 1);
  std::string error;
  auto ctl = CtlSession::Open(root, "2026-12-09", error);
  if (!ctl) _exit(3);
  Session& s = ctl->session();
  std::ofstream out(acks);
  std::vector<std::string> mine;
  const TDateTime first = EncodeDate(2030, 1, 5) + 7 * writer;
  int refusals = 0;
  for (int round = 0; round < kRounds; ++round) {
    const TDateTime start = first + 14.0 * round;
    ctl->ShowPropertyAt(1, start);  // the chart on that date, its prices for the rent
    // The file is held by the other writer now and then: wait for it as a user would.
    for (;;) {
      ReadBookings(s, 1, true, false);
      if (!s.FileReadOnly) break;
      ReleaseBookingFile(s);
      ++refusals;
      usleep(200);
    }
    BookingEditor ed(s);
    std::string surname, phone = "r" + std::to_string(round);
    if (round % 4 == 3 && !mine.empty()) {
      surname = mine[static_cast<size_t>(round) % mine.size()];
      Book_Buffer* node = nullptr;
      for (Book_Buffer* b = s.Prop(1).Bookings.First(); b; b = b->Next)
        if (b->Rec.Surname == surname) node = b;
      if (!node) _exit(4);  // an acknowledged booking went missing
      ed.OpenEdit(1, node);
      ed.fields.phone = phone;
      ed.FieldChanged();
    } else {
      surname = "TW" + std::to_string(writer) + "-" + std::to_string(round);
      ed.OpenNew(1, start);
      ed.fields.form.surname = surname;
      ed.fields.phone = phone;
      ed.SurnameChanged();
    }
    if (ed.Save("SAVE")) {
      out << surname << " " << phone << "\n" << std::flush;
      if (round % 4 != 3 || mine.empty()) mine.push_back(surname);
    }
    ed.Close();
  }
  out << "refusals " << refusals << "\n" << std::flush;
  _exit(ctl->Messages().empty() ? 0 : 5);
}

// Runs the two writers, the second on `secondRoot` (the same folder by another path).
void RunTwoWriters(const std::string& root, const std::string& secondRoot, const TempDir& dir) {
  pid_t pids[2];
  for (int w = 0; w < 2; ++w) {
    pids[w] = fork();
    ASSERT_GE(pids[w], 0);
    if (pids[w] == 0) Writer(w == 0 ? root : secondRoot, w, dir / ("acks" + std::to_string(w)), dir.Path());
  }
  for (const pid_t pid : pids) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "writer ended with status " << status;
  }
  // What each writer was told was saved, the last phone of each booking winning.
  std::map<std::string, std::string> acked;
  long refusals = 0;
  for (int w = 0; w < 2; ++w) {
    std::ifstream in(dir / ("acks" + std::to_string(w)));
    std::string surname, phone;
    while (in >> surname >> phone) {
      if (surname == "refusals") refusals += std::stol(phone);
      else acked[surname] = phone;
    }
  }
  EXPECT_GT(acked.size(), size_t{kRounds});
  EXPECT_GT(refusals, 0) << "the writers never met: the test shows nothing";
  std::cout << acked.size() << " bookings acknowledged, " << refusals << " times the other writer held the file\n";
  std::map<std::string, int> seen;
  for (const Book_Rec& r : FileRecords(root + "Bramble Cottage/Data/Bookings.bks")) {
    if (r.Surname.rfind("TW", 0) != 0) continue;
    ++seen[r.Surname];
    auto it = acked.find(r.Surname);
    ASSERT_NE(it, acked.end()) << r.Surname << " was never acknowledged";
    EXPECT_EQ(r.Phone, it->second) << r.Surname;
  }
  for (const auto& [surname, phone] : acked) EXPECT_EQ(seen[surname], 1) << surname;
}

class TwoWriters : public ::testing::Test {
 protected:
  TwoWriters() {
    DemoOptions o;
    o.folder = dir.Path() + "root/";
    o.properties = 1;
    o.years = 1;
    o.today = EncodeDate(2026, 12, 9);
    EXPECT_EQ(MakeDemo(o), "");
  }
  std::string Root() const { return dir.Path() + "root/"; }
  TempDir dir;
};

TEST_F(TwoWriters, EveryAcknowledgedSaveIsThereOnce) { RunTwoWriters(Root(), Root(), dir); }

TEST_F(TwoWriters, OverTwoPathsOfOneFolder) {
  const std::string second = dir.Path() + "mounted/";
  ForceDirectories(second);
  // A mount of our own, seen by this test and its writers only.
  if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
      mount(Root().c_str(), second.c_str(), nullptr, MS_BIND, nullptr) != 0)
    GTEST_SKIP() << "this machine allows no bind mount here";
  RunTwoWriters(Root(), second, dir);
  umount(second.c_str());
}

}  // namespace
}  // namespace tb::test

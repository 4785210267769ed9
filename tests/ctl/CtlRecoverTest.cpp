// cotlynctl recover on a demo property: its change log, as the demo leaves years of
// saves, moves, cancellations re-let and deletions in it, gives back its booking file.

#include <gtest/gtest.h>

#include "ctl/Demo.h"
#include "platform/FileSystem.h"
#include "support/Builders.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

namespace tb::test {
namespace {

class CtlRecover : public ::testing::Test {
 protected:
  void SetUp() override {
    DemoOptions o;
    o.folder = Root();
    o.years = 2;
    o.today = EncodeDate(2026, 12, 9);
    ASSERT_EQ(MakeDemo(o), "");
  }
  std::string Root() const { return dir.Path() + "demo/"; }
  std::string Property() const { return Root() + DemoPropertyName(1, 4, DemoOptions().seed) + "/"; }
  std::string Bytes(const std::string& path) const {
    std::string data;
    ReadWholeFile(path, data);
    return data;
  }
  ChildProcess Recover(std::vector<std::string> extra, const std::string& answers) {
    std::vector<std::string> args = {"recover", Root(), "1", "--today", "2026-12-09"};
    args.insert(args.end(), extra.begin(), extra.end());
    return ChildProcess::Run(ProgramPath("cotlynctl"), args,
                             {"COTLYN_NONINTERACTIVE=1", "COTLYN_ANSWERS=" + answers, "TMPDIR=" + dir.Path(),
                              "XDG_CONFIG_HOME=" + dir.Path()});
  }
  TempDir dir;
};

TEST_F(CtlRecover, TheDemoChangeLogGivesBackTheBookingFile) {
  const std::string log = Property() + "Archive/Changed.bks";
  const std::string changeLog = Bytes(log);
  const std::vector<Book_Rec> saves = FileRecords(log);
  ASSERT_FALSE(FileRecords(Property() + "Archive/Deleted.bks").empty());
  int cancelled = 0, deleted = 0;
  for (const Book_Rec& r : saves) {
    cancelled += r.Status == Cancelled;
    deleted += r.Status == Deleted;
  }
  EXPECT_GT(cancelled, 0);
  EXPECT_GT(deleted, 0);

  // Moved bookings answered Yes (the first button): exactly the booking file.
  ChildProcess run = Recover({}, "");
  EXPECT_EQ(run.exitCode, 0) << run.Errors();
  EXPECT_NE(run.Output().find("Discarded booking (date change): Surname="), std::string::npos);
  EXPECT_NE(run.Output().find("Dropped deleted booking: Name "), std::string::npos);
  EXPECT_NE(run.Output().find("--------RECOVERY COMPLETE-----------\n"), std::string::npos);
  EXPECT_NE(run.Errors().find("[Confirmation] 2 bookings from same person found."), std::string::npos);
  EXPECT_TRUE(Bytes(Root() + "Recovered.bks") == Bytes(Property() + "Data/Bookings.bks"));
  EXPECT_EQ(Bytes(log), changeLog);

  // The earlier result kept when the user cancels.
  ChildProcess refused = Recover({}, "Cancel");
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_EQ(refused.Output(), "");
  EXPECT_TRUE(Bytes(Root() + "Recovered.bks") == Bytes(Property() + "Data/Bookings.bks"));
}

// A backup newer than the log leaves nothing to do; a damaged one stops the run with
// Error 1220 (seen by the shell as 196) and writes nothing.
TEST_F(CtlRecover, BackupsNewerOrDamaged) {
  ChildProcess run = Recover({"--backup", Property() + "Data/Bookings.bks"}, "");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.Output().find("No records in change log more recent than in backup file. Nothing to recover\n"),
            std::string::npos);
  EXPECT_FALSE(FileExists(Root() + "Recovered.bks"));

  const std::string damaged = dir.Path() + "damaged.bks";
  const std::string whole = Bytes(Property() + "Data/Bookings.bks");
  WriteWholeFile(damaged, whole.substr(0, whole.size() - 3));
  ChildProcess stopped = Recover({"--backup", damaged}, "");
  EXPECT_EQ(stopped.exitCode, 1220 & 0xff);
  EXPECT_NE(stopped.Errors().find("Error 1220. Corrupt structure in Booking file =" + damaged), std::string::npos);
  EXPECT_FALSE(FileExists(Root() + "Recovered.bks"));
}

}  // namespace
}  // namespace tb::test

// "Owners.bko" byte for byte: hand-built files, the round trip, corrupt files.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <random>

#include "owners/OwnerDB.h"
#include "owners/OwnerListRows.h"
#include "owners/OwnerOrder.h"
#include "owners/OwnerStats.h"
#include "owners/OwnerFixture.h"

namespace tb::test {
namespace {

class OwnerFile : public OwnerFixture, public ::testing::Test {};

void PutText(std::string& b, const std::string& text) {
  b.push_back(static_cast<char>(text.size() & 0xFF));
  b.push_back(static_cast<char>(text.size() >> 8));
  b += text;
}

// A record built from the layout: 32 fixed bytes, then seven texts.
std::string HandRecord(uint16_t id, const std::vector<std::string>& texts) {
  std::string b(32, '\0');
  const double created = EncodeDate(2025, 3, 4), updated = EncodeDate(2026, 11, 30) + 0.75;
  std::memcpy(&b[0], &created, 8);
  std::memcpy(&b[8], &updated, 8);
  b[16] = 'x';  // spare bytes are carried
  b[24] = static_cast<char>(id & 0xFF);
  b[25] = static_cast<char>(id >> 8);
  b[31] = 7;
  for (const std::string& t : texts) PutText(b, t);
  return b;
}

TEST_F(OwnerFile, HandBuiltRecordsReadFieldForFieldAndWriteBackByteIdentical) {
  const std::string long300(300, 'n');
  const std::string bytes =
      HandRecord(0x1234, {"Fairweather", "Zo\xEB", "The Old Forge\r\nHawes", "01969 555", "zoe@example.com",
                          "fairweather.example", long300}) +
      HandRecord(65535, {"Penrose", "", "", "", "", "", ""});
  WriteWholeFile(File(), bytes);
  ASSERT_EQ(Open(true), 0);
  const std::vector<Owner_Rec>& owners = OwnerList(s);
  ASSERT_EQ(owners.size(), 2u);
  const Owner_Rec& o = owners[0];
  EXPECT_EQ(o.OwnerCreated, EncodeDate(2025, 3, 4));
  EXPECT_EQ(o.OwnerUpdated, EncodeDate(2026, 11, 30) + 0.75);
  EXPECT_EQ(o.OwnerSpare1[0], 'x');
  EXPECT_EQ(o.OwnerID, 0x1234);
  EXPECT_EQ(o.OwnerSpare2[5], 7);
  EXPECT_EQ(o.OwnerSurname, "Fairweather");
  EXPECT_EQ(o.OwnerFName, "Zo\xEB");
  EXPECT_EQ(o.OwnerAddress, "The Old Forge\r\nHawes");
  EXPECT_EQ(o.OwnerPhone, "01969 555");
  EXPECT_EQ(o.OwnerEmail, "zoe@example.com");
  EXPECT_EQ(o.OwnerURL, "fairweather.example");
  EXPECT_EQ(o.OwnerNotes, long300);
  EXPECT_EQ(owners[1].OwnerID, 65535);
  EXPECT_EQ(OwnersImage(owners), bytes);

  // Written back through the held handle, after a private safety copy of the old file.
  WriteWholeFile(s.common.TempFolder + "Owners.bko", "stale");
  Owners(s).changed = true;
  ASSERT_TRUE(SaveOwnerFile(s));
  EXPECT_EQ(FileBytes(File()), bytes);
  EXPECT_EQ(FileBytes(s.common.TempFolder + "Owners.bko"), bytes);
  struct stat st {};
  ASSERT_EQ(::stat((s.common.TempFolder + "Owners.bko").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_FALSE(Owners(s).changed);
  EXPECT_EQ(t.dialogs.beeps, 1);
}

// Read owners point into the file's bytes the database keeps: a copy taken, and a table
// sorted after the read, keep their texts when the next read replaces those bytes.
TEST_F(OwnerFile, OwnersTakenFromTheDatabaseOutliveTheNextRead) {
  WriteOwners({MakeOwner(2, "Penrose", "Ann"), MakeOwner(1, "Ashdown", "Tom")});  // out of name order
  ASSERT_EQ(Open(), 0);
  const Owner_Rec copy = OwnerList(s)[0];
  SortOwners(s, 1);
  const std::vector<Owner_Rec> sorted = OwnerList(s);
  WriteOwners({MakeOwner(3, "Quayle", std::string(100, 'q'))});
  Owners(s).fileAge = -2;  // the file's time, as another user's save changes it
  ASSERT_EQ(Open(), 0);
  ASSERT_EQ(OwnerSurnames(OwnerList(s)), std::vector<std::string>{"Quayle"});
  EXPECT_EQ(copy.OwnerSurname, "Penrose");
  EXPECT_EQ(copy.OwnerFName, "Ann");
  EXPECT_EQ(OwnerSurnames(sorted), (std::vector<std::string>{"Ashdown", "Penrose"}));
  EXPECT_EQ(sorted[0].OwnerFName, "Tom");
}

// A save with fewer bytes than the file holds leaves no stale tail.
TEST_F(OwnerFile, AShorterSaveCutsTheOldTail) {
  WriteOwners({MakeOwner(1, "Ashdown", std::string(200, 'a')), MakeOwner(2, "Brightwell")});
  ASSERT_EQ(Open(true), 0);
  Owners(s).owners[0].OwnerFName = "Tom";
  Owners(s).changed = true;
  ASSERT_TRUE(SaveOwnerFile(s));
  EXPECT_EQ(FileBytes(File()), OwnersImage({MakeOwner(1, "Ashdown", "Tom"), MakeOwner(2, "Brightwell")}));
}

// One owner with every text empty is the smallest file Save writes: it must load.
TEST_F(OwnerFile, TheSmallestValidFileLoads) {
  Owners(s).owners = {MakeOwner(5, "")};
  Owners(s).changed = true;
  ASSERT_TRUE(SaveOwnerFile(s));
  ASSERT_EQ(FileBytes(File()).size(), 46u);
  ReleaseOwnerDB(s);
  TestSession other(kOwnerToday);
  other.JoinRoot(t);
  OpenOwnerDB(other.session, false);
  ASSERT_EQ(OwnerList(other.session).size(), 1u);
  EXPECT_EQ(OwnerList(other.session)[0].OwnerID, 5);
}

TEST_F(OwnerFile, CorruptFilesStopTheRunWithTheExactMessageAndLogLine) {
  const std::string one = OwnersImage({MakeOwner(1, "Smith", "Ann")});
  const std::string p = File();
  const std::string please = "\rPlease investigate and recover lost data before continuing - see Help.";
  struct Case {
    std::string bytes, log, message;
  };
  const Case cases[] = {
      {std::string(45, '\0'), "QZ1220A File " + p + " corrupt. Size =45 bytes. DIE",
       "Error 1220. Corrupt Owner file=" + p + please},
      {"", "QZ1220A File " + p + " corrupt. Size =0 bytes. DIE", "Error 1220. Corrupt Owner file=" + p + please},
      {one + std::string(45, '\0'), "QZO1220C File " + p + " corrupt - short on bytes",
       "Error 1220. Corrupt data. File=" + p + "\rInvestigate and recover lost data before continuing - see Help."},
      // The last text's length points past the end.
      {one.substr(0, one.size() - 2) + std::string("\x09\x00" "ab", 4), "QZ1220B File " + p + " corrupt structure.",
       "Error 1220. Corrupt data in file=" + p + please},
  };
  for (const Case& c : cases) {
    WriteWholeFile(p, c.bytes);
    Owners(s).fileAge = -2;
    Owners(s).owners = {MakeOwner(9, "Kept")};
    t.dialogs.Expect(c.message, MsgIcon::Error, MsgButton::Abort | MsgButton::Help, 1220, MsgButton::Abort);
    EXPECT_EQ(Open(), 1220) << c.log;
    EXPECT_NE(Log().find(c.log + "\r\n"), std::string::npos) << c.log;
    EXPECT_EQ(OwnerSurnames(OwnerList(s)), std::vector<std::string>{"Kept"});
    EXPECT_EQ(FileBytes(p), c.bytes);
    t.dialogs.VerifyAllShown();
  }
}

// Any bytes either load or end in the exact 1220 stop; what loads can be listed.
TEST_F(OwnerFile, DamagedFilesNeverCrash) {
  std::vector<Owner_Rec> owners;
  for (uint16_t i = 1; i <= 4; ++i) {
    Owner_Rec o = MakeOwner(i, "Name" + std::to_string(i), "F", "a@b");
    o.OwnerNotes = std::string(i * 37u, 'x');
    o.OwnerAddress = "1 Street\r\nTown";
    owners.push_back(o);
  }
  const std::string good = OwnersImage(owners);
  std::mt19937 rng(4242);
  int stops = 0, loads = 0;
  for (int round = 0; round < 400; ++round) {
    std::string bytes = good.substr(0, rng() % (good.size() + 1));
    for (int flips = static_cast<int>(rng() % 6); flips > 0 && !bytes.empty(); --flips)
      bytes[rng() % bytes.size()] = static_cast<char>(rng());
    WriteWholeFile(File(), bytes);
    TestSession quiet(kOwnerToday);
    quiet.dialogs.permissive = true;
    quiet.session.common = s.common;
    quiet.session.props = s.props;
    try {
      OpenOwnerDB(quiet.session, false);
      ++loads;
      OwnerListRows(quiet.session);
      OwnerStatisticsText(quiet.session);
    } catch (const ProcessExit& e) {
      EXPECT_EQ(e.code, 1220);
      ++stops;
    }
  }
  EXPECT_GT(stops, 0);
  EXPECT_GT(loads, 0);
}

}  // namespace
}  // namespace tb::test

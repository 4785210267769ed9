// The owner database in use: order, numbers, saving, locking between users, the
// archive and deletions, and the hooks the lower layers see owners through.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "owners/OwnerHooks.h"
#include "owners/OwnerOrder.h"
#include "owners/OwnerFixture.h"
#include "platform/PathText.h"
#include "store/Settings.h"
#include "support/Frozen.h"

namespace tb::test {
namespace {

const MsgButtons kAbortHelp = MsgButton::Abort | MsgButton::Help;

class OwnerDatabase : public OwnerFixture, public ::testing::Test {
 protected:
  void ExpectShortWrite(size_t written, size_t wanted) {
    t.dialogs.Expect("QZ1080 Should not occur. Wrote " + std::to_string(written) + " bytes v. req=" +
                         std::to_string(wanted) + "\rTry again?",
                     MsgIcon::Error, kAbortHelp, 1080, MsgButton::Abort);
  }
  OwnerFields Fields(uint16_t id, const std::string& surname, const std::string& firstNames = "") {
    OwnerFields f;
    f.id = id;
    f.surname = surname;
    f.firstNames = firstNames;
    return f;
  }
};

TEST(OwnerOrder, NamesSortByteByByteKeepingEqualKeysInOrder) {
  std::vector<Owner_Rec> owners = {
      MakeOwner(1, "smith", "a"),  MakeOwner(2, "Smith", "b"),  MakeOwner(3, "\xC9mile", "x"),
      MakeOwner(4, "Ab", "c"),     MakeOwner(5, "Smit", "hz"),  MakeOwner(6, "A", "bc"),
      MakeOwner(7, "Smith", ""),   MakeOwner(8, "Zed", ""),
  };
  ASSERT_TRUE(SortOwnersByName(owners));
  std::vector<int> ids;
  for (const Owner_Rec& o : owners) ids.push_back(o.OwnerID);
  // "Abc" = "Abc" keep their order; "Smith" < "Smithb" < "Smithz"; capitals before small
  // letters; a byte above 127 after them all.
  EXPECT_EQ(ids, (std::vector<int>{4, 6, 7, 2, 5, 8, 1, 3}));
  EXPECT_FALSE(SortOwnersByName(owners));
}

TEST(OwnerOrder, DuplicateNumbersComeInPairsAsEachMeetsEveryLaterOne) {
  struct Case {
    std::vector<uint16_t> ids;
    std::vector<std::pair<int, int>> pairs;
  };
  const Case cases[] = {
      {{1, 2, 3}, {}},
      {{4, 1, 4}, {{0, 2}}},
      {{7, 7, 7}, {{0, 1}, {0, 2}, {1, 2}}},
      {{5, 9, 5, 9, 5}, {{0, 2}, {0, 4}, {1, 3}, {2, 4}}},
  };
  for (const Case& c : cases) {
    std::vector<Owner_Rec> owners;
    for (const uint16_t id : c.ids) owners.push_back(MakeOwner(id, "N"));
    EXPECT_EQ(DuplicateOwnerPairs(owners), c.pairs);
  }
}

TEST(OwnerOrder, NumbersOfferedAndTypedStayWithin16Bits) {
  const auto owners = [](std::vector<uint16_t> ids) {
    std::vector<Owner_Rec> out;
    for (const uint16_t id : ids) out.push_back(MakeOwner(id, "N"));
    return out;
  };
  EXPECT_EQ(NextOwnerID({}), 1);
  EXPECT_EQ(NextOwnerID(owners({3, 7})), 8);
  EXPECT_EQ(NextOwnerID(owners({1, 65535, 2})), 3);  // never wraps to 0
  EXPECT_EQ(NextOwnerID(owners({65535})), 1);

  const struct {
    const char* text;
    int id;  // 0: refused
    const char* error;
  } cases[] = {
      {"1", 1, ""},
      {" 42 ", 42, ""},
      {"65535", 65535, ""},
      {"0", 0, "Error - must be positive integer"},
      {"-3", 0, "Error - must be positive integer"},
      {"", 0, "Error - must be positive integer"},
      {"12a", 0, "Error - must be positive integer"},
      {"1.5", 0, "Error - must be positive integer"},
      {"-99999999999999999999", 0, "Error - must be positive integer"},
      {"65536", 0, "Error - number must not be above 65535"},
      {"99999999999999999999", 0, "Error - number must not be above 65535"},
  };
  for (const auto& c : cases) {
    std::string error;
    const std::optional<uint16_t> id = ParseOwnerNumber(c.text, error);
    EXPECT_EQ(id.value_or(0), c.id) << c.text;
    EXPECT_EQ(error, c.error) << c.text;
  }
}

// The editor's save re-sorts; the owner it shows is found again by number.
TEST_F(OwnerDatabase, ASaveThatMovesTheOwnerKeepsItCurrent) {
  struct Case {
    uint16_t id;
    std::string surname;
    std::vector<std::string> order;
    int current;
  };
  const Case cases[] = {
      {2, "Aaron", {"Aaron", "Adams", "Clark"}, 1},
      {1, "Zeller", {"Brown", "Clark", "Zeller"}, 3},
      {3, "Clark", {"Adams", "Brown", "Clark"}, 3},
  };
  for (const Case& c : cases) {
    WriteOwners({MakeOwner(1, "Adams"), MakeOwner(2, "Brown"), MakeOwner(3, "Clark")});
    Owners(s).fileAge = -2;
    ASSERT_EQ(Open(true), 0);
    Owners(s).current = FindOwner(s, c.id) + 1;
    ASSERT_TRUE(SaveOwner(s, Fields(c.id, c.surname), false, "Updated"));
    EXPECT_EQ(OwnerSurnames(FileOwners(File())), c.order) << c.surname;
    EXPECT_EQ(Owners(s).current, c.current) << c.surname;
    EXPECT_EQ(OwnerList(s)[static_cast<size_t>(c.current - 1)].OwnerUpdated, t.clock.Now());
    EXPECT_NE(Log().find("Updated Owner ID=" + std::to_string(c.id) + " SName=" + c.surname + " Tot Owners=3\r\n"),
              std::string::npos);
    ReleaseOwnerDB(s);
  }
}

TEST_F(OwnerDatabase, TheFirstSaveCreatesTheFileHeld) {
  ASSERT_TRUE(SaveOwner(s, Fields(1, "Penrose", "Alice"), true, "Added"));
  EXPECT_EQ(OwnerSurnames(FileOwners(File())), std::vector<std::string>{"Penrose"});
  EXPECT_EQ(FileOwners(File())[0].OwnerCreated, kOwnerToday);
  EXPECT_TRUE(Owners(s).file.IsOpen());
  EXPECT_NE(Log().find("Created Owner DB. Owner ID=1 SName=Penrose Tot Owners=1"), std::string::npos);
  ASSERT_TRUE(SaveOwner(s, Fields(2, "Ashdown"), true, "Added"));
  EXPECT_EQ(OwnerSurnames(FileOwners(File())), (std::vector<std::string>{"Ashdown", "Penrose"}));
  EXPECT_EQ(Owners(s).current, 1);
}

// A save that did not reach the file says so and leaves the database as the file has
// it (the window keeps what was typed for the next try); nothing claims it was saved.
TEST_F(OwnerDatabase, AFailedSaveKeepsTheChangeAndLogsNoSave) {
  WriteOwners({MakeOwner(1, "Adams")});
  ASSERT_EQ(Open(false), 0);  // read, not held
  Owners(s).current = 1;
  t.dialogs.Expect("QZ1080 Should not occur: owner database not open", MsgIcon::Error, kAbortHelp, 1080,
                   MsgButton::Abort);
  EXPECT_FALSE(SaveOwner(s, Fields(1, "Adamson"), false, "Updated"));
  EXPECT_FALSE(Owners(s).changed);
  EXPECT_EQ(OwnerList(s)[0].OwnerSurname, "Adams");
  EXPECT_EQ(Log().find("Updated Owner"), std::string::npos);
  EXPECT_EQ(FileOwners(File())[0].OwnerSurname, "Adams");

  // Held, but the file takes no writes (a full disk, a share gone read-only).
  Owners(s).fileAge = -2;
  Owners(s).owners = {MakeOwner(1, "Adams")};
  ASSERT_EQ(Open(true), 0);
  {
    Frozen frozen(File());
    if (!frozen.Ok()) GTEST_SKIP() << "cannot make a file immutable here";
    Owners(s).current = 1;
    ExpectShortWrite(0, OwnersImage({MakeOwner(1, "Adams"), MakeOwner(1, "Adamson")}).size());
    EXPECT_FALSE(SaveOwner(s, Fields(1, "Adamson"), true, "Added"));
    EXPECT_EQ(OwnerSurnames(OwnerList(s)), std::vector<std::string>{"Adams"}) << "no new owner left behind";
  }
  EXPECT_EQ(FileOwners(File())[0].OwnerSurname, "Adams");
  EXPECT_EQ(Log().find("Updated Owner"), std::string::npos);
  ASSERT_TRUE(SaveOwner(s, Fields(1, "Adamson"), false, "Updated"));  // the next try writes it
  EXPECT_EQ(FileOwners(File())[0].OwnerSurname, "Adamson");
  t.dialogs.VerifyAllShown();
}

// Deleting every owner when the file cannot go: the last owner stays, and the file is
// brought back in step with what is left once it can be written.
TEST_F(OwnerDatabase, AFileThatCannotGoKeepsTheLastOwner) {
  WriteOwners({MakeOwner(1, "Adams"), MakeOwner(2, "Brown"), MakeOwner(3, "Clark")});
  ASSERT_EQ(Open(true), 0);
  {
    Frozen frozen(File());
    if (!frozen.Ok()) GTEST_SKIP() << "cannot make a file immutable here";
    t.dialogs.permissive = true;
    const OwnerDeletion d = DeleteOwners(s, {0, 1, 2}, OwnerDeleter::List);
    EXPECT_EQ(d.deleted, 2);
    EXPECT_FALSE(d.databaseGone);
    EXPECT_FALSE(d.saved);
    EXPECT_EQ(OwnerSurnames(OwnerList(s)), std::vector<std::string>{"Adams"});
    EXPECT_TRUE(Owners(s).changed);
  }
  ASSERT_TRUE(SaveOwnerFile(s));
  EXPECT_EQ(OwnerSurnames(FileOwners(File())), std::vector<std::string>{"Adams"});
}

// One writer at a time; the other user reads, is read-only, and sees saves when the
// file's time moves.
TEST_F(OwnerDatabase, AnotherUserHoldingTheFileMakesItReadOnly) {
  WriteOwners({MakeOwner(1, "Adams"), MakeOwner(2, "Brown")});
  TestSession other(kOwnerToday);
  other.JoinRoot(t);
  Session& b = other.session;
  ASSERT_TRUE(OpenOwnerDB(s, true));
  EXPECT_FALSE(Owners(s).readOnly);

  EXPECT_TRUE(OpenOwnerDB(b, true));
  EXPECT_TRUE(Owners(b).readOnly);
  EXPECT_FALSE(Owners(b).file.IsOpen());
  EXPECT_FALSE(ReleaseOwnerDB(b));
  EXPECT_FALSE(OpenOwnerDB(b, false)) << "unchanged: not read again";

  Owners(s).owners[0].OwnerSurname = "Abbot";
  Owners(s).changed = true;
  ASSERT_TRUE(SaveOwnerFile(s));
  Owners(b).fileAge = 0;  // file times are coarse: as if B read it a while ago
  EXPECT_TRUE(OpenOwnerDB(b, false));
  EXPECT_EQ(OwnerList(b)[0].OwnerSurname, "Abbot");

  // Asking again while holding it is a fault of the program.
  t.dialogs.Expect("QZ1080 Should not occur - owner database open and locked", MsgIcon::Error, kAbortHelp, 1080,
                   MsgButton::Abort);
  EXPECT_FALSE(OpenOwnerDB(s, true));
  EXPECT_NE(Log().find("QZ1080F Should not occur - owner database open and locked"), std::string::npos);
  EXPECT_TRUE(ReleaseOwnerDB(s));
  OpenOwnerDB(b, true);  // now B may write
  EXPECT_FALSE(Owners(b).readOnly);
  EXPECT_TRUE(Owners(b).file.IsOpen());
  t.dialogs.VerifyAllShown();
}

TEST_F(OwnerDatabase, CheckOwnerIDsReportsTheFirstPairOnly) {
  Owners(s).owners = {MakeOwner(4, "Adams"), MakeOwner(7, "Brown"), MakeOwner(7, "Clark"), MakeOwner(4, "Dunn")};
  t.dialogs.Expect("Save: DUPLICATE OwnerID=4. First occurrence: Name=Adams, row=1 Second: Name=Dunn, row=4",
                   MsgIcon::Error, MsgButton::Ignore, 0, MsgButton::Ignore);
  CheckOwnerIDs(s, "Save");
  t.dialogs.VerifyAllShown();
}

TEST_F(OwnerDatabase, TheArchiveIsMadeThenAppendedToWholeRecordsOnly) {
  const Owner_Rec a = MakeOwner(1, "Adams"), b = MakeOwner(2, "Brown", "Bo");
  ASSERT_TRUE(ArchiveOwner(s, a));
  EXPECT_NE(Log().find("Created new Owner Archive = " + PathText(Archive()) + "\r\n"), std::string::npos);
  // A record cut short by a crash is taken off before the next one goes on.
  AppendToFile(Archive(), OwnersImage({b}).substr(0, 20));
  ASSERT_TRUE(ArchiveOwner(s, b));
  EXPECT_EQ(FileBytes(Archive()), OwnersImage({a, b}));
  EXPECT_EQ(OwnerSurnames(ReadOwnerArchive(s)), (std::vector<std::string>{"Adams", "Brown"}));

  // An append that falls short (the file may grow no further) is cut back to whole
  // records and reported as not archived.
  std::vector<Owner_Rec> many(60, MakeOwner(3, "Filler", std::string(40, 'f')));
  ASSERT_TRUE(WriteWholeFile(Archive(), OwnersImage(many)));
  const std::string before = FileBytes(Archive());
  const Owner_Rec big = MakeOwner(9, "Big", std::string(200, 'b'));
  ExpectShortWrite(30, OwnersImage({big}).size());
  struct rlimit old {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit limit = old;
  limit.rlim_cur = before.size() + 30;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  const bool archived = ArchiveOwner(s, big);
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(archived);
  EXPECT_EQ(FileBytes(Archive()), before);
  t.dialogs.VerifyAllShown();
}

// Deleted owners are archived first, from the highest position down; a refused
// archive stops there and the owner stays. The last owner goes the same way.
TEST_F(OwnerDatabase, DeletionsArchiveEachOwnerAndTheLastTakesTheFile) {
  WriteOwners({MakeOwner(1, "Adams"), MakeOwner(2, "Brown"), MakeOwner(3, "Clark"), MakeOwner(4, "Dunn"),
               MakeOwner(5, "Evans")});
  ASSERT_EQ(Open(true), 0);
  OwnerDeletion d = DeleteOwners(s, {3, 0, 1}, OwnerDeleter::List);
  EXPECT_EQ(d.deleted, 3);
  EXPECT_TRUE(d.saved);
  EXPECT_EQ(OwnerSurnames(OwnerList(s)), (std::vector<std::string>{"Clark", "Evans"}));
  EXPECT_EQ(OwnerSurnames(FileOwners(File())), (std::vector<std::string>{"Clark", "Evans"}));
  EXPECT_EQ(OwnerSurnames(ReadOwnerArchive(s)), (std::vector<std::string>{"Dunn", "Brown", "Adams"}));
  const std::string log = Log();
  const size_t first = log.find("LOU DELETED OWNER ID=4 RecNo=3 SName=Dunn Owners=4");
  const size_t last = log.find("LOU DELETED OWNER ID=1 RecNo=0 SName=Adams Owners=2");
  EXPECT_NE(first, std::string::npos);
  EXPECT_NE(last, std::string::npos);
  EXPECT_LT(first, last);

  // The archive is held by another user: nothing is deleted.
  SharedFile holder;
  ASSERT_EQ(holder.OpenReadWriteDenyWriters(Archive()), SharedFile::Result::Ok);
  t.dialogs.Expect("QZO01 Owner record cannot be archived to " + PathText(Archive()) + ". Should not occur",
                   MsgIcon::Error, MsgButton::Abort, 0, MsgButton::Abort);
  d = DeleteOwners(s, {1}, OwnerDeleter::Editor);
  EXPECT_TRUE(d.archiveFailed);
  EXPECT_EQ(d.deleted, 0);
  EXPECT_EQ(OwnerList(s).size(), 2u);
  holder.Close();

  ASSERT_EQ(DeleteOwners(s, {1}, OwnerDeleter::Editor).deleted, 1);
  EXPECT_NE(Log().find("DELETED OWNER ID=5 RecNo=2 SName=Evans Tot Owners=1"), std::string::npos);
  // The final owner: archived, then the file goes.
  d = DeleteOwners(s, {0}, OwnerDeleter::Editor);
  EXPECT_TRUE(d.databaseGone);
  EXPECT_FALSE(FileExists(File()));
  EXPECT_TRUE(Owners(s).readOnly);
  EXPECT_EQ(OwnerSurnames(ReadOwnerArchive(s)),
            (std::vector<std::string>{"Dunn", "Brown", "Adams", "Evans", "Clark"}));
  EXPECT_NE(Log().find("DELETED Final Owner ID=03 SName=Clark"), std::string::npos);
  t.dialogs.VerifyAllShown();
}

TEST_F(OwnerDatabase, TheFinalOwnerStaysWhenItCannotBeArchived) {
  WriteOwners({MakeOwner(1, "Adams")});
  ASSERT_EQ(Open(true), 0);
  ASSERT_TRUE(ForceDirectories(Archive()));  // a folder stands in its place
  t.dialogs.Expect("Cannot create file=" + PathText(Archive()) + "\rCheck permissions?", MsgIcon::Error,
                   MsgButton::Abort, 0, MsgButton::Abort);
  const OwnerDeletion d = DeleteOwners(s, {0}, OwnerDeleter::List);
  EXPECT_FALSE(d.databaseGone);
  EXPECT_TRUE(FileExists(File()));
  EXPECT_EQ(OwnerList(s).size(), 1u);
  t.dialogs.VerifyAllShown();
}

// Titles, the chart and letters see owners once the database is loaded.
TEST_F(OwnerDatabase, LoadingAtStartUpSetsTheHooks) {
  EXPECT_FALSE(LoadOwnerDatabase(s));  // no file: no owners, hooks answer nothing
  EXPECT_EQ(PropertyTitle(s, 1), "Property: Bramble");
  WriteOwners({MakeOwner(2, "Brown", "Bo", "bo@example.com"), MakeOwner(1, "Penrose", "Alice")});
  EXPECT_TRUE(LoadOwnerDatabase(s));
  EXPECT_EQ(PropertyTitle(s, 1), "Property: Bramble.  Owner: Alice Penrose");
  EXPECT_EQ(PropertyTitle(s, 2), "Property: Heron");  // not let for its owner
  EXPECT_EQ(s.ownerSurname(2), "Brown");
  EXPECT_EQ(s.ownerSurname(9), "");
  Session::OwnerContact c;
  ASSERT_TRUE(s.ownerContact(2, c));
  EXPECT_EQ(c.email, "bo@example.com");
  EXPECT_FALSE(s.ownerContact(0, c));
}

}  // namespace
}  // namespace tb::test

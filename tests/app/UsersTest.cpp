#include "app/Users.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/FileSystem.h"
#include "store/BookingFile.h"
#include "support/Builders.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

const std::string kOther = " 261209 08:00:00 otherpc;anne;K999";
const std::string kOtherReading = "R261209 08:00:00 otherpc;anne;K999";
const std::string kMineStale = " 261208 17:00:00 testpc;tester;K123";
const MsgButtons kYesIgnoreHelp = MsgButton::Yes | MsgButton::Ignore | MsgButton::Help;
const std::string kAsk1160 =
    "QZ1160 Another user is active: anne\rOpen Cotlyn in read-only mode?\r(If you are sure another user is NOT "
    "ACTIVE then click ignore)";

class Users : public ::testing::Test {
 protected:
  Users() {
    t.Load(SimpleSettings(1));
    s.UserKey = "K123";
  }
  void UsersFile(const std::vector<std::string>& lines) { WriteUserLines(s.common.UsersPath, lines); }
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    ReadUserLines(s.common.UsersPath, lines);
    return lines;
  }
  std::string Log() const { return t.dir.Read("root/Cotlyn.log"); }
  bool Logged(const std::string& text) const { return Log().find(text) != std::string::npos; }

  TestSession t;
  Session& s = t.session;
};

TEST_F(Users, ALeftoverOfThisInstallationGoesWithoutAQuestion) {
  s.common.CloudData = true;
  UsersFile({kMineStale});
  CheckUsersAtStart(s, "10.0.0.5");
  EXPECT_FALSE(FileExists(s.common.UsersPath));
  EXPECT_TRUE(Logged("QZ1210 Delete duplicate user: " + kMineStale));
  RegisterUser(s);
  ASSERT_EQ(Lines().size(), 1u);
  EXPECT_EQ(Lines()[0], " 261209 10:30:00 testpc;tester;K123");
  EXPECT_EQ(t.dir.Read("root/$users.txt"), " 261209 10:30:00 testpc;tester;K123\r\n");
}

TEST_F(Users, InCloudModeAnotherWriterIsAskedAbout) {
  s.common.CloudData = true;
  UsersFile({kOther, kMineStale});
  t.dialogs.Expect(kAsk1160, MsgIcon::Warning, kYesIgnoreHelp, 1160, MsgButton::Yes);
  CheckUsersAtStart(s, "");
  t.dialogs.VerifyAllShown();
  EXPECT_TRUE(s.ReadOnly);
  EXPECT_TRUE(Logged("QZ1160 2ND USER active, opening readonly. " + kOther));
  RegisterUser(s);
  ASSERT_EQ(Lines().size(), 2u);
  EXPECT_EQ(Lines()[0], kOther);
  EXPECT_EQ(Lines()[1][0], 'R');

  // Ignore: the whole file goes before this run registers.
  s.ReadOnly = false;
  UsersFile({kOther});
  t.dialogs.Expect(kAsk1160, MsgIcon::Warning, kYesIgnoreHelp, 1160, MsgButton::Ignore);
  CheckUsersAtStart(s, "");
  EXPECT_FALSE(s.ReadOnly);
  EXPECT_FALSE(FileExists(s.common.UsersPath));
  EXPECT_TRUE(Logged("QZ1160 IGNORED 2ND USER: " + kOther));

  // LAN mode, or another reader: no question.
  UsersFile({kOtherReading});
  CheckUsersAtStart(s, "");
  s.common.CloudData = false;
  UsersFile({kOther});
  CheckUsersAtStart(s, "");
  EXPECT_EQ(Lines(), std::vector<std::string>{kOther});
  EXPECT_EQ(t.dialogs.beeps, 2);
}

TEST_F(Users, AnotherWriterKeepsTheModeFromBeingForced) {
  UsersFile({kOther});
  s.ForcedMode = 'C';
  t.dialogs.Expect("Error 1180 Another user active - cannot change mode", MsgIcon::Error,
                   MsgButton::Abort | MsgButton::Help, 1180, MsgButton::Abort);
  EXPECT_THROW(CheckUsersAtStart(s, ""), ProcessExit);
  EXPECT_TRUE(Logged("QZ1180 FORCE C INVALID-2ND USER: " + kOther));
  EXPECT_FALSE(s.common.CloudData);

  UsersFile({kOtherReading});
  CheckUsersAtStart(s, "");
  EXPECT_TRUE(s.common.CloudData);  // a reader does not stand in the way
  EXPECT_TRUE(Logged("FORCE MODE CHANGE TO C"));
  EXPECT_NE(t.dir.Read("root/Cotlyn.ini").find("CloudData=1"), std::string::npos);
}

TEST_F(Users, AConflictedCopyIsReportedInCloudMode) {
  s.common.CloudData = true;
  t.dir.Write("root/$users (otherpc's conflicted copy).txt", kOther + "\r\n");
  const std::string ask =
      "QZ1170 Another user active\rConflicted copy of User Control File found, name=$users (otherpc's conflicted "
      "copy).txt\rYou are advised to abort and ensure no other users are active\r(If you are sure a second user is "
      "NOT ACTIVE click ignore; conflict will be deleted)";
  const MsgButtons buttons = MsgButton::Abort | MsgButton::Ignore | MsgButton::Help;
  t.dialogs.Expect(ask, MsgIcon::Warning, buttons, 1170, MsgButton::Abort);
  EXPECT_THROW(CheckUsersAtStart(s, ""), ProcessExit);
  t.dialogs.Expect(ask, MsgIcon::Warning, buttons, 1170, MsgButton::Ignore);
  CheckUsersAtStart(s, "");
  EXPECT_EQ(ConflictedCopy(s), "");
  EXPECT_TRUE(Logged("QZ1170 Delete conflicted copy $users (otherpc's conflicted copy).txt"));

  // While running, a new copy is reported and left.
  t.dir.Write("root/$users-2.txt", "");
  t.dialogs.Expect(
      "QZ1170 Another user active\rConflicted copy of User Control File found, name=$users-2.txt\rProbable reason - "
      "2nd user active\rYou are strongly advised to ABORT to prevent data loss",
      MsgIcon::Error, buttons, 1170, MsgButton::Ignore);
  EXPECT_FALSE(RefreshFindsConflict(s));
  EXPECT_NE(ConflictedCopy(s), "");
  t.dialogs.VerifyAllShown();
}

TEST_F(Users, TheModeFollowsWhereThisComputerIs) {
  struct Case {
    const char* ip;
    bool cloud;
    char forced;
    const char* question;  // "" none
    MsgButton answer;
    bool cloudAfter;
  } cases[] = {
      {"192.168.1.20", false, 'C', "", MsgButton::None, true},  // away, forced Cloud
      {"192.168.1.20", true, 'L', "QZ1200 Change to LAN Mode?  You don't appear to be on your LAN\rAre you sure?",
       MsgButton::Yes, false},
      {"10.0.0.7", true, ' ', "QZ1190 On LAN - starting in Cloud mode\rAre you sure?\r", MsgButton::Yes, true},
      {"10.0.0.7", true, 'L', "", MsgButton::None, false},
      {"10.0.0.7", false, 'C', "QZ1190 On LAN - starting in Cloud mode\rAre you sure?\r", MsgButton::Yes, true},
      {"10.0.0.7", false, ' ', "", MsgButton::None, false},
  };
  s.common.IP = "10.0.";
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.ip << " cloud=" << c.cloud << " forced=" << c.forced);
    s.common.CloudData = c.cloud;
    s.ForcedMode = c.forced;
    const int code = std::string(c.question).substr(0, 6) == "QZ1200" ? 1200 : 1190;
    if (*c.question)
      t.dialogs.Expect(c.question, MsgIcon::Warning, MsgButton::Yes | MsgButton::Abort | MsgButton::Help, code,
                       c.answer);
    CheckUsersAtStart(s, c.ip);
    t.dialogs.VerifyAllShown();
    EXPECT_EQ(s.common.CloudData, c.cloudAfter);
  }
  s.common.CloudData = true;
  s.ForcedMode = ' ';
  t.dialogs.Expect("QZ1190 On LAN - starting in Cloud mode\rAre you sure?\r", MsgIcon::Warning,
                   MsgButton::Yes | MsgButton::Abort | MsgButton::Help, 1190, MsgButton::Abort);
  EXPECT_THROW(CheckUsersAtStart(s, "10.0.0.7"), ProcessExit);
  EXPECT_TRUE(Logged("QZ1190 USER ABORT. On LAN but force= "));
}

// Two windows of one installation each keep their own line: the other's is no leftover
// while its copy runs, and a close takes exactly the line the copy wrote.
TEST_F(Users, AnotherWindowOfThisInstallationIsNoLeftover) {
  s.common.CloudData = true;
  RegisterUser(s);  // the first window
  const std::string first = " 261209 10:30:00 testpc;tester;K123";
  auto window = [this](double hour) {
    auto w = std::make_unique<TestSession>(EncodeDate(2026, 12, 9) + hour / 24);
    w->JoinRoot(t);
    w->session.UserKey = "K123";
    w->session.common.CloudData = true;
    w->session.common.TempFolder = s.common.TempFolder;  // the same user's own folder
    return w;
  };
  auto second = window(11);
  CheckUsersAtStart(second->session, "");  // no QZ1210, and no question about its own window
  EXPECT_FALSE(second->session.ReadOnly);
  RegisterUser(second->session);
  const std::string secondLine = " 261209 11:00:00 testpc;tester;K123";
  EXPECT_EQ(Lines(), (std::vector<std::string>{first, secondLine}));
  EXPECT_FALSE(Logged("QZ1210"));

  UnregisterUser(second->session);  // its own line, not the first of this user
  EXPECT_EQ(Lines(), std::vector<std::string>{first});

  // The first window is killed: its mark goes with it, and its line is a leftover.
  s.UserMark.Release();
  auto third = window(12);
  CheckUsersAtStart(third->session, "");
  EXPECT_TRUE(Logged("QZ1210 Delete duplicate user: " + first));
  EXPECT_FALSE(FileExists(s.common.UsersPath));
}

// Two lines of one computer and user are two windows: a close takes exactly the line
// its copy wrote, and a copy that wrote none takes none.
TEST_F(Users, CloseRemovesOnlyTheLineThisCopyWrote) {
  UnregisterUser(s);
  EXPECT_TRUE(Logged("ERROR-CLOSE. No $user file."));
  const std::string second = " 261209 09:00:00 testpc;tester;K123";
  UsersFile({kOther, kMineStale, second});
  UnregisterUser(s);  // this copy wrote no line
  EXPECT_EQ(Lines(), (std::vector<std::string>{kOther, kMineStale, second}));
  s.UserLine = second;
  UnregisterUser(s);
  EXPECT_EQ(Lines(), (std::vector<std::string>{kOther, kMineStale}));
  EXPECT_EQ(UsersText(s), "Mode = LAN\r---Active Users---\r1 anne\r2 tester (SELF)");
  UsersFile({second});
  s.UserLine = second;
  UnregisterUser(s);
  EXPECT_FALSE(FileExists(s.common.UsersPath));
  EXPECT_EQ(UsersText(s), "Mode = LAN\r---Active Users---\rNo users found");
}

TEST_F(Users, RefreshRereadsChangedBookingsUnlessAWindowEdits) {
  ForceDirectories(t.Root() + "Prop 1/Data");
  const std::string file = t.Root() + "Prop 1/Data/Bookings.bks";
  WriteWholeFile(file, BookingFileImage({MakeBooking(EncodeDate(2027, 1, 2), 7, "Adams")}));
  s.CurrentProperty = 1;
  s.SeasonYear = {2026, 2027};
  EXPECT_TRUE(RefreshFromOtherUsers(s));
  EXPECT_TRUE(Logged("REFRESH P=1"));
  EXPECT_FALSE(RefreshFromOtherUsers(s));  // nothing new
  WriteWholeFile(file, BookingFileImage({MakeBooking(EncodeDate(2027, 1, 9), 7, "Brown")}));
  s.Prop(1).BookFileAge = 0;  // as if the file time moved on
  s.BookFormOpen = true;
  EXPECT_FALSE(RefreshFromOtherUsers(s));
  s.BookFormOpen = false;
  EXPECT_TRUE(RefreshFromOtherUsers(s));
  EXPECT_EQ(s.Prop(1).Bookings.First()->Rec.Surname, "Brown");
}

}  // namespace
}  // namespace tb::test

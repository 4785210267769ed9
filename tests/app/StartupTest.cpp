#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "app/Startup.h"
#include "platform/FileSystem.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

class Startup : public ::testing::Test {
 protected:
  Startup() {
    env.dataFolder = t.dir.Path() + "data/";
    env.programPath = "/opt/cotlyn/Cotlyn";
    env.version = "4.4";
    env.fullVersion = "4.4.0.1 09/12/2026 08:00:00";
    env.os = {6, 1, 0};
    env.computerName = "testpc";
    env.userName = "tester";
    env.ipAddress = "192.168.1.20";
  }
  // Runs start-up with the arguments; true when it went through.
  bool Start(std::vector<std::string> args) {
    env.args = std::move(args);
    try {
      PrepareSession(t.session, env);
      return true;
    } catch (const ProcessExit& e) {
      EXPECT_EQ(e.code, 1220);
      return false;
    }
  }
  void ExpectError(const std::string& text, int help) {
    t.dialogs.Expect(text, MsgIcon::Error, MsgButton::Abort | MsgButton::Help, help, MsgButton::Abort);
  }

  TestSession t;
  Session& s = t.session;
  StartupEnvironment env;
};

TEST_F(Startup, CodedErrorsEndTheRunAndWriteNothing) {
  ExpectError("Error 1110 Root folder not set. Reinstall? See Help", 1110);
  EXPECT_FALSE(Start({}));
  t.dialogs.VerifyAllShown();

  const std::string missing = t.dir.Path() + "nothere/";
  ExpectError("Error 1010: No Root Folder = " + missing + "\rRead Help", 1010);
  EXPECT_FALSE(Start({missing}));
  EXPECT_EQ(t.dialogs.beeps, 1);
  t.dialogs.VerifyAllShown();

  ExpectError("Error 1120 Settings file not found: " + t.Root() + "Cotlyn.ini\rRead help", 1120);
  EXPECT_FALSE(Start({t.Root()}));
  t.dialogs.VerifyAllShown();

  t.WriteSettings(SimpleSettings(2));
  for (std::vector<std::string> args : {std::vector<std::string>{"-C", "-L", t.Root()},
                                        {"-Z", t.Root()},
                                        {"No Such Place", t.Root()},
                                        {"-A", "Prop 2", t.Root()}}) {
    ExpectError("Error 1130 Invalid Parameters", 1130);
    EXPECT_FALSE(Start(args)) << args[0];
    t.dialogs.VerifyAllShown();
  }
  EXPECT_FALSE(FileExists(t.Root() + "Cotlyn.log"));
  EXPECT_EQ(t.runner.calls.size(), 0u);
}

TEST_F(Startup, RootFolderFromLocalIni) {
  t.WriteSettings(SimpleSettings(1));
  t.dir.Write("data/Local.ini", "[Common]\r\nRootFolder=" + t.Root() + "\r\nID=01/02/2026\r\n");
  ASSERT_TRUE(Start({}));
  EXPECT_EQ(s.common.RootFolder, t.Root());
  EXPECT_FALSE(s.RootFromCommandLine);
  EXPECT_EQ(s.InstallDate, "01/02/2026");
  EXPECT_FALSE(s.UserKey.empty());
  EXPECT_EQ(s.UserKey.find(';'), std::string::npos);
  // The key is kept: the next start of this installation has the same one.
  const std::string key = s.UserKey;
  ASSERT_TRUE(Start({}));
  EXPECT_EQ(s.UserKey, key);
}

TEST_F(Startup, VersionMismatchAsksAndOnlyIgnoreContinues) {
  const std::string warning43 =
      "Warning: Version number mismatch\rInstalled version = 4.4  Version in settings = 4.3\r"
      "If you migrated machines, ensure the same version is installed on both\r"
      "IGNORE will continue but data may be incompatible";
  const MsgButtons buttons = MsgButton::Abort | MsgButton::Ignore | MsgButton::Help;
  t.WriteSettings("[Common]\nver=V4.3\nNumProps=1\n[Prop01]\nPropName=A\n");
  t.dialogs.Expect(warning43, MsgIcon::Error, buttons, 1050, MsgButton::Ignore);
  EXPECT_TRUE(Start({t.Root()}));
  t.dialogs.Expect(warning43, MsgIcon::Error, buttons, 1050, MsgButton::Abort);
  EXPECT_FALSE(Start({t.Root()}));
  t.dialogs.VerifyAllShown();

  t.WriteSettings("[Common]\nNumProps=1\n[Prop01]\nPropName=A\n");  // no "ver": always warns
  t.dialogs.Expect(
      "Warning: Version number mismatch\rInstalled version = 4.4  Version in settings = \r"
      "If you migrated machines, ensure the same version is installed on both\r"
      "IGNORE will continue but data may be incompatible",
      MsgIcon::Error, buttons, 1050, MsgButton::Ignore);
  EXPECT_TRUE(Start({t.Root()}));
}

TEST_F(Startup, PropertyOnShow) {
  t.WriteSettings("[Common]\nver=V4.4\nNumProps=3\n[Prop01]\nPropName=A\n[Prop02]\nPropName=Twin\n"
                  "[Prop03]\nPropName=Twin\n");
  ASSERT_TRUE(Start({t.Root()}));
  EXPECT_EQ(s.CurrentProperty, 1);
  EXPECT_EQ(s.AppState, ' ');
  ASSERT_TRUE(Start({"Twin", t.Root()}));
  EXPECT_EQ(s.CurrentProperty, 3);  // a later duplicate name wins

  t.WriteSettings("[Common]\nver=V4.4\nViewMode=M\nNumProps=2\n[Prop01]\nPropName=A\n[Prop02]\nPropName=B\n");
  ASSERT_TRUE(Start({"Nowhere", t.Root()}));  // a name is ignored in "M"
  EXPECT_EQ(s.CurrentProperty, 0);
}

TEST_F(Startup, OpenAllStartsACopyPerOtherProperty) {
  t.WriteSettings("[Common]\nver=V4.4\nNumProps=4\n[Prop01]\nPropName=A\n[Prop02]\nPropName=Ruza Rorazed\n"
                  "[Prop03]\nPropName=C c\n[Prop04]\nPropName=D\n");
  ASSERT_TRUE(Start({"-A", t.Root()}));
  EXPECT_EQ(s.CurrentProperty, 1);
  ASSERT_EQ(t.runner.calls.size(), 2u);
  EXPECT_EQ(t.runner.calls[0].program, "/opt/cotlyn/Cotlyn");
  EXPECT_EQ(t.runner.calls[0].args, (std::vector<std::string>{"C c", t.Root()}));
  EXPECT_FALSE(t.runner.calls[0].wait);
  EXPECT_EQ(t.runner.calls[1].args[0], "D");
}

// Copies for the other properties run as this run was asked to: read-only, in the
// forced mode, on the same settings file.
TEST_F(Startup, CopiesForOtherPropertiesGetThisRunsSwitches) {
  t.dir.Write("root/Other.ini", "[Common]\r\nver=V4.4\r\nNumProps=2\r\n[Prop01]\r\nPropName=A\r\n"
                                "[Prop02]\r\nPropName=B b\r\n");
  ASSERT_TRUE(Start({"-A", "-R", "-C", "-S=Other.ini", t.Root()}));
  ASSERT_EQ(t.runner.calls.size(), 1u);
  EXPECT_EQ(t.runner.calls[0].args, (std::vector<std::string>{"B b", "-R", "-C", "-S=Other.ini", t.Root()}));
  EXPECT_EQ(PropertyCopyArgs(s, 1), (std::vector<std::string>{"A", "-R", "-C", "-S=Other.ini", t.Root()}));
}

// Paths given relative to the working folder name the same files as absolute ones.
TEST_F(Startup, RelativePathsFindTheirProperty) {
  t.WriteSettings("[Common]\nver=V4.4\nNumProps=2\n[Prop01]\nPropName=A\n[Prop02]\nPropName=B\nExtChg1=Fuel\n");
  t.dir.Write("root/B/Data/Bookings.bks", std::string(200, '\0'));
  char* cwd = ::getcwd(nullptr, 0);
  const std::string here = cwd;
  std::free(cwd);
  ASSERT_EQ(::chdir(t.dir.Path().c_str()), 0);
  const bool started = Start({"root/B/Data/Bookings.bks", "root/"});
  ASSERT_EQ(::chdir(here.c_str()), 0);
  ASSERT_TRUE(started);
  EXPECT_EQ(s.common.RootFolder, t.Root());
  EXPECT_EQ(s.DirectFile, t.Root() + "B/Data/Bookings.bks");
  EXPECT_EQ(s.CurrentProperty, 2);  // the live file of property 2 ...
  EXPECT_EQ(s.Prop(0).PropName, "B");  // ... edited with its own settings, not property 1's
  EXPECT_EQ(s.Prop(0).FuelChg, 1);
  // A detour through ".." still lands in the property.
  ForceDirectories(t.Root() + "A");
  ASSERT_TRUE(Start({t.Root() + "A/../B/Data/Bookings.bks", t.Root()}));
  EXPECT_EQ(s.CurrentProperty, 2);
}

// The single-instance check finds the window a start would show however its command
// line is written.
TEST_F(Startup, TheInstanceKeyDoesNotDependOnTheOrderOfParameters) {
  t.WriteSettings("[Common]\nver=V4.4\nNumProps=2\n[Prop01]\nPropName=A\n[Prop02]\nPropName=B\n");
  const std::string b = InstanceKey(t.Root(), "B");
  EXPECT_EQ(StartInstanceKey({t.Root(), "B"}, ""), b);
  EXPECT_EQ(StartInstanceKey({"B", t.Root()}, ""), b);
  EXPECT_EQ(StartInstanceKey({"-R", "B"}, t.Root()), b);  // the root from Local.ini
  EXPECT_EQ(StartInstanceKey({t.Root() + "./"}, ""), InstanceKey(t.Root(), "A"));  // property 1
  EXPECT_NE(StartInstanceKey({"B", t.dir.Path()}, ""), b);  // another root folder
  t.WriteSettings("[Common]\nver=V4.4\nViewMode=M\nNumProps=2\n[Prop01]\nPropName=A\n[Prop02]\nPropName=B\n");
  EXPECT_EQ(StartInstanceKey({"B", t.Root()}, ""), InstanceKey(t.Root(), "Cotlyn 4.4"));
}

TEST_F(Startup, SeasonYearStartsLastYearUntilApril) {
  t.WriteSettings(SimpleSettings(1));
  const struct {
    TDateTime today;
    int first;
  } cases[] = {{EncodeDate(2027, 1, 10), 2026}, {EncodeDate(2027, 3, 31), 2026}, {EncodeDate(2027, 4, 1), 2027}};
  for (const auto& c : cases) {
    t.clock.Set(c.today);
    ASSERT_TRUE(Start({t.Root()}));
    EXPECT_EQ(s.SeasonYear[0], c.first);
    EXPECT_EQ(s.SeasonYear[1], c.first + 1);
  }
}

TEST_F(Startup, BookingFileModeSetsUpEntryZero) {
  t.WriteSettings("[Common]\nver=V4.4\nNumProps=2\n[Prop01]\nPropName=A\nChangeDay=6\n"
                  "[Prop02]\nPropName=B\nChangeDay=1\nExtChg1=Fuel\n");
  const std::string archive = t.dir.Write("root/B/Archive/Archive2019.bks", std::string(200, '\0'));
  t.dir.Write("root/B/Data/Bookings.bks", std::string(200, '\0'));
  ASSERT_TRUE(Start({t.Root() + "B/Archive/Arch*.bks", t.Root()}));
  EXPECT_EQ(s.AppState, 'F');
  EXPECT_EQ(s.CurrentProperty, 0);
  EXPECT_EQ(s.DirectFile, archive);
  EXPECT_EQ(s.Prop(0).PropName, "B");  // that property's settings
  EXPECT_EQ(s.Prop(0).ChangeDay, 1);
  EXPECT_EQ(s.Prop(0).FuelChg, 1);

  ASSERT_TRUE(Start({t.Root() + "B/Data/Bookings.bks", t.Root()}));
  EXPECT_EQ(s.CurrentProperty, 2);  // the live file of property 2

  s.Prop(0) = Prop_Rec{};
  const std::string elsewhere = t.dir.Write("elsewhere/Old.bks", std::string(200, '\0'));
  ASSERT_TRUE(Start({elsewhere, t.Root()}));
  EXPECT_EQ(s.CurrentProperty, 0);
  EXPECT_EQ(s.Prop(0).PropName, "");  // property 1's settings without its name
  EXPECT_EQ(s.Prop(0).PropNo, 0);
  EXPECT_EQ(s.Prop(0).Folder, "");
  EXPECT_EQ(s.Prop(0).ChangeDay, 6);

  t.dialogs.Expect("L03 " + t.Root() + "none*.bks not found", MsgIcon::Error, MsgButton::Abort, 0, MsgButton::Abort);
  EXPECT_FALSE(Start({t.Root() + "none*.bks", t.Root()}));
}

TEST_F(Startup, StartLine) {
  t.WriteSettings(SimpleSettings(2));
  ASSERT_TRUE(Start({"Prop 2", t.Root(), "-R"}));
  EXPECT_EQ(StartLine(s, env), "START Mode=C P=2 Ver=4.4.0.1 09/12/2026 08:00:00 WinVer=6.01.0 Root=" + t.Root() +
                                   " S:" + s.UserKey + " LAN 192.168.1.20 ReadOnly");
  t.dir.Write("root/Cotlyn.log", std::string(300001, 'x'));
  LogStart(s, env);  // a read-only run does not rotate
  EXPECT_GT(FileSizeOf(t.Root() + "Cotlyn.log"), 300001);
}

}  // namespace
}  // namespace tb::test

// The real program on a root folder, as a user or a script starts it, with message
// boxes written to stderr instead of shown.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdlib>

#include "platform/FileSystem.h"
#include "support/Builders.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

namespace tb::test {
namespace {

// Linux keeps the low 8 bits of an exit code: the program's 1220 arrives as 196.
constexpr int kExitStatus1220 = 1220 & 0xFF;

class CotlynProcess : public ::testing::Test {
 protected:
  CotlynProcess() {
    ForceDirectories(dir.Path() + "config");
    ForceDirectories(dir.Path() + "tmp");
    ForceDirectories(Root());
    for (const char* name : {"Bramble", "Heron"}) ForceDirectories(Root() + name + "/Data");
  }
  std::string Root() const { return dir.Path() + "root/"; }
  std::vector<std::string> Env(const std::string& answers = "") const {
    // No runtime folder: the private temporary folder is then the test's own, under TMPDIR.
    return {"COTLYN_NONINTERACTIVE=1", "COTLYN_ANSWERS=" + answers, "XDG_CONFIG_HOME=" + dir.Path() + "config",
            "TMPDIR=" + dir.Path() + "tmp", "QT_QPA_PLATFORM=offscreen", "XDG_RUNTIME_DIR="};
  }
  void WriteSettings(const std::string& ver, const std::string& common = "") {
    dir.Write("root/Cotlyn.ini", "[Common]\r\nver=" + ver + "\r\nSplash=0\r\n" + common +
                                     "NumProps=2\r\n[Prop01]\r\nPropName=Bramble\r\n[Prop02]\r\n"
                                     "PropName=Heron\r\n");
  }
  std::string Log() const { return dir.Read("root/Cotlyn.log"); }
  bool Logged(const std::string& text, int times = 1) {
    return WaitUntil([&]() {
      int found = 0;
      const std::string log = Log();
      for (size_t pos = log.find(text); pos != std::string::npos; pos = log.find(text, pos + 1)) ++found;
      return found >= times;
    });
  }
  std::vector<std::string> UserLines() const {
    std::vector<std::string> lines;
    const std::string text = dir.Read("root/$users.txt");
    for (size_t pos = 0, end; pos < text.size(); pos = end + 2) {
      end = text.find("\r\n", pos);
      if (end == std::string::npos) end = text.size();
      lines.push_back(text.substr(pos, end - pos));
    }
    return lines;
  }
  // Starts Cotlyn and waits for its start line; then ends it.
  std::string StartAndReadLog(std::vector<std::string> args, const std::string& answers = "") {
    ChildProcess p(ProgramPath("Cotlyn"), std::move(args), Env(answers));
    EXPECT_TRUE(p.Start());
    const std::string log = Root() + "Cotlyn.log";
    const bool started = WaitUntil([&]() { return dir.Read("root/Cotlyn.log").find("START") != std::string::npos; });
    p.Kill(SIGKILL);
    p.Wait();
    EXPECT_TRUE(started) << p.Errors();
    return dir.Read("root/Cotlyn.log");
  }
  TempDir dir;
};

TEST_F(CotlynProcess, StartupErrorsExit1220WithTheExactBox) {
  struct Case {
    std::vector<std::string> args;
    std::string line;
  };
  WriteSettings("V4.4");
  const std::string missing = dir.Path() + "none/";
  const Case cases[] = {
      {{}, "[Error] Error 1110 Root folder not set. Reinstall? See Help {Abort,Help} help=1110 -> Abort"},
      {{missing}, "[Error] Error 1010: No Root Folder = " + missing + "\\rRead Help {Abort,Help} help=1010 -> Abort"},
      {{"-S=Other.ini", Root()},
       "[Error] Error 1120 Settings file not found: " + Root() + "Other.ini\\rRead help {Abort,Help} help=1120 -> Abort"},
      {{"-C", "-L", Root()}, "[Error] Error 1130 Invalid Parameters {Abort,Help} help=1130 -> Abort"},
  };
  for (const Case& c : cases) {
    ChildProcess p = ChildProcess::Run(ProgramPath("Cotlyn"), c.args, Env());
    EXPECT_EQ(p.exitCode, kExitStatus1220) << c.line << "\n" << p.Errors();
    EXPECT_NE(p.Errors().find(c.line + "\n"), std::string::npos) << p.Errors();
  }
  EXPECT_FALSE(FileExists(Root() + "Cotlyn.log"));  // nothing written
}

TEST_F(CotlynProcess, VersionMismatchAbortsUnlessIgnored) {
  WriteSettings("V4.3");
  ChildProcess p = ChildProcess::Run(ProgramPath("Cotlyn"), {Root()}, Env());
  EXPECT_EQ(p.exitCode, kExitStatus1220);
  EXPECT_NE(p.Errors().find("[Error] Warning: Version number mismatch\\rInstalled version = 4.4  Version in "
                            "settings = 4.3\\r"),
            std::string::npos)
      << p.Errors();
  EXPECT_NE(p.Errors().find("{Abort,Ignore,Help} help=1050 -> Abort"), std::string::npos);

  const std::string log = StartAndReadLog({Root()}, "Ignore");
  EXPECT_NE(log.find("START Mode=C P=1"), std::string::npos);
}

TEST_F(CotlynProcess, NormalStartWritesTheStartLine) {
  WriteSettings("V4.4");
  const std::string log = StartAndReadLog({"Heron", Root()});
  // "yymmdd hh:nn:ss.zzz user computer START ..." and nothing else.
  ASSERT_GT(log.size(), 20u);
  EXPECT_EQ(log.find_first_not_of("0123456789"), 6u) << log;
  EXPECT_EQ(log.substr(6, 1) + log.substr(9, 1) + log.substr(12, 1) + log.substr(15, 1) + log.substr(19, 1), " ::. ");
  EXPECT_NE(log.find(" START Mode=C P=2 Ver=4.4.0.1 "), std::string::npos) << log;
  const size_t winVer = log.find(" WinVer=");
  const size_t root = log.find(" Root=" + Root() + " S:K");
  ASSERT_NE(winVer, std::string::npos);
  ASSERT_NE(root, std::string::npos) << log;
  EXPECT_LT(winVer, root);
  EXPECT_NE(log.find(" LAN ", root), std::string::npos);
  EXPECT_EQ(log.find("\r\n"), log.size() - 2);  // one line
}

// Start-up measurements: the program says when its chart is first painted and then
// closes as a user would, so the next measured start finds the root as before.
TEST_F(CotlynProcess, FirstPaintIsReportedAndTheRunClosesInOrder) {
  for (const char* view : {"C", "M"}) {
    WriteSettings("V4.4", std::string("ViewMode=") + view + "\r\n");
    std::vector<std::string> env = Env();
    env.push_back("COTLYN_FIRST_PAINT=1");
    const ChildProcess p = ChildProcess::Run(ProgramPath("Cotlyn"), {Root()}, env);
    EXPECT_EQ(p.exitCode, 0) << view << " " << p.Errors();
    EXPECT_EQ(p.Output(), "first paint\n") << view;
    EXPECT_EQ(("\n" + p.Errors()).find("\n["), std::string::npos) << view << ": no message box " << p.Errors();
    const std::string log = Log();
    const size_t start = log.rfind(std::string(" START Mode=") + view);
    ASSERT_NE(start, std::string::npos) << log;
    EXPECT_NE(log.find(" CLOSE\r\n", start), std::string::npos) << log;
    EXPECT_TRUE(UserLines().empty()) << dir.Read("root/$users.txt");
  }
}

TEST_F(CotlynProcess, ASecondStartWithTheSameTitleLeavesTheFirstRunning) {
  WriteSettings("V4.4");
  ChildProcess first(ProgramPath("Cotlyn"), {"Heron", Root()}, Env());
  ASSERT_TRUE(first.Start());
  ASSERT_TRUE(WaitUntil([&]() { return dir.Read("root/Cotlyn.log").find("START") != std::string::npos; }));
  ChildProcess second = ChildProcess::Run(ProgramPath("Cotlyn"), {"Heron", Root()}, Env(), 30);
  EXPECT_EQ(second.exitCode, 0) << second.Errors();
  // Another property is another window: that one starts.
  ChildProcess other(ProgramPath("Cotlyn"), {"Bramble", Root()}, Env());
  ASSERT_TRUE(other.Start());
  EXPECT_TRUE(WaitUntil([&]() { return dir.Read("root/Cotlyn.log").find("START Mode=C P=1") != std::string::npos; }));
  other.Kill(SIGKILL);
  first.Kill(SIGKILL);
  other.Wait();
  first.Wait();
  const std::string log = dir.Read("root/Cotlyn.log");
  EXPECT_EQ(log.find("START Mode=C P=2"), log.rfind("START Mode=C P=2"));  // started once
}

// However its command line is written, a start for a window that is open brings that
// window forward and starts nothing.
TEST_F(CotlynProcess, ASecondStartFindsTheWindowWhateverTheOrderOfItsParameters) {
  WriteSettings("V4.4");
  ChildProcess first(ProgramPath("Cotlyn"), {Root(), "Bramble"}, Env());
  ASSERT_TRUE(first.Start());
  ASSERT_TRUE(Logged("START Mode=C P=1"));
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"Bramble", Root()}, {Root()}, {"-R", Root() + "./", "Bramble"}}) {
    ChildProcess again = ChildProcess::Run(ProgramPath("Cotlyn"), args, Env(), 30);
    EXPECT_EQ(again.exitCode, 0) << again.Errors();
  }
  // "-A" still starts the other properties, although property 1 is open.
  ChildProcess all = ChildProcess::Run(ProgramPath("Cotlyn"), {"-A", Root()}, Env(), 30);
  EXPECT_EQ(all.exitCode, 0) << all.Errors();
  EXPECT_TRUE(Logged("START Mode=C P=2"));
  first.Kill(SIGKILL);
  first.Wait();
  std::system(("pkill -9 -f '" + Root() + "'").c_str());  // the copy "-A" started
  const std::string log = Log();
  EXPECT_EQ(log.find("START Mode=C P=1"), log.rfind("START Mode=C P=1")) << log;  // started once
}

// Every property's live file is "Bookings.bks": two of them are two windows.
TEST_F(CotlynProcess, BookingFilesOfTwoPropertiesAreTwoWindows) {
  WriteSettings("V4.4");
  for (const char* name : {"Bramble", "Heron"})
    dir.Write(std::string("root/") + name + "/Data/Bookings.bks",
              BookingFileImage({MakeBooking(EncodeDate(2040, 6, 2), 7, "Adams")}));
  ChildProcess first(ProgramPath("Cotlyn"), {Root() + "Bramble/Data/Bookings.bks", Root()}, Env());
  ChildProcess second(ProgramPath("Cotlyn"), {Root() + "Heron/Data/Bookings.bks", Root()}, Env());
  ASSERT_TRUE(first.Start());
  ASSERT_TRUE(Logged("START Mode=F"));
  ASSERT_TRUE(second.Start());
  EXPECT_TRUE(Logged("START Mode=F", 2)) << Log();
  // The same file again finds its window.
  ChildProcess again = ChildProcess::Run(ProgramPath("Cotlyn"), {Root() + "Heron/Data/../Data/Bookings.bks", Root()},
                                         Env(), 30);
  EXPECT_EQ(again.exitCode, 0) << again.Errors();
  first.Kill(SIGKILL);
  second.Kill(SIGKILL);
  first.Wait();
  second.Wait();
  const std::string log = Log();
  size_t starts = 0;
  for (size_t at = log.find("START Mode=F"); at != std::string::npos; at = log.find("START Mode=F", at + 1)) ++starts;
  EXPECT_EQ(starts, 2u) << log;
}

// Two windows of one installation (two properties, one user) each keep their own line
// in the user control file; a killed one's line goes at the next start, the live one's
// stays, and neither is asked about the other, in Cloud mode too.
TEST_F(CotlynProcess, TwoWindowsOfOneInstallationKeepTheirOwnLines) {
  WriteSettings("V4.4", "CloudData=1\r\n");
  ChildProcess heron(ProgramPath("Cotlyn"), {"Heron", Root()}, Env());
  ASSERT_TRUE(heron.Start());
  ASSERT_TRUE(WaitUntil([&]() { return UserLines().size() == 1; }));
  const std::string heronLine = UserLines()[0];
  ChildProcess bramble(ProgramPath("Cotlyn"), {"Bramble", Root()}, Env());
  ASSERT_TRUE(bramble.Start());
  ASSERT_TRUE(Logged("START Mode=C", 2));
  EXPECT_TRUE(WaitUntil([&]() { return UserLines().size() == 2; })) << dir.Read("root/$users.txt");
  EXPECT_EQ(Log().find("QZ1210"), std::string::npos) << Log();

  heron.Kill(SIGKILL);
  heron.Wait();
  ChildProcess again(ProgramPath("Cotlyn"), {"Heron", Root()}, Env());
  ASSERT_TRUE(again.Start());
  EXPECT_TRUE(Logged("QZ1210 Delete duplicate user: " + heronLine)) << Log();
  EXPECT_TRUE(Logged("START Mode=C", 3));
  EXPECT_TRUE(WaitUntil([&]() { return UserLines().size() == 2; })) << dir.Read("root/$users.txt");
  EXPECT_EQ(Log().find("QZ1210"), Log().rfind("QZ1210"));  // Bramble's line stayed
  again.Kill(SIGKILL);
  bramble.Kill(SIGKILL);
  again.Wait();
  bramble.Wait();
  for (const ChildProcess* p : {&heron, &bramble, &again})
    EXPECT_EQ(p->Errors().find("["), std::string::npos) << p->Errors();  // nothing asked
}

TEST_F(CotlynProcess, ASecondUserSeesABookingBeingEditedReadOnly) {
  WriteSettings("V4.4");
  // A booking far enough ahead never to be in the past.
  const TDateTime start = EncodeDate(2040, 6, 2);
  dir.Write("root/Bramble/Data/Bookings.bks", BookingFileImage({MakeBooking(start, 7, "Adams")}));
  const std::string open = "COTLYN_OPEN_BOOKING=1,2040-06-04";
  std::vector<std::string> firstEnv = Env();
  firstEnv.push_back(open);
  ChildProcess first(ProgramPath("Cotlyn"), {"Bramble", Root()}, firstEnv);
  ASSERT_TRUE(first.Start());
  const auto logged = [&](const std::string& line) {
    return WaitUntil([&]() { return dir.Read("root/Cotlyn.log").find(line) != std::string::npos; });
  };
  EXPECT_TRUE(logged("OPENBOOKING P=1 SD=400604\r\n"));

  // Another user (another machine: its own single-instance folder) opens the same booking.
  ForceDirectories(dir.Path() + "tmp2");
  std::vector<std::string> secondEnv = Env();
  secondEnv[3] = "TMPDIR=" + dir.Path() + "tmp2";
  secondEnv.push_back(open);
  ChildProcess second(ProgramPath("Cotlyn"), {"Bramble", Root()}, secondEnv);
  ASSERT_TRUE(second.Start());
  EXPECT_TRUE(logged("OPENBOOKING P=1 SD=400604 Readonly\r\n"));
  second.Kill(SIGKILL);
  first.Kill(SIGKILL);
  second.Wait();
  first.Wait();
  EXPECT_EQ(second.Errors().find("["), std::string::npos) << second.Errors();  // no message box
}

// F10 in the booking window, Enter on the letter window's first row: the letter is made
// and the word processor started on it, its path one argument however it is spelt.
TEST_F(CotlynProcess, ALetterOpensInTheConfiguredWordProcessor) {
  ForceDirectories(dir.Path() + "word proc");
  const std::string stub = dir.Path() + "word proc/writer's \"stub\"";
  const std::string got = dir.Path() + "got.txt";
  dir.Write("word proc/writer's \"stub\"", "#!/bin/sh\nprintf '%s|' \"$#\" \"$@\" > \"" + got + ".part\"\nmv \"" + got +
                                                ".part\" \"" + got + "\"\n");
  ASSERT_EQ(chmod(stub.c_str(), 0755), 0);
  WriteSettings("V4.4", "NLetters=1\r\nL1-Desc=Confirmation\r\nWordProc=" + stub + "\r\n");
  ForceDirectories(Root() + "Bramble/Letters");
  dir.Write("root/Prof-L1.rtf", "{\\rtf1 Dear <!Salutation>}");
  dir.Write("root/Bramble/Data/Bookings.bks", BookingFileImage({MakeBooking(EncodeDate(2040, 6, 2), 7, "O'Hara $x")}));
  std::vector<std::string> env = Env();
  env.push_back("COTLYN_OPEN_BOOKING=1,2040-06-04");
  env.push_back("COTLYN_KEYS=F10,Return");
  ChildProcess cotlyn(ProgramPath("Cotlyn"), {"Bramble", Root()}, env);
  ASSERT_TRUE(cotlyn.Start());
  const std::string letter = Root() + "Bramble/Letters/400602L1O'Hara $.rtf";
  EXPECT_TRUE(WaitUntil([&]() { return FileExists(got); })) << cotlyn.Errors();
  cotlyn.Kill(SIGKILL);
  cotlyn.Wait();
  EXPECT_EQ(dir.Read("got.txt"), "1|" + letter + "|");
  EXPECT_EQ(dir.Read("root/Bramble/Letters/400602L1O'Hara $.rtf"), "{\\rtf1 Dear  O'Hara $x}");
}

TEST_F(CotlynProcess, AStartAfterAKilledRunRemovesItsLeftoverLineWithoutAsking) {
  WriteSettings("V4.4");
  ChildProcess first(ProgramPath("Cotlyn"), {"Heron", Root()}, Env());
  ASSERT_TRUE(first.Start());
  ASSERT_TRUE(Logged("START Mode=C"));
  ASSERT_TRUE(WaitUntil([&]() { return UserLines().size() == 1; }));
  const std::string leftover = UserLines()[0];
  first.Kill(SIGKILL);
  first.Wait();

  ChildProcess second(ProgramPath("Cotlyn"), {"Heron", Root()}, Env());
  ASSERT_TRUE(second.Start());
  EXPECT_TRUE(Logged("QZ1210 Delete duplicate user: " + leftover)) << Log();
  EXPECT_TRUE(Logged("START Mode=C", 2));
  EXPECT_TRUE(WaitUntil([&]() { return UserLines().size() == 1; }));  // its own line only
  second.Kill(SIGKILL);
  second.Wait();
  EXPECT_EQ(second.Errors().find("["), std::string::npos) << second.Errors();  // nothing asked
}

TEST_F(CotlynProcess, InCloudModeASecondWriterChoosesReadOnlyOrIgnore) {
  WriteSettings("V4.4", "CloudData=1\r\n");
  const std::string other = " 261209 08:00:00 otherpc;anne;K999";
  struct Case {
    const char* answer;
    size_t lines;
    bool readOnly;
  } cases[] = {{"Yes", 2, true}, {"Ignore", 1, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    dir.Write("root/$users.txt", other + "\r\n");
    DeleteFileAt(Root() + "Cotlyn.log");
    ChildProcess p(ProgramPath("Cotlyn"), {"Heron", Root()}, Env(c.answer));
    ASSERT_TRUE(p.Start());
    EXPECT_TRUE(WaitUntil([&]() {
      const auto lines = UserLines();  // one reading: the program may be rewriting the file
      return lines.size() == c.lines && lines.back() != other;
    }));
    p.Kill(SIGKILL);
    p.Wait();
    EXPECT_NE(p.Errors().find("[Warning] QZ1160 Another user is active: anne"), std::string::npos) << p.Errors();
    const auto after = UserLines();
    ASSERT_FALSE(after.empty());
    EXPECT_EQ(after.back()[0], c.readOnly ? 'R' : ' ');
    EXPECT_EQ(Log().find("LAN") == std::string::npos, true);
    EXPECT_EQ(Log().find(" ReadOnly") != std::string::npos, c.readOnly) << Log();
  }
}

TEST_F(CotlynProcess, ForcingCloudModeBesideAnotherLanWriterStops) {
  WriteSettings("V4.4");
  dir.Write("root/$users.txt", " 261209 08:00:00 otherpc;anne;K999\r\n");
  ChildProcess p = ChildProcess::Run(ProgramPath("Cotlyn"), {"-C", "Heron", Root()}, Env(), 60);
  EXPECT_EQ(p.exitCode, kExitStatus1220);
  EXPECT_NE(p.Errors().find("[Error] Error 1180 Another user active - cannot change mode {Abort,Help} help=1180"),
            std::string::npos)
      << p.Errors();
  EXPECT_NE(Log().find("QZ1180 FORCE C INVALID-2ND USER:"), std::string::npos);
}

TEST_F(CotlynProcess, AConflictedCopyFoundAtStartIsAskedAbout) {
  WriteSettings("V4.4", "CloudData=1\r\n");
  dir.Write("root/$users-otherpc.txt", "");
  ChildProcess p(ProgramPath("Cotlyn"), {"Heron", Root()}, Env("Ignore"));
  ASSERT_TRUE(p.Start());
  EXPECT_TRUE(Logged("START Mode=C"));
  p.Kill(SIGKILL);
  p.Wait();
  EXPECT_NE(p.Errors().find("[Warning] QZ1170 Another user active"), std::string::npos) << p.Errors();
  EXPECT_FALSE(FileExists(Root() + "$users-otherpc.txt"));
  EXPECT_NE(Log().find("QZ1170 Delete conflicted copy $users-otherpc.txt"), std::string::npos);
}

TEST_F(CotlynProcess, TheRefreshTimerRereadsABookingFileAnotherUserChanged) {
  WriteSettings("V4.4", "MURefresh=1\r\n");
  ChildProcess p(ProgramPath("Cotlyn"), {"Heron", Root()}, Env());
  ASSERT_TRUE(p.Start());
  ASSERT_TRUE(Logged("START Mode=C"));
  // The window's first read may come after the start line: the file changes until a
  // refresh has seen a change that came after it.
  int week = 0;
  EXPECT_TRUE(WaitUntil([&]() {
    dir.Write("root/Heron/Data/Bookings.bks",
              BookingFileImage({MakeBooking(EncodeDate(2040, 6, 2) + 7 * week++, 7, "Adams")}));
    return WaitUntil([&]() { return Log().find("REFRESH P=2") != std::string::npos; }, 2);
  }));
  p.Kill(SIGKILL);
  p.Wait();
}

}  // namespace
}  // namespace tb::test

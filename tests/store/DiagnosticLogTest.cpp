#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "platform/SharedFile.h"
#include "store/DiagnosticLog.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

class DiagnosticLog : public ::testing::Test {
 protected:
  // 9 Dec 2026 10:30:15.250
  TestSession t{EncodeDate(2026, 12, 9) + EncodeTime(10, 30, 15, 250)};
  Session& s = t.session;
};

TEST_F(DiagnosticLog, LinesAreAppendedWithTimeUserAndComputer) {
  EXPECT_TRUE(WriteLog(s, "CLOSE"));
  t.clock.Advance(1.0 / 86400);
  EXPECT_TRUE(WriteLog(s, "REFRESH P=2"));
  EXPECT_EQ(t.dir.Read("root/Cotlyn.log"),
            "261209 10:30:15.250 tester testpc CLOSE\r\n"
            "261209 10:30:16.250 tester testpc REFRESH P=2\r\n");
}

TEST_F(DiagnosticLog, LockedLogGoesToErrorLog) {
  WriteLog(s, "first");
  SharedFile other;  // another user appending
  ASSERT_EQ(other.OpenReadWriteDenyWriters(s.common.LogPath), SharedFile::Result::Ok);
  EXPECT_FALSE(WriteLog(s, "second"));
  EXPECT_FALSE(WriteLog(s, "third"));
  EXPECT_EQ(t.dir.Read("root/Error.log"),
            "LD99 Log locked?\r\n261209 10:30:15.250 tester testpc second\r\n\r\n"
            "LD99 Log locked?\r\n261209 10:30:15.250 tester testpc third\r\n\r\n");
  other.Close();
  EXPECT_TRUE(WriteLog(s, "fourth"));
  EXPECT_EQ(t.dir.Read("root/Cotlyn.log"),
            "261209 10:30:15.250 tester testpc first\r\n261209 10:30:15.250 tester testpc fourth\r\n");
}

TEST_F(DiagnosticLog, UnwritableFolderIsReportedNotFatal) {
  s.common.RootFolder = t.dir.Path() + "missing/";
  s.common.LogPath = s.common.RootFolder + "Cotlyn.log";
  t.dialogs.Expect("Cannot write to " + s.common.LogPath + "\rCheck folder permissions", MsgIcon::Error,
                   MsgButton::Abort | MsgButton::Help, 1015, MsgButton::Abort);
  EXPECT_FALSE(WriteLog(s, "lost"));
}

TEST_F(DiagnosticLog, RotatesOnlyAbove300000Bytes) {
  t.dir.Write("root/Cotlyn.log", std::string(300000, 'x'));
  RotateLog(s);
  EXPECT_FALSE(FileExists(t.Root() + "Cotlyn-261209.log"));
  EXPECT_EQ(FileSizeOf(s.common.LogPath), 300000);

  t.dir.Write("root/Cotlyn.log", std::string(300001, 'x'));
  RotateLog(s);
  EXPECT_EQ(FileSizeOf(t.Root() + "Cotlyn-261209.log"), 300001);
  EXPECT_EQ(t.dir.Read("root/Cotlyn.log"),
            "261209 10:30:15.250 tester testpc Diagnostic Log exceeds 300K. Renamed to Cotlyn-261209.log\r\n");
}

TEST_F(DiagnosticLog, TodaysGenerationAlreadyThereKeepsTheLogGrowing) {
  t.dir.Write("root/Cotlyn-261209.log", "earlier");
  t.dir.Write("root/Cotlyn.log", std::string(300001, 'x'));
  RotateLog(s);
  EXPECT_EQ(t.dir.Read("root/Cotlyn-261209.log"), "earlier");
  EXPECT_EQ(FileSizeOf(s.common.LogPath), 300001);
}

TEST_F(DiagnosticLog, OldGenerationsAreDeletedAfter240Days) {
  const TDateTime today = EncodeDate(2026, 12, 9);
  const std::string old241 = "Cotlyn-" + FormatDateTime("yymmdd", today - 241) + ".log";
  const std::string old240 = "Cotlyn-" + FormatDateTime("yymmdd", today - 240) + ".log";
  for (const std::string& name : {old241, old240, std::string("Cotlyn-notdat.log"), std::string("Cotlyn-991340.log")})
    t.dir.Write("root/" + name, "old");
  t.dir.Write("root/Cotlyn.log", std::string(300001, 'x'));
  RotateLog(s);
  EXPECT_FALSE(FileExists(t.Root() + old241));
  EXPECT_TRUE(FileExists(t.Root() + old240));
  EXPECT_TRUE(FileExists(t.Root() + "Cotlyn-notdat.log"));
  EXPECT_TRUE(FileExists(t.Root() + "Cotlyn-991340.log"));
  EXPECT_NE(t.dir.Read("root/Cotlyn.log").find("Deleted log file (>240 days old): " + old241 + "\r\n"),
            std::string::npos);
}

TEST_F(DiagnosticLog, FatalErrorStopsTheTimerShowsTheBoxAndExits1220) {
  bool timerStopped = false;
  s.stopRefreshTimer = [&]() { timerStopped = true; };
  t.dialogs.Expect("Error 1220. Corrupt data", MsgIcon::Error, MsgButton::Abort | MsgButton::Help, 1220,
                   MsgButton::Help);
  try {
    FatalError(s, "Error 1220. Corrupt data", 1220);
    FAIL() << "FatalError returned";
  } catch (const ProcessExit& e) {
    EXPECT_EQ(e.code, 1220);
  }
  EXPECT_TRUE(timerStopped);
  EXPECT_EQ(t.dialogs.beeps, 1);
}

}  // namespace
}  // namespace tb::test

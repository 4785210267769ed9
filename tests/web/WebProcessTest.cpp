// The real program against the local helper script: what a booking save and the
// auto-upload timer send, with message boxes written to stderr instead of shown.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <csignal>
#include <thread>

#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "support/Builders.h"
#include "support/ChildProcess.h"
#include "support/HelperScriptServer.h"
#include "support/TempDir.h"

namespace tb::test {
namespace {

class WebProcess : public ::testing::Test {
 protected:
  WebProcess() {
    ForceDirectories(dir.Path() + "config/Cotlyn");
    ForceDirectories(dir.Path() + "tmp");
    ForceDirectories(Root() + "Web-Up");
    ForceDirectories(Root() + "Bramble/Data");
    ForceDirectories(Root() + "Bramble/Archive");
  }
  std::string Root() const { return dir.Path() + "root/"; }
  std::vector<std::string> Env(std::vector<std::string> more = {}) const {
    std::vector<std::string> env = {"COTLYN_NONINTERACTIVE=1",     "COTLYN_ANSWERS=",
                                    "XDG_CONFIG_HOME=" + dir.Path() + "config", "TMPDIR=" + dir.Path() + "tmp",
                                    "QT_QPA_PLATFORM=offscreen",   "XDG_RUNTIME_DIR="};
    env.insert(env.end(), more.begin(), more.end());
    return env;
  }
  // Bramble (AS, ID 31) with one booking of Adams from 2 June 2040.
  void WriteRoot(const std::string& url, const std::string& common = "") {
    dir.Write("root/Cotlyn.ini", "[Common]\r\nver=V4.4\r\nSplash=0\r\nNAvDays=30\r\nHS_LDIR=Web-Up/\r\nHS_PW=hs pw 1\r\n"
                                 "HS_URL=" + url + "\r\n" + common +
                                 "NumProps=1\r\n[Prop01]\r\nPropName=Bramble\r\nID=31\r\nAS=1\r\n");
    dir.Write("root/Bramble/Data/Bookings.bks", BookingFileImage({MakeBooking(EncodeDate(2040, 6, 2), 7, "Adams")}));
  }
  void SetUploadPeriod(uint32_t seconds) {
    RegistryStore("HKEY_CURRENT_USER", dir.Path() + "config/Cotlyn/HKCU.reg")
        .WriteDword("Software\\Orvane\\Cotlyn", "AupFREQ", seconds);
  }
  // Deletes the booking in the booking window (Ctrl+D, its question answered Yes).
  ChildProcess DeleteTheBooking() {
    return ChildProcess(ProgramPath("Cotlyn"), {"Bramble", Root()},
                        Env({"COTLYN_OPEN_BOOKING=1,2040-06-04", "COTLYN_KEYS=Ctrl+D"}));
  }
  TempDir dir;
};

TEST_F(WebProcess, ASaveOnAnAgencyPropertySendsItsCalendar) {
  HelperScriptServer server(false);
  ASSERT_TRUE(server.Started()) << server.Log();
  WriteRoot(server.Url());
  ChildProcess p = DeleteTheBooking();
  ASSERT_TRUE(p.Start());
  EXPECT_TRUE(WaitUntil([&]() { return server.Uploads("P1-cal-json.txt") == 1; })) << p.Errors();
  p.Kill(SIGKILL);
  p.Wait();
  EXPECT_EQ(server.Header(0, "XHRIS"), "TA-upload-calendar.php");
  EXPECT_FALSE(server.Header(0, "XHRCOMP"));
  // The deleted stay is no longer on the calendar.
  EXPECT_EQ(server.Stored("P1-cal-json.txt"), "31\r\n{\"bookedRanges\":[\r\n]}\r\n");
}

TEST_F(WebProcess, WithTheServerDownTheBookingIsSavedAndTheBoxSaysSo) {
  WriteRoot("http://127.0.0.1:1/helper.php");
  ChildProcess p = DeleteTheBooking();
  ASSERT_TRUE(p.Start());
  EXPECT_TRUE(WaitUntil([&]() { return dir.Read("root/Cotlyn.log").find("DELETE. Prop=1") != std::string::npos; }));
  // The box was answered before the delete was logged.
  p.Kill(SIGKILL);
  p.Wait();
  // The console shows a box's line breaks as "\\r".
  EXPECT_NE(p.Errors().find("XHR-Upload error.  (NB Booking was updated)\\rCannot synch. Property=1 Bramble"),
            std::string::npos)
      << p.Errors();
  EXPECT_EQ(dir.Read("root/Bramble/Data/Bookings.bks"), "");
}

// With a period of 2 s: the data marked changed at start goes up once, then nothing
// until another user's save is read back; without a period nothing goes up at all.
TEST_F(WebProcess, TheAutoUploadSendsWhatChangedAndOnlyWithAPeriod) {
  HelperScriptServer server(false);
  ASSERT_TRUE(server.Started()) << server.Log();
  WriteRoot(server.Url(), "MURefresh=1\r\n");
  {
    ChildProcess p(ProgramPath("Cotlyn"), {"Bramble", Root()}, Env());
    ASSERT_TRUE(p.Start());
    std::this_thread::sleep_for(std::chrono::seconds(5));
    EXPECT_EQ(server.Uploads("propinfo.php"), 0u) << p.Errors();
    p.Kill(SIGKILL);
    p.Wait();
  }
  SetUploadPeriod(2);
  ChildProcess p(ProgramPath("Cotlyn"), {"Bramble", Root()}, Env());
  ASSERT_TRUE(p.Start());
  ASSERT_TRUE(WaitUntil([&]() { return server.Uploads("propinfo.php") == 1; })) << p.Errors();
  std::this_thread::sleep_for(std::chrono::seconds(5));
  EXPECT_EQ(server.Uploads("propinfo.php"), 1u);
  dir.Write("root/Bramble/Data/Bookings.bks", BookingFileImage({MakeBooking(EncodeDate(2040, 7, 7), 7, "Baker")}));
  EXPECT_TRUE(WaitUntil([&]() { return server.Uploads("propinfo.php") == 2; })) << p.Errors();
  p.Kill(SIGKILL);
  p.Wait();
}

}  // namespace
}  // namespace tb::test

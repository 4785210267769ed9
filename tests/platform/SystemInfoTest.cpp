#include "platform/SystemInfo.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "support/TempDir.h"

namespace tb::test {
namespace {

TEST(MemoryFigures, ReadFromTheProcTexts) {
  const std::string status =
      "Name:\tCotlyn\nVmPeak:\t  912340 kB\nVmSize:\t  901000 kB\nVmHWM:\t   80200 kB\nVmRSS:\t   75100 kB\n"
      "RssAnon:\t 40000 kB\n";
  const std::string meminfo = "MemTotal:       24576000 kB\nMemFree:  100 kB\nMemAvailable:   20000000 kB\n";
  const MemoryFigures m = ParseMemoryFigures(status, meminfo);
  EXPECT_EQ(m.resident, 75100);
  EXPECT_EQ(m.residentPeak, 80200);
  EXPECT_EQ(m.virtualSize, 901000);
  EXPECT_EQ(m.virtualPeak, 912340);
  EXPECT_EQ(m.machineTotal, 24576000);
  EXPECT_EQ(m.machineAvailable, 20000000);
  // Missing keys read as 0; a key inside another line's text is not taken.
  const MemoryFigures none = ParseMemoryFigures("XVmRSS: 5 kB\n", "");
  EXPECT_EQ(none.resident, 0);
  EXPECT_EQ(none.machineTotal, 0);
  EXPECT_GT(ReadMemoryFigures().resident, 0);  // this process, on Linux
}

TEST(NetworkAddress, IsTheFirstUpInterfaceOffTheLoopback) {
  struct Case {
    std::vector<InterfaceAddress> interfaces;
    std::string address;
  } cases[] = {
      {{{"lo", "127.0.0.1", true, true}, {"eth0", "192.168.1.20", true, false}}, "192.168.1.20"},
      // The host name's own address on Debian, and an interface that is down.
      {{{"lo", "127.0.1.1", true, false}, {"wlan0", "10.0.0.9", false, false}, {"eth1", "10.1.2.3", true, false}},
       "10.1.2.3"},
      {{{"lo", "127.0.0.1", true, true}}, ""},
      {{}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(FirstNetworkAddress(c.interfaces), c.address);
  // This machine: whatever it finds is never a loopback address.
  EXPECT_NE(LocalIPAddress().rfind("127.", 0), 0u);
}

// Customers' details go to a folder nobody else can enter.
TEST(PrivateTempFolder, IsMadeForThisUserOnly) {
  TempDir dir;
  const char* old = std::getenv("XDG_RUNTIME_DIR");
  const std::string saved = old ? old : "";
  ::setenv("XDG_RUNTIME_DIR", dir.Path().c_str(), 1);
  EXPECT_EQ(PrivateTempFolder(), dir / "cotlyn/");
  struct stat st {};
  ASSERT_EQ(::stat((dir / "cotlyn").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  // Opened up by someone: closed again before use.
  ASSERT_EQ(::chmod((dir / "cotlyn").c_str(), 0777), 0);
  EXPECT_EQ(PrivateTempFolder(), dir / "cotlyn/");
  ASSERT_EQ(::stat((dir / "cotlyn").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  // A link in its place is never followed: the next candidate is taken.
  ::rmdir((dir / "cotlyn").c_str());
  dir.Write("elsewhere/x", "");
  ASSERT_EQ(::symlink((dir / "elsewhere").c_str(), (dir / "cotlyn").c_str()), 0);
  const std::string other = PrivateTempFolder();
  EXPECT_NE(other, dir / "cotlyn/");
  EXPECT_FALSE(other.empty());
  if (old) ::setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
  else ::unsetenv("XDG_RUNTIME_DIR");
}

}  // namespace
}  // namespace tb::test

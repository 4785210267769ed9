#include "platform/SystemInfo.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tb::test

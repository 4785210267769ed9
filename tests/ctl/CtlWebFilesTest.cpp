// cotlynctl webfiles on a demo root folder: the three kinds of web file written into
// the helper folder, nothing sent.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "ctl/DemoRootTest.h"
#include "platform/FileSystem.h"

namespace tb::test {
namespace {

class CtlWebFiles : public DemoRootTest {};

TEST_F(CtlWebFiles, WritesEveryFileIntoTheHelperFolder) {
  ChildProcess p = Ctl({"webfiles", Root(), "--today", "2026-12-09"});
  ASSERT_EQ(p.exitCode, 0) << p.Errors();
  const auto j = nlohmann::json::parse(p.Output());
  const std::string folder = Root() + "Web-Up/";
  EXPECT_EQ(j["folder"], folder);
  // The demo keeps agency calendars for its first two properties.
  std::vector<std::string> written;
  for (const auto& f : j["files"]) {
    EXPECT_TRUE(f["written"].get<bool>()) << f;
    written.push_back(f["file"]);
  }
  EXPECT_EQ(written, (std::vector<std::string>{folder + "propinfo.php", folder + "ratequery.php",
                                               folder + "P1-cal-json.txt", folder + "P2-cal-json.txt"}));
  EXPECT_GT(j["rateRows"].get<int>(), 0);
  std::string info, query, calendar;
  ASSERT_TRUE(ReadWholeFile(folder + "propinfo.php", info));
  ASSERT_TRUE(ReadWholeFile(folder + "ratequery.php", query));
  ASSERT_TRUE(ReadWholeFile(folder + "P1-cal-json.txt", calendar));
  EXPECT_EQ(info.rfind("<?php\r\n$prop = array(\r\n", 0), 0u);
  EXPECT_NE(info.find("$nadays = 90;\r\n$startdate = mktime(0,0,0,12,9,2026);\r\n"), std::string::npos);
  EXPECT_NE(info.find("$uid = [0,1001,1002,1003,1004];"), std::string::npos);
  EXPECT_EQ(query.substr(query.size() - 6), ");\";\r\n");
  EXPECT_EQ(calendar.rfind("1001\r\n{\"bookedRanges\":[", 0), 0u);
  EXPECT_FALSE(FileExists(folder + "P3-cal-json.txt"));
}

TEST_F(CtlWebFiles, AMissingFolderOrBadArgumentsFail) {
  DeleteFileAt(Root() + "Web-Up");
  ::rmdir((Root() + "Web-Up").c_str());
  ChildProcess p = Ctl({"webfiles", Root()});
  EXPECT_EQ(p.exitCode, 1);
  EXPECT_NE(p.Errors().find("Local Directory for files " + Root() + "Web-Up/ defined in Web-Up not found"),
            std::string::npos)
      << p.Errors();
  EXPECT_EQ(Ctl({"webfiles", Root(), "--today", "2026-13-01"}).exitCode, 2);
  EXPECT_EQ(Ctl({"webfiles"}).exitCode, 2);
}

}  // namespace
}  // namespace tb::test

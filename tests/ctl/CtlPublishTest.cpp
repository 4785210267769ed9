// cotlynctl publish on a demo root folder: the pages cron makes again, and the exit
// status it relies on.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "ctl/DemoRootTest.h"
#include "platform/FileSystem.h"

namespace tb::test {

namespace {

class CtlPublish : public DemoRootTest {
 protected:
  // The demo's web folders, property 1's page and template made small.
  CtlPublish() {
    dir.Write("demo/Web/P1/$RowProforma.txt", "<tr><td>@N</td></tr>\r\n");
    dir.Write("demo/Web/P1/availability.htm", page);
  }
  ChildProcess Publish(std::vector<std::string> props, const std::string& from = "2027-W01") {
    std::vector<std::string> args = {"publish", Root()};
    args.insert(args.end(), props.begin(), props.end());
    args.insert(args.end(), {"--from", from, "--to", "2027-W02", "--today", "2026-12-09"});
    return Ctl(args);
  }
  const std::string page = "<table>\r\n<!--RateLines-->\r\n<tr></tr>\r\n</table>\r\n";
};

TEST_F(CtlPublish, WritesThePagesAndFailsWhenOneIsMissing) {
  ChildProcess p = Publish({"1"});
  ASSERT_EQ(p.exitCode, 0) << p.Errors();
  const auto j = nlohmann::json::parse(p.Output());
  EXPECT_EQ(j["pages"][0]["page"], Root() + "Web/P1/availability.htm");
  EXPECT_EQ(j["pages"][0]["outcome"], "written");
  EXPECT_EQ(j["messages"].back()["text"], "Update complete. Read 5 records. Written 6 records.");
  // The demo's settings compress weeks: a template without A, R, F or C gives one row.
  EXPECT_EQ(dir.Read("demo/Web/P1/availability.htm"),
            "<table>\r\n<!--RateLines-->\r\n\r\n<tr><td>2</td></tr>\r\n</table>\r\n");
  EXPECT_EQ(dir.Read("demo/Web/P1/availability.bak"), page);

  // The demo's own page of property 2 is made too; without it the run fails.
  ChildProcess both = Publish({"1", "2"});
  EXPECT_EQ(both.exitCode, 0) << both.Output();
  ASSERT_TRUE(DeleteFileAt(Root() + "Web/P2/availability.htm"));
  ChildProcess missing = Publish({"1", "2"});
  EXPECT_EQ(missing.exitCode, 1);
  const auto k = nlohmann::json::parse(missing.Output());
  EXPECT_EQ(k["pages"][1]["outcome"], "no page");

  EXPECT_EQ(Publish({"1"}, "2027-1").exitCode, 2);
  EXPECT_EQ(Publish({}).exitCode, 2);
}

}  // namespace
}  // namespace tb::test

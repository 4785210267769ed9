// cotlynctl report on a demo root folder: the text reports as the report window writes
// them, and the refusals a script sees.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "ctl/DemoRootTest.h"

namespace tb::test {
namespace {

// cotlynctl report ROOT ...
class CtlReport : public DemoRootTest {
 protected:
  ChildProcess Report(std::vector<std::string> args) {
    args.insert(args.begin(), {"report", Root()});
    return Ctl(std::move(args));
  }
};

TEST_F(CtlReport, WritesTheReportFilesOfTheChosenProperties) {
  ChildProcess list = Report({"booklist", "--from", "2027/1", "--to", "2027/27", "--props", "2,1", "--today", "2026-12-09"});
  ASSERT_EQ(list.exitCode, 0) << list.Errors();
  const auto j = nlohmann::json::parse(list.Output());
  EXPECT_EQ(j["file"], Root() + "Booking List.txt");
  EXPECT_EQ(j["properties"], nlohmann::json::array({1, 2}));
  const std::string text = dir.Read("demo/Booking List.txt");
  EXPECT_LT(text.find("Bramble Cottage.    Bookings list."), text.find("Heron's Reach.    Bookings list."));
  EXPECT_EQ(text.find("The Old Dairy"), std::string::npos);

  ASSERT_EQ(Report({"availability", "--from", "2027/1", "--to", "2027/5"}).exitCode, 0);
  EXPECT_EQ(dir.Read("demo/Availability Report.txt").rfind("     AVAILABILITY REPORT    ", 0), 0u);
}

TEST_F(CtlReport, RefusesWhatItCannotReport) {
  const struct {
    std::vector<std::string> args;
    int exit;
  } cases[] = {
      {{"booklist", "--from", "2027/5", "--to", "2027/5"}, 1},  // an empty range
      {{"booklist", "--from", "2027/54", "--to", "2028/5"}, 2},
      {{"booklist", "--from", "2027/1", "--to", "2027/5", "--props", "1,9"}, 1},
      {{"income", "--from", "2027/1", "--to", "2027/5"}, 2},
  };
  for (const auto& c : cases) {
    ChildProcess p = Report(c.args);
    EXPECT_EQ(p.exitCode, c.exit) << c.args[0] << " " << c.args[2] << p.Errors();
  }
  EXPECT_FALSE(dir.Read("demo/Booking List.txt").size());
}

}  // namespace
}  // namespace tb::test

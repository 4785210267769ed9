// cotlynctl report on a demo root folder: the text reports as the report window writes
// them, the printed ones as PDF, and the refusals a script sees.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "ctl/DemoRootTest.h"
#include "platform/FileSystem.h"

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

TEST_F(CtlReport, PrintsTheStatusReportAndTheRepresentativesListToPdf) {
  const std::string pdf = dir.Path() + "status.pdf";
  ChildProcess status = Report({"status", "--from", "2026/50", "--to", "2027/3", "--props", "1,2", "--pdf", pdf});
  ASSERT_EQ(status.exitCode, 0) << status.Errors();
  EXPECT_EQ(nlohmann::json::parse(status.Output())["pages"], 1);
  const std::string text = PdfText(pdf);
  EXPECT_NE(text.find("Bookings Status Report"), std::string::npos) << text;
  EXPECT_NE(text.find("Heron's Reach"), std::string::npos);
  EXPECT_NE(text.find("19 Dec 2026"), std::string::npos);  // the first property's weeks
  EXPECT_NE(text.find("\u00A3855"), std::string::npos);  // the first property's rates too

  const std::string list = dir.Path() + "list.pdf";
  ChildProcess rep = Report({"replist", "--from", "2026/1", "--to", "2027/10", "--props", "2", "--pdf", list});
  ASSERT_EQ(rep.exitCode, 0) << rep.Errors();
  EXPECT_NE(PdfText(list).find("Bookings List for Property: Heron's Reach."), std::string::npos);
}

// A question answered Cancel, or nothing to list, prints nothing and leaves the old file.
TEST_F(CtlReport, APrintedReportThatStopsLeavesTheOldFile) {
  const std::string pdf = dir.Path() + "old.pdf";
  dir.Write("old.pdf", "old");
  ChildProcess cancelled = ChildProcess::Run(
      ProgramPath("cotlynctl"), {"report", Root(), "status", "--from", "2027/1", "--to", "2027/5", "--pdf", pdf},
      {"COTLYN_NONINTERACTIVE=1", "COTLYN_ANSWERS=Cancel", "XDG_CONFIG_HOME=" + dir.Path()});
  EXPECT_EQ(cancelled.exitCode, 1);
  EXPECT_NE(cancelled.Errors().find("different changeover days"), std::string::npos) << cancelled.Errors();
  ChildProcess none = Report({"replist", "--from", "2040/1", "--to", "2040/5", "--pdf", pdf});
  EXPECT_EQ(none.exitCode, 1);
  EXPECT_NE(none.Errors().find("No bookings found"), std::string::npos) << none.Errors();
  EXPECT_EQ(dir.Read("old.pdf"), "old");
  EXPECT_EQ(ListFiles(dir.Path(), ".old.pdf.*"), std::vector<std::string>{});  // no work file left
  EXPECT_EQ(Report({"status", "--from", "2027/1", "--to", "2027/5"}).exitCode, 2);  // no --pdf
  EXPECT_EQ(Report({"booklist", "--from", "2027/1", "--to", "2027/5", "--pdf", pdf}).exitCode, 2);
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

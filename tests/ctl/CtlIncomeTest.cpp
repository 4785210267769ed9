// cotlynctl income and stats on a demo root folder: the files and text the windows
// make, and the refusals a script sees.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "ctl/CtlSession.h"
#include "ctl/DemoRootTest.h"
#include "platform/FileSystem.h"
#include "reports/IncomeReport.h"
#include "store/BookingFile.h"

namespace tb::test {
namespace {

class CtlIncome : public DemoRootTest {};

TEST_F(CtlIncome, WritesTheIncomeCsvAsTheReportWindowDoes) {
  ChildProcess run = Ctl({"income", Root(), "--tax-year", "2026", "--props", "1,2", "--today", "2026-12-09"});
  ASSERT_EQ(run.exitCode, 0) << run.Errors();
  const auto j = nlohmann::json::parse(run.Output());
  EXPECT_EQ(j["file"], Root() + "Cotlyn Income to 2026-04-04.csv");
  EXPECT_EQ(j["taxYear"], "2025-2026");

  std::string error;
  auto ctl = CtlSession::Open(Root(), "2026-12-09", error);
  ASSERT_TRUE(ctl) << error;
  Session& s = ctl->session();
  for (const int n : {1, 2}) ReadBookings(s, n, false, false);
  const std::string csv = dir.Read("demo/Cotlyn Income to 2026-04-04.csv");
  EXPECT_EQ(csv, IncomeCsvText(s, 2026, {1, 2}));
  EXPECT_NE(csv.find("-2025,\""), std::string::npos) << "no let listed:\n" << csv;
}

TEST_F(CtlIncome, PrintsTheIncomeStatementToPdf) {
  const std::string pdf = dir.Path() + "income.pdf";
  ChildProcess run = Ctl({"income", Root(), "--tax-year", "2026", "--props", "1", "--pdf", pdf});
  ASSERT_EQ(run.exitCode, 0) << run.Errors();
  EXPECT_GE(nlohmann::json::parse(run.Output())["pages"], 1);
  const std::string text = PdfText(pdf);
  EXPECT_NE(text.find("Income for Tax Year 2025-2026"), std::string::npos) << text;
  EXPECT_NE(text.find("Total Income = "), std::string::npos) << text;
}

TEST_F(CtlIncome, StatsWritesTheThreeTables) {
  ChildProcess run = Ctl({"stats", Root(), "--year-start", "01/01", "--today", "2026-12-09"});
  ASSERT_EQ(run.exitCode, 0) << run.Errors();
  const std::string text = run.Output();
  for (const char* want : {"1. Year ending\tDays\tIncome(\u00A3)", "\t31 Dec 2025\t", "2. Booking Source\t",
                           "\t  Totals\t", "3. Bookings (days) on 1st of each month.     Current=",
                           "YEAR = \t2026\t2025\t2024\t2023\t2022\t2021\n", "December 1st\t"})
    EXPECT_NE(text.find(want), std::string::npos) << want << " not in:\n" << text;
}

TEST_F(CtlIncome, RefusesWhatItCannotDo) {
  const struct {
    std::vector<std::string> args;
    int exit;
    const char* says;
  } cases[] = {
      {{"income", Root()}, 2, "usage: cotlynctl income"},
      {{"income", Root(), "--tax-year", "2026", "--props", "9"}, 1, "no such property: 9"},
      {{"income", Root(), "--tax-year", "2026", "--pdf", ""}, 2, "usage"},
      {{"stats", Root(), "--year-start", "1/01"}, 2, "Invalid day, must be 01 to 31"},
      {{"stats", Root(), "--year-start", "01/13"}, 2, "Invalid month, must be 01 to 12"},
  };
  for (const auto& c : cases) {
    ChildProcess p = Ctl(c.args);
    EXPECT_EQ(p.exitCode, c.exit) << c.args[0] << " " << c.says;
    EXPECT_NE(p.Errors().find(c.says), std::string::npos) << p.Errors();
  }
  EXPECT_TRUE(ListFiles(Root(), "Cotlyn Income*").empty());
}

}  // namespace
}  // namespace tb::test

// cotlynctl expenses on the demo: the ledgers it writes, the export, and the import,
// refused while another process holds the ledger and for an unchanged export.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "ctl/DemoRootTest.h"
#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "platform/SharedFile.h"

namespace tb::test {
namespace {

// cotlynctl expenses ... --today 2026-12-09
class CtlExpenses : public DemoRootTest {
 protected:
  std::string Ledger(int n) const { return Root() + PathFromText(DemoPropertyName(n, 4, 1)) + "/Data/Expenses.bkx"; }
  ChildProcess Expenses(std::vector<std::string> args) {
    args.insert(args.begin(), "expenses");
    args.insert(args.end(), {"--today", "2026-12-09"});
    return Ctl(std::move(args));
  }
};

TEST_F(CtlExpenses, TheDemoKeepsExpensesForItsFirstProperties) {
  ChildProcess p = Expenses({Root(), "1"});
  ASSERT_EQ(p.exitCode, 0) << p.Errors();
  const auto j = nlohmann::json::parse(p.Output());
  EXPECT_EQ(j["FirstYear"], 2024);
  EXPECT_EQ(j["Years"], 3);
  EXPECT_EQ(j["Categories"], (nlohmann::json{"Cleaning", "Repairs", "Laundry"}));
  EXPECT_GT(j["Amounts"]["2026"][0][10].get<double>(), 0);
  EXPECT_EQ(j["Amounts"]["2026"][0].size(), 12u);

  ChildProcess none = Expenses({Root(), "3"});
  ASSERT_EQ(none.exitCode, 0) << none.Errors();
  EXPECT_EQ(nlohmann::json::parse(none.Output())["FirstYear"], 2025);
  EXPECT_FALSE(FileExists(Ledger(3)));

  ChildProcess exported = Expenses({Root(), "1", "--export"});
  ASSERT_EQ(exported.exitCode, 0) << exported.Errors();
  std::string csv;
  ASSERT_TRUE(ReadWholeFile(Root() + "Expenses.csv", csv));
  EXPECT_EQ(csv.rfind("\"Expenses for Property: ", 0), 0u) << csv;
  EXPECT_NE(csv.find("\"Year = 2024\",\r\n\"Category\",\"Jan\","), std::string::npos);
  EXPECT_EQ(Expenses({Root(), "1", "--import", "2026"}).exitCode, 2);
}

// Another process holds the ledger (as the expenses window does while it shows it):
// the import is refused and the file stays; once let go, the import saves.
TEST_F(CtlExpenses, ImportWaitsForTheOtherUserAndRefusesTheExport) {
  const std::string year =
      dir.Write("year.csv", "1,2,3,4,5,6,7,8,9,10,11,12\r\n,,,,,,,,,,,\r\n0.5,0,0,0,0,0,0,0,0,0,0,0\r\n");
  std::string before;
  ASSERT_TRUE(ReadWholeFile(Ledger(2), before));
  {
    SharedFile held;
    ASSERT_EQ(held.OpenReadWriteDenyWriters(Ledger(2)), SharedFile::Result::Ok);
    ChildProcess refused = Expenses({Root(), "2", "--import", "2025", year});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.Errors().find("is in use by another user"), std::string::npos) << refused.Errors();
    std::string after;
    ASSERT_TRUE(ReadWholeFile(Ledger(2), after));
    EXPECT_EQ(after, before);
  }
  ChildProcess imported = Expenses({Root(), "2", "--import", "2025", year});
  ASSERT_EQ(imported.exitCode, 0) << imported.Errors();
  const auto j = nlohmann::json::parse(Expenses({Root(), "2"}).Output());
  EXPECT_EQ(j["Amounts"]["2025"][0][11], 12);
  EXPECT_EQ(j["Amounts"]["2025"][2][0], 0.5);

  ASSERT_EQ(Expenses({Root(), "2", "--export"}).exitCode, 0);
  ChildProcess exportBack = Expenses({Root(), "2", "--import", "2025", Root() + "Expenses.csv"});
  EXPECT_EQ(exportBack.exitCode, 1);
  EXPECT_NE(exportBack.Errors().find("Error - Input file (" + Root() + "Expenses.csv) should have 3 lines"),
            std::string::npos)
      << exportBack.Errors();
  EXPECT_EQ(Expenses({Root(), "2", "--import", "2031", year}).exitCode, 1);  // not a year of the ledger
}

}  // namespace
}  // namespace tb::test

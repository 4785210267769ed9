// "Expenses.bkx": reading, extending, writing back byte for byte, damaged headers;
// amounts; "Expenses.csv" and the year import.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ExpenseFixture.h"
#include "reports/ExpenseEditor.h"
#include "reports/ExpensesCsv.h"

namespace tb::test {
namespace {

class ExpenseFile : public ::testing::Test, public ExpenseFixture {};

// Five years back: the table runs to this year, six years in the year box, and the
// save writes the stored years unchanged with zero years added.
TEST_F(ExpenseFile, AFileFromFiveYearsBackReachesThisYearAndSavesItsYearsUnchanged) {
  const std::string stored = ExpenseFileImage(2021, 3, 2, 7, MarkedAmount);
  WriteLedger(stored);
  ExpenseEditor ed(t.session);
  ASSERT_TRUE(ed.Start(1, 2026));
  EXPECT_EQ(ed.Years(), (std::vector<int>{2021, 2022, 2023, 2024, 2025, 2026}));
  EXPECT_EQ(ed.ShownYear(), 2026);
  EXPECT_TRUE(ed.Changed());  // the years were extended
  ASSERT_TRUE(ed.SelectYear(2022));
  EXPECT_EQ(ed.cells[1][11], "1111.25");
  ASSERT_TRUE(ed.Save());
  EXPECT_EQ(FileBytes(),
            ExpenseFileImage(2021, 6, 2, 7, [](int y, int c, int m) { return y < 3 ? MarkedAmount(y, c, m) : 0.0; }));
  // One safety copy of the file as it was.
  EXPECT_EQ(t.dir.Read("tmp/Expenses.bkx"), stored);
  EXPECT_FALSE(ed.Changed());
}

// Odd values, a negative zero and a reserved value, and years stored past this one:
// read and written back to the byte.
TEST_F(ExpenseFile, ARoundTripIsByteExactAndKeepsYearsPastThisOne) {
  const std::string stored = ExpenseFileImage(2025, 3, 2, -5, [](int y, int c, int m) {
    const double odd[] = {0.1, 1e-300, 123456789.125, -0.0, 1e21, 7};
    return odd[(y + c + m) % 6];
  });
  Expense e;
  EXPECT_EQ(ParseExpenses(stored, 2, 2026, e), ExpenseParse::Same);
  EXPECT_EQ(e.LastYear(), 2027);
  EXPECT_EQ(ExpenseImage(e), stored);
  WriteLedger(stored);
  ExpenseEditor ed(t.session);
  ASSERT_TRUE(ed.Start(1, 2026));
  EXPECT_FALSE(ed.Changed());
  EXPECT_EQ(ed.Years().back(), 2027);
  ASSERT_TRUE(ed.Save());
  EXPECT_EQ(FileBytes(), stored);
}

TEST_F(ExpenseFile, RaisedCategoriesAddZeroRowsAndLoweredOnesDropTheLast) {
  struct Case {
    int stored, configured;
  };
  for (const Case k : {Case{3, 2}, Case{1, 4}, Case{0, 2}}) {
    Expense e;
    const std::string image = ExpenseFileImage(2025, 2, k.stored, 0, MarkedAmount);
    ASSERT_EQ(ParseExpenses(image, k.configured, 2026, e), ExpenseParse::Changed) << k.stored;
    EXPECT_EQ(e.NCats, k.configured);
    EXPECT_EQ(ExpenseImage(e),
              ExpenseFileImage(2025, 2, k.configured, 0,
                               [&](int y, int c, int m) { return c < k.stored ? MarkedAmount(y, c, m) : 0.0; }))
        << k.stored << " stored, " << k.configured << " configured";
  }
}

TEST_F(ExpenseFile, AMissingFileStartsWithLastYearAndThisYearAtZero) {
  ExpenseLoad load = ReadExpenses(t.session, 1);
  EXPECT_TRUE(load.missing);
  EXPECT_FALSE(load.changed);
  EXPECT_EQ(ExpenseImage(load.ledger), ExpenseFileImage(2025, 2, 2, 0, [](int, int, int) { return 0.0; }));
}

// A header that is negative, out of range or unlike the file's size is damage: no
// crash, no huge table, the values that could be read, and nothing written back.
TEST_F(ExpenseFile, DamagedHeadersAreReadErrorsAndTheLedgerIsReadOnly) {
  const std::string good = ExpenseFileImage(2025, 2, 2, 0, MarkedAmount);
  auto header = [&](int32_t first, int32_t years, int32_t cats) {
    std::string image = good;
    const int32_t h[3] = {first, years, cats};
    std::memcpy(image.data(), h, 12);
    return image;
  };
  const std::vector<std::pair<const char*, std::string>> cases = {
      {"too short for a header", good.substr(0, 10)},
      {"negative first year", header(-2025, 2, 2)},
      {"negative years", header(2025, -1, 2)},
      {"negative categories", header(2025, 2, -3)},
      {"one amount short", good.substr(0, good.size() - 8)},
      {"one amount over", good + std::string(8, '\0')},
      {"years past any calendar", header(2025, 0x7fffffff, 2)},
      {"a table far bigger than the file", header(2025, 7000, 0x7fffffff)},
      {"more categories than bytes", header(2025, 1, 0x7fffffff).substr(0, 16)},
  };
  for (const auto& [what, image] : cases) {
    Expense e;
    EXPECT_EQ(ParseExpenses(image, 2, 2026, e), ExpenseParse::Damaged) << what;
    EXPECT_LE(e.NYears, 3) << what;
  }
  // A file cut short keeps what was read before the cut.
  Expense cut;
  ParseExpenses(good.substr(0, good.size() - 8), 2, 2026, cut);
  EXPECT_EQ(cut.At(1, 1, 10), MarkedAmount(1, 1, 10));
  EXPECT_EQ(cut.At(1, 1, 11), 0.0);

  const std::string damaged = header(2025, 2, -3);
  WriteLedger(damaged);
  t.dialogs.Expect("E2100 Error reading " + Path(), MsgIcon::Error, MsgButton::Abort | MsgButton::Help, 1015,
                   MsgButton::Abort);
  ExpenseEditor ed(t.session);
  ASSERT_TRUE(ed.Start(1, 2026));
  t.dialogs.VerifyAllShown();
  EXPECT_TRUE(ed.ReadOnly());
  ed.CellTyped(0, 0, "12");
  EXPECT_FALSE(ed.Changed());
  EXPECT_FALSE(ed.Save());
  EXPECT_TRUE(ed.CanClose());  // nothing to ask: nothing can be saved
  EXPECT_EQ(FileBytes(), damaged);
  EXPECT_EQ(t.dialogs.beeps, 1);
}

TEST(ExpenseAmount, OnlyFiniteDecimalsOfZeroOrMoreAreAmounts) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    const char* text;
    bool ok;
    double value;
    const char* why;
  };
  const Case cases[] = {
      {"", true, 0, ""},
      {"  ", true, 0, ""},
      {"12.5", true, 12.5, ""},
      {" 7 ", true, 7, ""},
      {"1e3", true, 1000, ""},
      {"-0", true, 0, ""},
      {"-1", false, 0, "'-1' is below 0"},
      {"nan", false, 0, "'nan' is not a valid floating point value"},
      {"inf", false, 0, "'inf' is not a valid floating point value"},
      {"1e999", false, 0, "'1e999' is not a valid floating point value"},
      {"1,5", false, 0, "'1,5' is not a valid floating point value"},
      {"0x10", false, 0, "'0x10' is not a valid floating point value"},
      {"1.2.3", false, 0, "'1.2.3' is not a valid floating point value"},
      {"\"Cleaning\"", false, 0, "'\"Cleaning\"' is not a valid floating point value"},
  };
  for (const Case& k : cases) {
    double v = inf;
    std::string why;
    EXPECT_EQ(ParseExpenseAmount(k.text, v, &why), k.ok) << k.text;
    EXPECT_EQ(why, k.why) << k.text;
    if (k.ok) {
      EXPECT_EQ(v, k.value) << k.text;
      EXPECT_FALSE(std::signbit(v)) << k.text;
    }
  }
  EXPECT_EQ(ExpenseAmountText(0), "0");
  EXPECT_EQ(ExpenseAmountText(0.1), "0.1");
  EXPECT_EQ(ExpenseAmountText(1234.5), "1234.5");
  EXPECT_EQ(ExpenseAmountText(1e21), "1e+21");
}

TEST_F(ExpenseFile, TheExportListsEveryYearWithQuotesDoubled) {
  Expense e;
  e.Resize(2025, 2, 2);
  e.At(0, 0, 0) = 12.5;
  e.At(1, 1, 11) = 3;
  const std::string months =
      "\"Jan\",\"Feb\",\"Mar\",\"Apr\",\"May\",\"Jun\",\"Jul\",\"Aug\",\"Sep\",\"Oct\",\"Nov\",\"Dec\",";
  const std::string expected =
      "\"Expenses for Property: Prop 1\"\r\n\r\n"
      "\"Year = 2025\",\r\n\"Category\"," +
      months +
      "\r\n"
      "\"Cleaning\",12.5,0,0,0,0,0,0,0,0,0,0,0,\r\n"
      "\"Rep\"\"airs\",0,0,0,0,0,0,0,0,0,0,0,0,\r\n\r\n"
      "\"Year = 2026\",\r\n\"Category\"," +
      months +
      "\r\n"
      "\"Cleaning\",0,0,0,0,0,0,0,0,0,0,0,0,\r\n"
      "\"Rep\"\"airs\",0,0,0,0,0,0,0,0,0,0,0,3,\r\n\r\n";
  std::string reason;
  ASSERT_TRUE(WriteExpensesCsv(t.session, 1, e, reason)) << reason;
  EXPECT_EQ(t.dir.Read("root/Expenses.csv"), expected);

  // The export cannot be read back as a year: its lines are not the categories' lines,
  // and its category lines start with the name.
  ExpenseYear year;
  std::string error;
  EXPECT_FALSE(ParseExpenseYearCsv(expected, "E.csv", 2, year, error));
  EXPECT_EQ(error, "Error - Input file (E.csv) should have 2 lines");
  EXPECT_FALSE(
      ParseExpenseYearCsv("\"Cleaning\",12.5,0,0,0,0,0,0,0,0,0,0,0,\r\n\"Rep\"\"airs\",0,0,0,0,0,0,0,0,0,0,0,0,\r\n",
                          "E.csv", 2, year, error));
  EXPECT_EQ(error, "Data Error: CSV file invalid. Line 1\r'\"Cleaning\"' is not a valid floating point value");
}

TEST(ExpenseImport, OneLineOfTwelveAmountsPerCategory) {
  struct Case {
    const char* what;
    std::string text;
    std::string error;  // "" when it reads
  };
  const std::string twelve = "1,2,3,4,5,6,7,8,9,10,11,12.5";
  const Case cases[] = {
      {"CR LF, final line break adds no line", twelve + "\r\n0,0,0,0,0,0,0,0,0,0,0,0\r\n", ""},
      {"LF, no final break, fields past twelve", twelve + ",99,x\n" + twelve, ""},
      {"empty fields are 0", twelve + "\r\n,,,,,,,,,,,\r\n", ""},
      {"a blank line is a line", twelve + "\r\n" + twelve + "\r\n\r\n", "Error - Input file (F) should have 2 lines"},
      {"one line", twelve + "\r\n", "Error - Input file (F) should have 2 lines"},
      {"too few amounts", twelve + "\r\n1,2,3,4,5,6,7,8,9,10,11\r\n",
       "Data Error: CSV file invalid. Line 2\r12 amounts expected, found 11"},
      {"negative", "-1,2,3,4,5,6,7,8,9,10,11,12\r\n" + twelve, "Data Error: CSV file invalid. Line 1\r'-1' is below 0"},
      {"not a number", twelve + "\r\n1,2,3,4,5,6,7,8,9,10,11,NaN",
       "Data Error: CSV file invalid. Line 2\r'NaN' is not a valid floating point value"},
  };
  for (const Case& k : cases) {
    ExpenseYear year;
    std::string error;
    EXPECT_EQ(ParseExpenseYearCsv(k.text, "F", 2, year, error), k.error.empty()) << k.what;
    EXPECT_EQ(error, k.error) << k.what;
    if (k.error.empty()) {
      EXPECT_EQ(year[0][0], 1) << k.what;
      EXPECT_EQ(year[0][11], 12.5) << k.what;
    }
  }
}

}  // namespace
}  // namespace tb::test

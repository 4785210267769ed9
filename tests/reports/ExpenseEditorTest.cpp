// The expenses window's steps without the widgets: typing, storing, years,
// properties, clearing, closing, export, import, and two users of one ledger.

#include <gtest/gtest.h>
#include <unistd.h>

#include "ExpenseFixture.h"
#include "platform/SharedFile.h"
#include "reports/ExpenseEditor.h"
#include "reports/ExpensesCsv.h"

namespace tb::test {
namespace {

const MsgButtons kYesCancel = MsgButton::Yes | MsgButton::Cancel;
const std::string kCloseQuestion = "Save changes before closing?\r(Cancel returns to editing, No discards changes)";

class ExpenseEditing : public ::testing::Test, public ExpenseFixture {
 protected:
  ExpenseEditing() { WriteLedger(ExpenseFileImage(2025, 2, 2, 0, MarkedAmount)); }
  ExpenseEditor ed{t.session};
};

TEST_F(ExpenseEditing, NotConfiguredSaysSoAndShowsNothing) {
  t.session.common.NExpCats = 0;
  t.dialogs.Expect("Expenses recording not configured", MsgIcon::Information, MsgButton::OK | MsgButton::Help, 999,
                   MsgButton::OK);
  EXPECT_FALSE(ed.Start(1, 2026));
  EXPECT_EQ(t.dialogs.beeps, 1);
}

TEST_F(ExpenseEditing, TypedAmountsAreCheckedAndStoredWithTheYear) {
  ASSERT_TRUE(ed.Start(1, 2026));
  EXPECT_FALSE(ed.Changed());
  t.dialogs.Expect("Invalid amount. Month=3 Row=2", MsgIcon::Error, MsgButton::OK, 0, MsgButton::OK);
  EXPECT_FALSE(ed.CellTyped(1, 2, "-4"));
  EXPECT_FALSE(ed.Changed());
  // The refused text stays in the cell: storing the year names it.
  EXPECT_TRUE(ed.CellTyped(0, 0, "99.5"));
  t.dialogs.Expect("Invalid data. Month= 3  Row= 2", MsgIcon::Error, MsgButton::Abort, 0, MsgButton::Abort);
  EXPECT_FALSE(ed.StepYear(-1));
  EXPECT_EQ(ed.ShownYear(), 2026);
  EXPECT_EQ(ed.Ledger().At(1, 0, 0), MarkedAmount(1, 0, 0));  // none of the year stored
  ed.cells[1][2] = "";                                        // an empty cell is 0
  ASSERT_TRUE(ed.StepYear(-1));
  EXPECT_EQ(ed.Ledger().At(1, 0, 0), 99.5);
  EXPECT_EQ(ed.Ledger().At(1, 1, 2), 0.0);
  EXPECT_EQ(ed.cells[0][0], "0.25");
  const int beeps = t.dialogs.beeps;
  EXPECT_FALSE(ed.StepYear(-1));  // the first year
  EXPECT_EQ(t.dialogs.beeps, beeps + 1);
  ASSERT_TRUE(ed.Save());
  Expense saved;
  ParseExpenses(FileBytes(), 2, 2026, saved);
  EXPECT_EQ(saved.At(1, 0, 0), 99.5);
}

TEST_F(ExpenseEditing, ClearAsksThenZeroesTheShownYear) {
  ASSERT_TRUE(ed.Start(1, 2025));
  t.dialogs.Expect("Clear displayed data?", MsgIcon::Confirmation, kYesCancel, 0, MsgButton::Cancel);
  ed.Clear();
  EXPECT_EQ(ed.cells[0][0], "0.25");
  t.dialogs.Expect("Clear displayed data?", MsgIcon::Confirmation, kYesCancel, 0, MsgButton::Yes);
  ed.Clear();
  for (const auto& row : ed.cells)
    for (const std::string& cell : row) EXPECT_EQ(cell, "0");
  EXPECT_TRUE(ed.Changed());
}

TEST_F(ExpenseEditing, ClosingWithChangesAsks) {
  ASSERT_TRUE(ed.Start(1, 2026));
  EXPECT_TRUE(ed.CanClose());  // nothing changed: no question
  ed.CellTyped(0, 0, "5");
  const MsgButtons ync = MsgButton::Yes | MsgButton::No | MsgButton::Cancel;
  t.dialogs.Expect(kCloseQuestion, MsgIcon::Confirmation, ync, 0, MsgButton::Cancel);
  EXPECT_FALSE(ed.CanClose());
  t.dialogs.Expect(kCloseQuestion, MsgIcon::Confirmation, ync, 0, MsgButton::Yes);
  EXPECT_TRUE(ed.CanClose());
  Expense saved;
  ParseExpenses(FileBytes(), 2, 2026, saved);
  EXPECT_EQ(saved.At(1, 0, 0), 5);
  ed.CellTyped(0, 0, "6");
  t.dialogs.Expect(kCloseQuestion, MsgIcon::Confirmation, ync, 0, MsgButton::No);
  EXPECT_TRUE(ed.CanClose());
  ParseExpenses(FileBytes(), 2, 2026, saved);
  EXPECT_EQ(saved.At(1, 0, 0), 5);  // discarded
}

// A save that fails keeps the property and what was typed; the next property is
// shown only once the save succeeds. Beyond the last property: a beep.
TEST_F(ExpenseEditing, AnotherPropertyWaitsForTheSave) {
  ASSERT_TRUE(ed.Start(2, 2026));  // property 2 has no ledger yet
  EXPECT_EQ(ed.Years(), (std::vector<int>{2025, 2026}));
  ed.CellTyped(0, 3, "42");
  // Its "Data" folder is a file: the ledger cannot be made.
  const std::string data = t.session.Prop(2).Folder + "Data";
  ASSERT_EQ(::rmdir(data.c_str()), 0);
  ASSERT_TRUE(WriteWholeFile(data, "in the way"));
  t.dialogs.Expect("E2100 Error writing " + Path(2), MsgIcon::Error, MsgButton::Abort | MsgButton::Help, 1015,
                   MsgButton::Abort);
  EXPECT_FALSE(ed.StepProperty(-1));
  EXPECT_EQ(ed.Property(), 2);
  EXPECT_EQ(ed.cells[0][3], "42");
  EXPECT_TRUE(ed.Changed());
  const int beeps = t.dialogs.beeps;
  EXPECT_FALSE(ed.StepProperty(+1));
  EXPECT_EQ(t.dialogs.beeps, beeps + 1);
  ASSERT_TRUE(DeleteFileAt(data));
  ForceDirectories(data);
  ASSERT_TRUE(ed.StepProperty(-1));
  EXPECT_EQ(ed.Property(), 1);
  Expense saved;
  EXPECT_EQ(ParseExpenses(FileBytes(2), 2, 2026, saved), ExpenseParse::Same);
  EXPECT_EQ(saved.At(1, 0, 3), 42);
}

TEST_F(ExpenseEditing, ExportAsksBeforeOverwritingAndSaysWhyItCannotWrite) {
  ASSERT_TRUE(ed.Start(1, 2026));
  ed.CellTyped(1, 11, "8");  // stored before the export
  ASSERT_TRUE(ed.Export());
  EXPECT_EQ(t.runner.opened, std::vector<std::string>{t.Root() + "Expenses.csv"});
  EXPECT_NE(t.dir.Read("root/Expenses.csv")
                .find("\"Rep\"\"airs\",1100.25,1101.25,1102.25,1103.25,1104.25,1105.25,"
                      "1106.25,1107.25,1108.25,1109.25,1110.25,8,\r\n"),
            std::string::npos);
  const std::string overwrite = "File " + t.Root() + "Expenses.csv already exists. Overwrite?";
  t.dialogs.Expect(overwrite, MsgIcon::Warning, kYesCancel, 0, MsgButton::Cancel)
      .Expect("Cancelled - no file written", MsgIcon::Information, MsgButton::OK, 0, MsgButton::OK);
  EXPECT_FALSE(ed.Export());
  t.dialogs.Expect(overwrite, MsgIcon::Warning, kYesCancel, 0, MsgButton::Yes);
  EXPECT_TRUE(ed.Export());
  EXPECT_EQ(t.runner.opened.size(), 2u);
  // A folder in the file's place: the path and the system's reason, the folder kept.
  ASSERT_TRUE(DeleteFileAt(t.Root() + "Expenses.csv"));
  ForceDirectories(t.Root() + "Expenses.csv");
  t.dialogs.Expect("Cannot write " + t.Root() + "Expenses.csv\rIs a directory", MsgIcon::Error, MsgButton::Abort, 0,
                   MsgButton::Abort);
  EXPECT_FALSE(ed.Export());
  EXPECT_TRUE(DirectoryExists(t.Root() + "Expenses.csv"));
}

TEST_F(ExpenseEditing, ImportAsksAndFillsTheShownYear) {
  ASSERT_TRUE(ed.Start(1, 2025));
  ed.CellTyped(0, 0, "1");
  const std::string file = t.dir.Write("year.csv", "1,2,3,4,5,6,7,8,9,10,11,12\r\n0.5,,,,,,,,,,,\r\n");
  const std::string replace = "Replace current year's data from a CSV file?\rNext - browse for the file.";
  t.dialogs.Expect("Data changed - replace without saving?", MsgIcon::Warning, kYesCancel, 0, MsgButton::Yes)
      .Expect(replace, MsgIcon::Information, kYesCancel, 0, MsgButton::Yes)
      .Expect("CSV File is valid\rContinue?", MsgIcon::Confirmation, kYesCancel, 0, MsgButton::Yes);
  ASSERT_TRUE(ed.Import([&]() { return file; }));
  EXPECT_EQ(ed.cells[0][11], "12");
  EXPECT_EQ(ed.cells[1][0], "0.5");
  EXPECT_EQ(ed.cells[1][1], "0");
  ASSERT_TRUE(ed.Save());
  Expense saved;
  ParseExpenses(FileBytes(), 2, 2026, saved);
  EXPECT_EQ(saved.At(0, 0, 11), 12);
  EXPECT_EQ(saved.At(1, 0, 0), MarkedAmount(1, 0, 0));  // other years untouched

  // The export, unchanged, is refused; a cancelled file dialog ends quietly.
  ASSERT_TRUE(ed.Export());
  const std::string exported = t.Root() + "Expenses.csv";
  t.dialogs.Expect(replace, MsgIcon::Information, kYesCancel, 0, MsgButton::Yes)
      .Expect("Error - Input file (" + exported + ") should have 2 lines", MsgIcon::Error, MsgButton::Abort, 0,
              MsgButton::Abort);
  EXPECT_FALSE(ed.Import([&]() { return exported; }));
  t.dialogs.Expect(replace, MsgIcon::Information, kYesCancel, 0, MsgButton::Yes);
  EXPECT_FALSE(ed.Import([]() { return std::string(); }));
  EXPECT_FALSE(ed.Changed());
}

// Two users: the first holds the ledger while it is shown; the second reads it but
// cannot save, and sees the first one's save when it opens the ledger again.
TEST_F(ExpenseEditing, ASecondUserGetsTheLedgerReadOnly) {
  ASSERT_TRUE(ed.Start(1, 2026));
  TestSession other;
  other.JoinRoot(t);
  ExpenseEditor second(other.session);
  ASSERT_TRUE(second.Start(1, 2026));
  EXPECT_TRUE(second.ReadOnly());
  EXPECT_TRUE(second.HeldElsewhere());
  second.CellTyped(0, 0, "1");
  EXPECT_FALSE(second.Save());
  EXPECT_TRUE(second.CanClose());

  ed.CellTyped(0, 0, "77");
  ASSERT_TRUE(ed.Save());
  ed.Release();
  second.Load(1);
  EXPECT_FALSE(second.ReadOnly());
  EXPECT_EQ(second.cells[0][0], "77");
}

}  // namespace
}  // namespace tb::test

// The "Expenses" window: what it shows, typing and Enter, the keys, a failed save on
// PageDown, closing, import through its file dialog, a read-only second copy, and
// the main window's commands that open it.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <cstdlib>
#include <memory>

#include "ExpenseFixture.h"
#include "app/forms/TMainForm.h"
#include "reports/forms/TExpenseForm.h"
#include "support/TypeKeys.h"

// Exported by QtGui for QtTest's key clicks: offers a key to the window's shortcuts.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                               const QString& text, bool autorep, ushort count);

namespace tb::test {
namespace {

bool PressShortcut(QWidget* w, QKeyCombination key) {
  return qt_sendShortcutOverrideEvent(w, 0, key.key(), key.keyboardModifiers(), QString(), false, 1);
}

QString Cell(const TExpenseForm& f, int row, int column) { return f.SGrid->item(row, column)->text(); }

class ExpenseForm : public ::testing::Test, public ExpenseFixture {
 protected:
  ExpenseForm() { WriteLedger(ExpenseFileImage(2021, 3, 2, 0, MarkedAmount)); }
  std::unique_ptr<TExpenseForm> Show(int n = 1, int year = 2026) {
    auto form = std::make_unique<TExpenseForm>(t.session);
    EXPECT_TRUE(form->Start(n, year));
    form->show();
    QApplication::setActiveWindow(form.get());
    return form;
  }
  // Types into a cell as the keyboard would, ending with Enter.
  void TypeInto(TExpenseForm& f, int row, int column, const QString& text) {
    f.SGrid->setCurrentCell(row, column);
    f.SGrid->editItem(f.SGrid->item(row, column));
    auto* editor = qobject_cast<QLineEdit*>(f.SGrid->indexWidget(f.SGrid->model()->index(row, column)));
    ASSERT_NE(editor, nullptr);
    Type(editor, text);
    PressKey(editor, Qt::Key_Return);
    // The delegate commits and closes the editor from a queued call.
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
};

TEST_F(ExpenseForm, ShowsTheYearsTheCategoriesAndTheAmounts) {
  auto f = Show();
  EXPECT_EQ(f->windowTitle(), QStringLiteral("Expenses"));
  EXPECT_EQ(f->CBProp->count(), 2);
  EXPECT_EQ(f->CBProp->currentText(), QStringLiteral("1    Prop 1"));
  QStringList years;
  for (int i = 0; i < f->CBYear->count(); ++i) years << f->CBYear->itemText(i);
  EXPECT_EQ(years.join(QLatin1Char(' ')), QStringLiteral("2021 2022 2023 2024 2025 2026"));
  EXPECT_EQ(f->CBYear->currentText(), QStringLiteral("2026"));
  ASSERT_EQ(f->SGrid->columnCount(), 13);
  EXPECT_EQ(f->SGrid->horizontalHeaderItem(0)->text(), QStringLiteral("Category"));
  EXPECT_EQ(f->SGrid->horizontalHeaderItem(12)->text(), QStringLiteral("Dec"));
  ASSERT_EQ(f->SGrid->rowCount(), 2);
  EXPECT_EQ(Cell(*f, 1, 0), QStringLiteral("Rep\"airs"));
  EXPECT_EQ(Cell(*f, 0, 1), QStringLiteral("0"));
  f->CBYear->setCurrentIndex(1);
  EXPECT_EQ(Cell(*f, 1, 12), QStringLiteral("1111.25"));
  EXPECT_TRUE(f->acSave->isEnabled());
  EXPECT_TRUE(f->readOnlyLabel->text().isEmpty());

  // A picture of the window, to look at.
  f->resize(f->sizeHint().expandedTo(f->size()));
  const char* shot = std::getenv("EXPENSES_SCREENSHOT");
  if (shot) f->grab().save(QString::fromLocal8Bit(shot));
  // The reader extended the years: the window asks before closing.
  t.dialogs.Expect("Save changes before closing?\r(Cancel returns to editing, No discards changes)",
                   MsgIcon::Confirmation, MsgButton::Yes | MsgButton::No | MsgButton::Cancel, 0, MsgButton::No);
  EXPECT_TRUE(f->close());
}

// Enter moves through the months and on to January of the next category; a refused
// amount keeps the cell.
TEST_F(ExpenseForm, EnterMovesOnAndARefusedAmountStays) {
  auto f = Show();
  TypeInto(*f, 0, 11, QStringLiteral("12.5"));
  EXPECT_EQ(f->SGrid->currentColumn(), 12);
  TypeInto(*f, 0, 12, QStringLiteral("3"));
  EXPECT_EQ(f->SGrid->currentRow(), 1);
  EXPECT_EQ(f->SGrid->currentColumn(), 1);
  t.dialogs.Expect("Invalid amount. Month=2 Row=2", MsgIcon::Error, MsgButton::OK, 0, MsgButton::OK);
  TypeInto(*f, 1, 2, QStringLiteral("1e400"));
  EXPECT_EQ(f->SGrid->currentRow(), 1);
  EXPECT_EQ(f->SGrid->currentColumn(), 2);
  TypeInto(*f, 1, 2, QStringLiteral("4"));
  EXPECT_EQ(f->SGrid->currentColumn(), 3);
  EXPECT_TRUE(PressShortcut(f->SGrid, QKeyCombination(Qt::ControlModifier, Qt::Key_S)));
  Expense saved;
  ParseExpenses(FileBytes(), 2, 2026, saved);
  EXPECT_EQ(saved.At(5, 0, 10), 12.5);
  EXPECT_EQ(saved.At(5, 1, 1), 4);
  EXPECT_FALSE(f->Editor().Changed());
  PressKey(f->SGrid, Qt::Key_Escape);
  EXPECT_FALSE(f->isVisible());
}

// An amount still being typed is kept by the commands that do not move the focus: a
// save takes it, the next year does not take it along.
TEST_F(ExpenseForm, AnAmountBeingTypedIsKeptByShortcuts) {
  auto f = Show();
  const auto typeWithoutEnter = [&](int row, int column, const QString& text) {
    f->SGrid->setCurrentCell(row, column);
    f->SGrid->editItem(f->SGrid->item(row, column));
    auto* editor = qobject_cast<QLineEdit*>(f->SGrid->indexWidget(f->SGrid->model()->index(row, column)));
    ASSERT_NE(editor, nullptr);
    Type(editor, text);
  };
  typeWithoutEnter(0, 3, QStringLiteral("7.25"));
  EXPECT_TRUE(PressShortcut(f->SGrid, QKeyCombination(Qt::ControlModifier, Qt::Key_S)));
  Expense saved;
  ParseExpenses(FileBytes(), 2, 2026, saved);
  EXPECT_EQ(saved.At(5, 0, 2), 7.25);
  typeWithoutEnter(1, 4, QStringLiteral("9"));
  f->PrevYear();
  EXPECT_NE(Cell(*f, 1, 4), QStringLiteral("9"));  // 2025 shows its own amount
  f->NextYear();
  EXPECT_EQ(Cell(*f, 1, 4), QStringLiteral("9"));
}

// PageDown saves first; when that fails the window stays on the property with what
// was typed, and the property box shows it.
TEST_F(ExpenseForm, PageDownStaysWhenTheSaveFails) {
  auto f = Show();
  TypeInto(*f, 0, 1, QStringLiteral("9"));
  // The ledger file turns into a folder's neighbour it cannot replace.
  const std::string data = t.session.Prop(1).Folder + "Data";
  ASSERT_TRUE(DeleteFileAt(Path()));
  ASSERT_EQ(::rmdir(data.c_str()), 0);
  ASSERT_TRUE(WriteWholeFile(data, "in the way"));
  t.dialogs.Expect("E2100 Error writing " + Path(), MsgIcon::Error, MsgButton::Abort | MsgButton::Help, 1015,
                   MsgButton::Abort);
  EXPECT_TRUE(PressShortcut(f->SGrid, Qt::Key_PageDown));
  t.dialogs.VerifyAllShown();
  EXPECT_EQ(f->Editor().Property(), 1);
  EXPECT_EQ(f->CBProp->currentIndex(), 0);
  EXPECT_EQ(Cell(*f, 0, 1), QStringLiteral("9"));
  EXPECT_TRUE(f->isVisible());
  // The property box the same way.
  t.dialogs.Expect("E2100 Error writing " + Path(), MsgIcon::Error, MsgButton::Abort | MsgButton::Help, 1015,
                   MsgButton::Abort);
  f->CBProp->setCurrentIndex(1);
  EXPECT_EQ(f->CBProp->currentIndex(), 0);
  ASSERT_TRUE(DeleteFileAt(data));
  ForceDirectories(data);
  EXPECT_TRUE(PressShortcut(f->SGrid, Qt::Key_PageDown));
  EXPECT_EQ(f->Editor().Property(), 2);
  EXPECT_EQ(f->CBProp->currentIndex(), 1);
  EXPECT_EQ(f->CBYear->currentText(), QStringLiteral("2026"));
  const int beeps = t.dialogs.beeps;
  EXPECT_TRUE(PressShortcut(f->SGrid, Qt::Key_PageDown));  // the last property
  EXPECT_EQ(t.dialogs.beeps, beeps + 1);
  EXPECT_TRUE(PressShortcut(f->SGrid, QKeyCombination(Qt::ControlModifier, Qt::Key_P)));
  EXPECT_EQ(f->CBYear->currentText(), QStringLiteral("2025"));
}

TEST_F(ExpenseForm, ImportThroughTheFileDialogFillsTheGrid) {
  auto f = Show(1, 2022);
  const std::string file = t.dir.Write("in.csv", "1,2,3,4,5,6,7,8,9,10,11,12\n0,0,0,0,0,0,0,0,0,0,0,7\n");
  f->chooseImportFile = [&]() { return QString::fromStdString(file); };
  t.dialogs
      .Expect("Data changed - replace without saving?", MsgIcon::Warning, MsgButton::Yes | MsgButton::Cancel, 0,
              MsgButton::Yes)
      .Expect("Replace current year's data from a CSV file?\rNext - browse for the file.", MsgIcon::Information,
              MsgButton::Yes | MsgButton::Cancel, 0, MsgButton::Yes)
      .Expect("CSV File is valid\rContinue?", MsgIcon::Confirmation, MsgButton::Yes | MsgButton::Cancel, 0,
              MsgButton::Yes);
  f->acImport->trigger();
  EXPECT_EQ(Cell(*f, 0, 12), QStringLiteral("12"));
  EXPECT_EQ(Cell(*f, 1, 12), QStringLiteral("7"));
  EXPECT_TRUE(PressShortcut(f->SGrid, Qt::Key_F4));  // save and exit
  EXPECT_FALSE(f->isVisible());
  Expense saved;
  ParseExpenses(FileBytes(), 2, 2026, saved);
  EXPECT_EQ(saved.At(1, 1, 11), 7);
}

TEST_F(ExpenseForm, ASecondCopyShowsTheLedgerReadOnly) {
  SharedFile held;
  ASSERT_EQ(held.OpenReadWriteDenyWriters(Path()), SharedFile::Result::Ok);
  auto f = Show();
  EXPECT_EQ(f->readOnlyLabel->text(), QStringLiteral("Read only: in use by another user"));
  EXPECT_FALSE(f->acSave->isEnabled());
  EXPECT_FALSE(f->acImport->isEnabled());
  EXPECT_FALSE(f->bClear->isEnabled());
  EXPECT_EQ(f->SGrid->editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_TRUE(f->close());  // no question: nothing can be saved
}

// Tools "Expenses" opens the current property ("C"), or the one picked in the property
// column ("M"), with this year; the pop-up opens the property right-clicked.
TEST_F(ExpenseForm, TheMainWindowOpensTheRightPropertyAndYear) {
  StartupEnvironment env;
  std::vector<std::pair<int, int>> opened;
  auto record = [&](TExpenseForm& form) { opened.emplace_back(form.Editor().Property(), form.Editor().ShownYear()); };
  t.session.CurrentProperty = 2;
  {
    TMainForm main(t.session, env);
    main.showExpenses = record;
    QAction* tools = main.Command(QStringLiteral("Expenses"));
    ASSERT_NE(tools, nullptr);
    EXPECT_TRUE(tools->isVisible());
    EXPECT_TRUE(tools->isEnabled());
    tools->trigger();
  }
  t.session.common.ViewMode = "M";
  t.session.CurrentProperty = 0;
  {
    TMainForm main(t.session, env);
    main.showExpenses = record;
    main.Command(QStringLiteral("Expenses"))->trigger();  // nothing picked: property 1
    QMenu* menu = main.PropertyMenu(2);
    for (QAction* a : menu->actions())
      if (a->text() == QStringLiteral("Expenses")) a->trigger();
    main.Command(QStringLiteral("Expenses"))->trigger();  // the one picked last
  }
  EXPECT_EQ(opened, (std::vector<std::pair<int, int>>{{2, 2026}, {1, 2026}, {2, 2026}, {2, 2026}}));
}

}  // namespace
}  // namespace tb::test

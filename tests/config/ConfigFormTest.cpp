// The configuration window as the user drives it, on the offscreen screen.

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <gtest/gtest.h>

#include "config/ConfigModel.h"
#include "config/forms/TConfigForm.h"
#include "platform/FileSystem.h"
#include "platform/forms/QtText.h"
#include "store/ScrambledPassword.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

const std::string kSettings =
    "[Common]\r\nport=25\r\nNumProps=2\r\nCustom=kept\r\n[Prop01]\r\nPropName=Bramble\r\n[Prop02]\r\nPropName=Caf\xE9\r\n";
const MsgButtons kYesNoCancel = MsgButton::Yes | MsgButton::No | MsgButton::Cancel;

class ConfigForm : public ::testing::Test {
 protected:
  ConfigForm() {
    t.dir.Write("root/Cotlyn.ini", kSettings);
    ForceDirectories(t.Root() + "Bramble/Data");
    ForceDirectories(t.Root() + "Caf\xC3\xA9/Data");
    model.Load(t.Root() + "Cotlyn.ini");
  }
  // The value cell of key in a table; fails the test when there is none.
  static QTableWidgetItem* Cell(const QTableWidget& table, const char* key) {
    for (int r = 0; r < table.rowCount(); ++r)
      if (table.item(r, TConfigForm::KeyColumn)->text() == QLatin1String(key))
        return table.item(r, TConfigForm::ValueColumn);
    ADD_FAILURE() << "no row " << key;
    return nullptr;
  }
  static int RowOf(const QTableWidget& table, const char* key) { return Cell(table, key)->row(); }
  std::string File() const { return t.dir.Read("root/Cotlyn.ini"); }
  std::string CloseQuestion() const { return "Save the changes to " + t.Root() + "Cotlyn.ini?"; }

  TestSession t;
  ConfigModel model{t.dir.Path() + "tmp/"};
};

TEST_F(ConfigForm, EditsInBothTablesAreSaved) {
  TConfigForm form(model, t.dialogs);
  form.show();
  EXPECT_EQ(form.windowTitle(), QString::fromStdString("Cotlyn Configuration - " + t.Root() + "Cotlyn.ini"));
  ASSERT_EQ(form.propertyList->count(), 2);
  EXPECT_EQ(form.propertyList->item(1)->text(), QStringLiteral("2  Caf\u00e9"));
  EXPECT_EQ(form.propertyList->currentRow(), 0);
  EXPECT_FALSE(Cell(*form.commonTable, "NumProps")->flags() & Qt::ItemIsEditable);
  EXPECT_EQ(form.commonTable->item(RowOf(*form.commonTable, "Tax"), TConfigForm::DefaultColumn)->text(),
            QStringLiteral("20"));

  Cell(*form.commonTable, "Port")->setText(QStringLiteral("587"));
  // A count of letter types brings its rows in after it.
  Cell(*form.commonTable, "NLetters")->setText(QStringLiteral("1"));
  EXPECT_EQ(RowOf(*form.commonTable, "L1-Desc"), RowOf(*form.commonTable, "NLetters") + 1);
  Cell(*form.commonTable, "L1-Desc")->setText(QStringLiteral("Confirmation \u2013 deposit"));

  form.propertyList->setCurrentRow(1);
  EXPECT_EQ(Cell(*form.propertyTable, "PropName")->text(), QStringLiteral("Caf\u00e9"));
  EXPECT_EQ(Cell(*form.propertyTable, "CS")->text(), QStringLiteral("\u00a3"));
  Cell(*form.propertyTable, "ExtChg1")->setText(QStringLiteral("Fuel"));

  form.saveButton->click();
  EXPECT_EQ(form.status->text(), QStringLiteral("Saved"));
  EXPECT_EQ(File(),
            "[Common]\r\nport=587\r\nNumProps=2\r\nCustom=kept\r\nNLetters=1\r\nL1-Desc=Confirmation \x96 deposit\r\n"
            "[Prop01]\r\nPropName=Bramble\r\n[Prop02]\r\nPropName=Caf\xE9\r\nExtChg1=Fuel\r\n");
  EXPECT_TRUE(form.close());  // nothing left to save: no question
}

// The SMTP password is typed hidden, stored scrambled and never shown.
TEST_F(ConfigForm, ThePasswordIsStoredScrambledAndNeverShown) {
  TConfigForm form(model, t.dialogs);
  QTableWidgetItem* cell = Cell(*form.commonTable, "ePC");
  EXPECT_EQ(cell->text(), QString());
  cell->setText(QStringLiteral("s3cret \u00a3"));
  cell = Cell(*form.commonTable, "ePC");
  EXPECT_EQ(cell->text(), QStringLiteral("\u25CF\u25CF\u25CF\u25CF\u25CF\u25CF\u25CF\u25CF"));
  EXPECT_EQ(DescramblePassword(model.Value("Common", "ePC")), "s3cret \xA3");
  cell->setText(cell->text());  // the mask put back is no new password
  EXPECT_EQ(DescramblePassword(model.Value("Common", "ePC")), "s3cret \xA3");
  Cell(*form.commonTable, "ePC")->setText(QString());  // nor is the empty cell left without typing
  EXPECT_EQ(DescramblePassword(model.Value("Common", "ePC")), "s3cret \xA3");
  form.saveButton->click();
  EXPECT_EQ(File().find("s3cret"), std::string::npos);
  EXPECT_NE(File().find("ePC=" + ScramblePassword("s3cret \xA3") + "\r\n"), std::string::npos);
}

TEST_F(ConfigForm, AWrongValueIsRefusedAndStaysInTheWindowUntilClosedWithoutSaving) {
  TConfigForm form(model, t.dialogs);
  form.show();
  Cell(*form.commonTable, "Port")->setText(QStringLiteral("abc"));
  t.dialogs.Expect(
      "These values cannot be used:\rCommon Port = \"abc\": needs a whole number from 1 to 65535\r"
      "The settings were not saved.",
      MsgIcon::Error, MsgButton::OK, 0, MsgButton::OK);
  form.saveButton->click();
  t.dialogs.VerifyAllShown();
  EXPECT_EQ(File(), kSettings);
  EXPECT_EQ(Cell(*form.commonTable, "Port")->text(), QStringLiteral("abc"));

  t.dialogs.Expect(CloseQuestion(), MsgIcon::Confirmation, kYesNoCancel, 0, MsgButton::Cancel);
  EXPECT_FALSE(form.close());
  EXPECT_TRUE(form.isVisible());
  t.dialogs.Expect(CloseQuestion(), MsgIcon::Confirmation, kYesNoCancel, 0, MsgButton::No);
  EXPECT_TRUE(form.close());
  EXPECT_EQ(File(), kSettings);
}

TEST_F(ConfigForm, AddPropertyChecksTheNameAndClosingSavesItWithItsFolders) {
  TConfigForm form(model, t.dialogs);
  form.show();
  t.dialogs.ExpectInput("Name of the new property:", "CAF\xC9")
      .Expect("Cannot add the property \"CAF\xC9\": property 2 has that name", MsgIcon::Error, MsgButton::OK, 0,
              MsgButton::OK);
  form.addButton->click();
  EXPECT_EQ(form.propertyList->count(), 2);
  t.dialogs.ExpectInput("Name of the new property:", "", false);  // cancelled
  form.addButton->click();
  t.dialogs.ExpectInput("Name of the new property:", "Heron");
  form.addButton->click();
  t.dialogs.VerifyAllShown();
  ASSERT_EQ(form.propertyList->count(), 3);
  EXPECT_EQ(form.propertyList->currentRow(), 2);
  EXPECT_EQ(Cell(*form.propertyTable, "PropName")->text(), QStringLiteral("Heron"));
  Cell(*form.propertyTable, "BalDue")->setText(QStringLiteral("8"));

  t.dialogs.Expect(CloseQuestion(), MsgIcon::Confirmation, kYesNoCancel, 0, MsgButton::Yes);
  EXPECT_TRUE(form.close());
  EXPECT_EQ(File(), "[Common]\r\nport=25\r\nNumProps=3\r\nCustom=kept\r\n[Prop01]\r\nPropName=Bramble\r\n[Prop02]\r\n"
                    "PropName=Caf\xE9\r\n\r\n[Prop03]\r\nPropName=Heron\r\nBalDue=8\r\n");
  EXPECT_TRUE(DirectoryExists(t.Root() + "Heron/Booking Forms"));
}

TEST_F(ConfigForm, AFailedSaveOnClosingKeepsTheWindowAndItsEdits) {
  t.dir.Write("root/Heron", "a file where the folder would go");
  TConfigForm form(model, t.dialogs);
  form.show();
  t.dialogs.ExpectInput("Name of the new property:", "Heron");
  form.addButton->click();
  t.dialogs.Expect(CloseQuestion(), MsgIcon::Confirmation, kYesNoCancel, 0, MsgButton::Yes)
      .Expect("Cannot create the folder " + t.Root() + "Heron/Data/\rThe settings were not saved.", MsgIcon::Error,
              MsgButton::OK, 0, MsgButton::OK);
  EXPECT_FALSE(form.close());
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(form.propertyList->count(), 3);
  EXPECT_EQ(File(), kSettings);
  t.dialogs.VerifyAllShown();

  DeleteFileAt(t.Root() + "Heron");
  form.saveButton->click();
  EXPECT_TRUE(DirectoryExists(t.Root() + "Heron/Data"));
  EXPECT_NE(File().find("NumProps=3"), std::string::npos);
}

}  // namespace
}  // namespace tb::test

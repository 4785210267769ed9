// The export window: an unsaved drag changes what "Export" writes, closing with changes
// asks, "default" cannot be saved over, and the dates and title choice are kept.

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "maintenance/Export.h"
#include "maintenance/forms/TExportForm.h"
#include "platform/FileSystem.h"
#include "platform/forms/QtText.h"
#include "support/Builders.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

class ExportForm : public ::testing::Test {
 protected:
  ExportForm() {
    t.Load("[Common]\nNumProps=1\nViewMode=M\n[Prop01]\nPropName=Ash\n");
    Book_Rec b = MakeBooking(EncodeDate(2025, 6, 7), 7, "Hope");
    b.Fnames = "Dr. John";
    s.Prop(1).Bookings.Append(b);
    ForceDirectories(TemplatesFolder(s));
    WriteWholeFile(TemplatesFolder(s) + "default.xtf", DefaultExportTemplateText());
    WriteWholeFile(TemplatesFolder(s) + "names.xtf",
                   "05 Surname\r\n07 First\r\n--Optional items - not currently exported--\r\n06 Title\r\n");
  }
  std::string FileText(const std::string& path) {
    std::string text;
    ReadWholeFile(path, text);
    return text;
  }
  const char* kClosing = "Template changed - quit and lose changes?\r(Cancel returns to the form)";
  TestSession t;
  Session& s = t.session;
};

TEST_F(ExportForm, UnsavedDragOfTheTitleSplitsItFromTheFirstNames) {
  TExportForm form(s);
  form.TFileBox->setCurrentText(QStringLiteral("names"));
  form.show();
  EXPECT_EQ(form.Memo1->toPlainText().toStdString(),
            "Selected properties will be exported to CSV file: " + BookingsExportPath(s));
  // Last year, as nothing is stored yet.
  EXPECT_EQ(form.ExStart->date(), QDate(2025, 1, 1));
  EXPECT_EQ(form.ExEnd->date(), QDate(2025, 12, 31));
  EXPECT_FALSE(form.saveButton->isEnabled());

  form.MoveItem(form.LV1, 0, form.LV, 1);  // Title between Surname and First
  EXPECT_TRUE(form.saveButton->isEnabled());
  EXPECT_EQ(form.ListedTemplate(), (ExportTemplate{{{5, "Surname"}, {6, "Title"}, {7, "First"}}, {}}));
  form.MoveItem(form.LV, 0, form.LV, -1);  // Surname to the end, within the list
  form.exportButton->click();
  EXPECT_EQ(FileText(BookingsExportPath(s)), "\"Title\",\"First\",\"Surname\"\r\n\"Dr\",\"John\",\"Hope\"\r\n \r\n");
  EXPECT_EQ(t.runner.opened, std::vector<std::string>{BookingsExportPath(s)});
  EXPECT_NE(form.Memo1->toPlainText().toStdString().find("Property: Ash.  Exported 1 Bookings\nExport complete."),
            std::string::npos);
  EXPECT_EQ(FileText(TemplatesFolder(s) + "names.xtf").substr(0, 10), "05 Surname");  // not saved

  t.dialogs.Expect(kClosing, MsgIcon::Confirmation, MsgButton::Yes | MsgButton::Cancel, 0, MsgButton::Cancel);
  form.closeButton->click();
  EXPECT_TRUE(form.isVisible());
  t.dialogs.Expect(kClosing, MsgIcon::Confirmation, MsgButton::Yes | MsgButton::Cancel, 0, MsgButton::Yes);
  form.cbHdr->setChecked(true);
  form.ExEnd->setDate(QDate(2025, 10, 31));
  form.closeButton->click();
  EXPECT_FALSE(form.isVisible());
  t.dialogs.VerifyAllShown();
  // The choices are kept, in the session and in the registry.
  EXPECT_TRUE(s.prefs.CsvHeader());
  EXPECT_EQ(s.prefs.CsvEndDate(), static_cast<int32_t>(EncodeDate(2025, 10, 31)));
  TExportForm again(s);
  EXPECT_TRUE(again.cbHdr->isChecked());
  EXPECT_EQ(again.ExEnd->date(), QDate(2025, 10, 31));
}

TEST_F(ExportForm, DefaultIsRefusedAndTheSavedTemplateIsSelected) {
  TExportForm form(s);
  form.show();
  EXPECT_EQ(form.TFileBox->currentText(), QStringLiteral("default"));
  form.LV->setCurrentItem(form.LV->topLevelItem(0));
  t.dialogs.ExpectInput("Enter new name", "Cottage");
  form.RenameItem(form.LV);
  EXPECT_EQ(form.LV->topLevelItem(0)->text(0), QStringLiteral("Cottage"));
  t.dialogs.ExpectInput("Enter template name (change if required):", "default")
      .Expect("Cannot alter default template", MsgIcon::Error, MsgButton::Retry, 0, MsgButton::Retry)
      .ExpectInput("Enter template name (change if required):", "cottages");
  form.saveButton->click();
  t.dialogs.VerifyAllShown();
  EXPECT_EQ(form.TFileBox->currentText(), QStringLiteral("cottages"));
  EXPECT_EQ(form.TFileBox->count(), 3);
  EXPECT_FALSE(form.saveButton->isEnabled());
  EXPECT_EQ(FileText(TemplatesFolder(s) + "default.xtf"), DefaultExportTemplateText());
  ExportTemplate saved;
  ASSERT_TRUE(LoadExportTemplate(s, "cottages", saved));
  EXPECT_EQ(saved.exported[0].heading, "Cottage");
  form.close();  // saved: nothing to ask
  EXPECT_FALSE(form.isVisible());
  if (const char* shot = std::getenv("TB_EXPORT_SCREENSHOT")) {
    form.show();
    form.grab().save(QString::fromLocal8Bit(shot));
  }
}

TEST_F(ExportForm, NoTemplatesLeaveTheListsEmpty) {
  DeleteFileAt(TemplatesFolder(s) + "default.xtf");
  DeleteFileAt(TemplatesFolder(s) + "names.xtf");
  t.dialogs.Expect("Error - No control files found", MsgIcon::Error, MsgButton::OK, 0, MsgButton::OK);
  TExportForm form(s);
  form.show();
  EXPECT_EQ(form.LV->topLevelItemCount() + form.LV1->topLevelItemCount(), 0);
  t.dialogs.VerifyAllShown();
}

}  // namespace
}  // namespace tb::test

// The import window from the main window's command: what it shows, what its buttons do
// with scripted answers, and the chart redrawn for the property that received bookings.

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/forms/TMainForm.h"
#include "maintenance/forms/TImportForm.h"
#include "platform/FileSystem.h"
#include "store/BookingFile.h"
#include "support/Builders.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

const TDateTime kJun = EncodeDate(2027, 6, 1) - 1;

class ImportForm : public ::testing::Test {
 protected:
  ImportForm() {
    t.Load("[Common]\nViewMode=M\nNumProps=2\n[Prop01]\nPropName=Ash\n[Prop02]\nPropName=Birch\n");
    for (const char* name : {"Ash", "Birch"}) {
      ForceDirectories(t.Root() + name + "/Data");
      ForceDirectories(t.Root() + name + "/Archive");
    }
    WriteWholeFile(File(), BookingFileImage({MakeBooking(kJun + 2, 7, "Adams")}));
    t.session.ComputeSeasonYear();
  }
  std::string File() const { return t.Root() + "Birch/Data/Bookings.bks"; }
  QString Csv(const std::string& text) { return QString::fromStdString(t.dir.Write("in.csv", text)); }
  std::string FileBytes() const {
    std::string bytes;
    ReadWholeFile(File(), bytes);
    return bytes;
  }
  TestSession t;
  Session& s = t.session;
  StartupEnvironment env;
};

TEST_F(ImportForm, AConfirmedFileIsWrittenAndItsPropertyRedrawn) {
  TMainForm main(s, env);
  main.FirstShow();
  std::vector<int> redrawn;
  const auto paint = s.chartChanged;
  s.chartChanged = [&](int n) {
    redrawn.push_back(n);
    if (paint) paint(n);
  };
  s.Prop(1).ImportSel = 1;  // left from an earlier run: cleared when the window shows
  bool shown = false;
  main.showImport = [&](TImportForm& f) {
    shown = true;
    f.Memo1->setPlainText(QStringLiteral("an earlier import"));
    f.show();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Import"));
    EXPECT_TRUE(f.Memo1->toPlainText().isEmpty());
    EXPECT_EQ(s.Prop(1).ImportSel, 0);
    EXPECT_EQ(f.InFile->text().toStdString(), t.Root() + "Bookings.csv");
    ASSERT_EQ(f.LB->count(), 2);
    EXPECT_EQ(f.SelectedProperty(), 1);
    f.LB->setCurrentRow(1);
    f.InFile->setText(Csv("Birch,20/06/2027,7,700,Evans,,,,,,,,,,,,H\r\n"));
    t.dialogs.Expect("CSV File is valid\rContinue?", MsgIcon::Confirmation, MsgButton::Yes | MsgButton::Cancel, 0,
                     MsgButton::Yes);
    f.btImport->click();
    EXPECT_EQ(f.Memo1->toPlainText(), QStringLiteral("Imported 1 lines for Property Birch"));
    if (const char* shot = std::getenv("IMPORT_SCREENSHOT")) f.grab().save(QString::fromLocal8Bit(shot));
    f.btClose->click();
  };
  QAction* command = main.Command(QStringLiteral("Import bookings from CSV file"));
  ASSERT_NE(command, nullptr);
  ASSERT_TRUE(command->isEnabled());
  command->trigger();
  EXPECT_TRUE(shown);
  EXPECT_EQ(Surnames(FileRecords(File())), (std::vector<std::string>{"Adams", "Evans"}));
  EXPECT_EQ(redrawn, std::vector<int>{2});
  EXPECT_EQ(s.Prop(2).ImportSel, 0);
}

TEST_F(ImportForm, CancelABadLineAndNoPropertyChangeNothing) {
  const std::string before = FileBytes();
  TImportForm f(s);
  f.show();
  f.LB->setCurrentRow(1);
  f.chooseImportFile = [&]() { return Csv("Birch,20/06/2027,7,700,Evans,,,,,,,,,,,,\r\n"); };
  f.btBrowse->click();
  EXPECT_TRUE(f.InFile->text().endsWith(QStringLiteral("in.csv")));
  t.dialogs.Expect("CSV File is valid\rContinue?", MsgIcon::Confirmation, MsgButton::Yes | MsgButton::Cancel, 0,
                   MsgButton::Cancel);
  f.btImport->click();

  f.InFile->setText(Csv("Birch,20/06/2027,7,700,Evans,,,,,,,,,,,,\r\nBirch,03/06/2027,2,100,Fox,,,,,,,,,,,,\r\n"));
  t.dialogs.Expect("Data Error: CSV file invalid. Line 2\rImported Booking overlaps existing booking 1",
                   MsgIcon::Error, MsgButton::Abort, 0, MsgButton::Abort);
  f.btImport->click();

  f.LB->clearSelection();
  t.dialogs.Expect("No property selected", MsgIcon::Error, MsgButton::Abort, 0, MsgButton::Abort);
  f.btImport->click();

  EXPECT_TRUE(f.Memo1->toPlainText().isEmpty());
  EXPECT_EQ(FileBytes(), before);
  EXPECT_EQ(s.Prop(2).Bookings.Count(), 1);
}

}  // namespace
}  // namespace tb::test

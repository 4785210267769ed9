// The report window: what each kind sets up, the refusals, and the reports it runs.

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <unistd.h>

#include "platform/FileSystem.h"
#include "platform/forms/QtPrintCanvas.h"
#include "reports/RecordingCanvas.h"
#include "reports/forms/TReportForm.h"
#include "support/Builders.h"
#include "support/ChildProcess.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

// Three properties, the first current with one booking; made before the window is.
struct ReportRoot {
  ReportRoot() {
    t.Load(
        "[Common]\nver=V4.4\nNumProps=3\n[Prop01]\nPropName=Bramble\nChangeDay=7\n"
        "[Prop02]\nPropName=Ruza Rorazed\n[Prop03]\nPropName=Heron\n");
    for (int n = 1; n <= s.NumProps(); ++n) ForceDirectories(s.Prop(n).Folder + "Data/");
    s.CurrentProperty = 1;
    s.Prop(1).Bookings.Append(MakeBooking(EncodeDate(2027, 1, 9), 7, "Adams"));
  }
  TestSession t;  // today: Wednesday 9 December 2026, in Bramble's week 49
  Session& s = t.session;
};

class ReportForm : public ReportRoot, public ::testing::Test {
 protected:
  TReportForm form{s};
};

TEST_F(ReportForm, EachKindSetsItsCaptionsAndRangeAndKeepsTheChoicesWhileUnchanged) {
  EXPECT_EQ(form.SelectedProperties(), (std::vector<int>{1, 3}));  // not "Ruza Rorazed"
  EXPECT_EQ(form.pTaxYr->currentText(), QStringLiteral("2026"));
  EXPECT_EQ(form.pStYr->count(), 5);
  EXPECT_EQ(form.pStWeek->count(), 53);

  form.SetKind(ReportKind::Status);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Report Window: Print Status Report"));
  EXPECT_EQ(form.RunBut->text(), QStringLiteral("PRINT"));
  EXPECT_EQ(form.Prompt->text(), QStringLiteral("Adjust range, then click PRINT"));
  EXPECT_EQ(form.HelpContext(), 134);
  WeekRange r = form.Range();
  EXPECT_EQ((std::vector<int>{r.startYear, r.startWeek, r.endYear, r.endWeek}),
            (std::vector<int>{2026, 49, 2027, 49}));

  form.SetKind(ReportKind::ListFile);  // the end 27 weeks on
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Report Window: Create/View Booking List"));
  EXPECT_EQ(form.Prompt->text(), QStringLiteral("Adjust range, then click CREATE / VIEW"));
  EXPECT_EQ(form.HelpContext(), 138);
  r = form.Range();
  EXPECT_EQ((std::vector<int>{r.startYear, r.startWeek, r.endYear, r.endWeek}),
            (std::vector<int>{2026, 49, 2027, 24}));
  form.SetRange({2027, 2, 2027, 9});
  form.SetKind(ReportKind::ListFile);
  EXPECT_EQ(form.Range().startWeek, 2);

  form.SetKind(ReportKind::Income);
  EXPECT_TRUE(form.RangeBox->isHidden());
  EXPECT_FALSE(form.pTaxYr->isHidden());
  EXPECT_EQ(form.RunBut->text(), QStringLiteral("RUN"));
}

TEST_F(ReportForm, AnEmptyRangeOrABusyPrinterIsRefused) {
  form.SetKind(ReportKind::ListFile);
  form.SetRange({2027, 10, 2027, 10});
  t.dialogs.Expect("End date before start date", MsgIcon::Error, MsgButton::OK, 0, MsgButton::OK);
  form.Run();
  EXPECT_EQ(t.dialogs.beeps, 1);
  EXPECT_FALSE(FileExists(s.common.RootFolder + "Booking List.txt"));
  form.SetRange({2027, 10, 2027, 12});
  form.LB->clearSelection();  // nothing to report on: a beep, no box
  form.Run();
  EXPECT_EQ(t.dialogs.beeps, 2);
  EXPECT_FALSE(FileExists(s.common.RootFolder + "Booking List.txt"));

  form.SetKind(ReportKind::Status);
  form.printCanvas = []() {
    auto busy = std::make_unique<RecordingCanvas>();
    busy->busy = true;
    return busy;
  };
  t.dialogs.Expect("Printer in use. Close it.", MsgIcon::Warning, MsgButton::OK, 0, MsgButton::OK);
  form.Run();
}

TEST_F(ReportForm, TextReportsAreSavedAndOpened) {
  form.SetKind(ReportKind::ListFile);
  form.SetRange({2027, 1, 2027, 5});
  const std::string list = s.common.RootFolder + "Booking List.txt";
  t.dialogs.Expect("Booking list saved as " + list + "\rThis file will now be opened", MsgIcon::Information,
                   MsgButton::OK, 635, MsgButton::OK);
  form.Run();
  EXPECT_NE(t.dir.Read("root/Booking List.txt").find("Adams"), std::string::npos);
  EXPECT_EQ(t.runner.opened, std::vector<std::string>{list});

  form.SetKind(ReportKind::Availability);
  form.SetRange({2027, 1, 2027, 5});
  const std::string availability = s.common.RootFolder + "Availability Report.txt";
  t.dialogs.Expect("Availability Report saved as " + availability + "\rThis file will now be opened",
                   MsgIcon::Information, MsgButton::OK, 635, MsgButton::OK);
  form.Run();
  EXPECT_EQ(form.result(), QDialog::Accepted);  // the window closes
  EXPECT_NE(t.dir.Read("root/Availability Report.txt").find("Property: Heron"), std::string::npos);
}

// A report file that cannot be written says where and why, and opens nothing.
TEST_F(ReportForm, AReportThatCannotBeWrittenSaysWhy) {
  ForceDirectories(s.common.RootFolder + "Booking List.txt/");  // a folder in its place
  form.SetKind(ReportKind::ListFile);
  form.SetRange({2027, 1, 2027, 5});
  t.dialogs.Expect("Cannot write " + s.common.RootFolder + "Booking List.txt\rIs a directory", MsgIcon::Error,
                   MsgButton::Abort, 0, MsgButton::Abort);
  form.Run();
  EXPECT_TRUE(t.runner.opened.empty());
}

TEST_F(ReportForm, TheStatusReportPrintsToPdf) {
  const std::string pdf = t.dir.Path() + "status.pdf";
  form.printCanvas = [&]() { return std::make_unique<QtPrintCanvas>(pdf); };
  form.SetKind(ReportKind::Status);
  form.SetRange({2027, 1, 2027, 5});
  form.LB->clearSelection();
  form.LB->item(0)->setSelected(true);
  form.Run();
  const std::string text = PdfText(pdf);
  for (const char* want : {"Bramble - Bookings Status Report", "Week - starts..", "09 Jan 2027", "30 Jan 2027",
                           "Adams", "Page 1"})
    EXPECT_NE(text.find(want), std::string::npos) << want << " not in:\n" << text;
  EXPECT_EQ(t.dialogs.beeps, 1);
}

TEST_F(ReportForm, TheIncomeCsvIsSavedAndOpenedOrSaysWhyNot) {
  form.SetKind(ReportKind::IncomeCsv);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Report Window: Export Income as CSV File"));
  EXPECT_EQ(form.HelpContext(), 144);
  form.SetTaxYear(2027);
  const std::string csv = s.common.RootFolder + "Cotlyn Income to 2027-04-04.csv";
  ForceDirectories(csv + "/");  // a folder in its place
  t.dialogs.Expect("Error " + std::to_string(EISDIR) + " opening file " + csv + "\rIs a directory", MsgIcon::Error, MsgButton::Abort, 0,
                   MsgButton::Abort);
  form.Run();
  EXPECT_TRUE(t.runner.opened.empty());
  EXPECT_NE(form.result(), QDialog::Accepted);

  ASSERT_EQ(::rmdir(csv.c_str()), 0);
  t.dialogs.Expect("Exported data to " + csv + "\rFile will open in registered application", MsgIcon::Information,
                   MsgButton::OK, 635, MsgButton::OK);
  form.Run();
  EXPECT_EQ(t.runner.opened, std::vector<std::string>{csv});
  EXPECT_EQ(form.result(), QDialog::Accepted);
  const std::string text = t.dir.Read("root/Cotlyn Income to 2027-04-04.csv");
  EXPECT_NE(text.find("09-Jan-2027,\"Adams\",7,\xA3" "700.00,\"\""), std::string::npos) << text;
  EXPECT_NE(text.find("\"Income Report for Property: Heron\""), std::string::npos) << text;
}

// 80 lets run onto a second page, which repeats the heads; the totals close the last.
TEST_F(ReportForm, TheIncomeStatementPrintsEveryLetAcrossPages) {
  Prop_Rec& bramble = s.Prop(1);
  bramble.Bookings.Clear();
  for (int i = 0; i < 80; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "Guest%02d", i + 1);
    bramble.Bookings.Append(MakeBooking(EncodeDate(2026, 4, 6) + 3 * i, 3, name, Paid));
  }
  const std::string pdf = t.dir.Path() + "income.pdf";
  form.printCanvas = [&]() { return std::make_unique<QtPrintCanvas>(pdf); };
  form.SetKind(ReportKind::Income);
  EXPECT_EQ(form.HelpContext(), 142);
  form.SetTaxYear(2027);
  form.LB->clearSelection();
  form.LB->item(0)->setSelected(true);
  form.Run();
  const std::string text = PdfText(pdf);
  const size_t page2 = text.find('\f');
  ASSERT_NE(page2, std::string::npos) << text;
  EXPECT_EQ(text.find('\f', page2 + 1), text.size() - 1) << "two pages:\n" << text;
  for (int i = 1; i <= 80; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "Guest%02d", i);
    EXPECT_NE(text.find(name), std::string::npos) << name;
  }
  EXPECT_NE(text.find("Property: Bramble."), std::string::npos) << text;
  EXPECT_NE(text.find("Income for Tax Year 2026-2027", page2), std::string::npos) << text;
  EXPECT_NE(text.find("06-Apr-2026 - 09-Apr-2026"), std::string::npos) << text;
  EXPECT_NE(text.find("From - To", page2), std::string::npos) << text;
  EXPECT_NE(text.find("Total Income = \xC2\xA3" "24,000.00", page2), std::string::npos) << text;
  EXPECT_NE(text.find("Total days let = 240", page2), std::string::npos) << text;
  EXPECT_EQ(t.dialogs.beeps, 1);
}

}  // namespace
}  // namespace tb::test

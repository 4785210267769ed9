// The statistics window: the year start field, the tables as shown, the plots, the
// list of bookings without a source and the refusals.

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QLineEdit>
#include <QListWidget>
#include <QTextBlock>
#include <QTextEdit>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/Startup.h"
#include "app/forms/TMainForm.h"
#include "platform/FileSystem.h"
#include "platform/forms/QtText.h"
#include "reports/Statistics.h"
#include "reports/forms/TReportForm.h"
#include "reports/forms/TStatsForm.h"
#include "support/Builders.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

// Two properties, the first with a let in each of the last two years (one without a
// source), the second empty; the chart shows 2026 and 2027.
struct StatsRoot {
  StatsRoot() {
    t.Load("[Common]\nNumProps=2\nTaxYr=0406\n[Prop01]\nPropName=Ash\n[Prop02]\nPropName=Elm\n");
    s.ComputeSeasonYear();
    for (int n = 1; n <= s.NumProps(); ++n) ForceDirectories(s.Prop(n).Folder + "Data/");
    s.CurrentProperty = 1;
    Book_Rec web = MakeBooking(EncodeDate(2025, 8, 1), 7, "Ames", Paid);
    web.Source = "Web";
    s.Prop(1).Bookings.Append(web);
    s.Prop(1).Bookings.Append(MakeBooking(EncodeDate(2026, 8, 1), 7, "Bell", Paid));
  }
  TestSession t;
  Session& s = t.session;
};

class StatsForm : public StatsRoot, public ::testing::Test {
 protected:
  TStatsForm form{s};
};

TEST_F(StatsForm, ShowsTheTablesAndPlotsThem) {
  EXPECT_EQ(form.YEday->text(), QStringLiteral("06/04"));  // the tax day
  form.Analyse();
  const StatsResult r = AnalyseBookings(s, {1, 2}, 6, 4);
  QStringList want;
  for (const StatsLine& line : StatsLines(r)) want << ToQ(line.text);
  EXPECT_EQ(form.RichEdit1->toPlainText().split(QLatin1Char('\n')), want);
  const QTextBlock first = form.RichEdit1->document()->firstBlock();
  EXPECT_EQ(first.begin().fragment().charFormat().fontWeight(), QFont::Bold);
  EXPECT_EQ(first.next().next().blockFormat().tabPositions().size(), 4);
  EXPECT_EQ(form.incomeChart->chart()->series().size(), 2);
  EXPECT_EQ(form.forwardChart->chart()->series().size(), 6);

  // The list of bookings without a source is kept privately and opened on request.
  const std::string list = NoSourcePath(s);
  EXPECT_EQ(t.dir.Read("tmp/NoSource.txt"), "Date=01/08/2026 Name=Bell  Prop=Ash\r\n");
  struct stat st {};
  ASSERT_EQ(stat(list.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 077, 0u);
  form.ViewNoSource();
  EXPECT_EQ(t.runner.opened, std::vector<std::string>{list});

  form.Analyse();  // again: the same text, not added to
  EXPECT_EQ(form.RichEdit1->toPlainText().split(QLatin1Char('\n')), want);

  // An analysis finding every source leaves no list of another one's to view.
  form.LB->clearSelection();
  form.LB->item(0)->setSelected(true);
  s.Prop(1).Bookings.Last()->Rec.Source = "Phone";
  form.Analyse();
  EXPECT_FALSE(FileExists(list));
}

TEST_F(StatsForm, RefusesABadYearStartDayAndKeepsTheLastGoodOne) {
  const struct {
    const char* text;
    const char* refused;
  } cases[] = {{"01/13", "Invalid month, must be 01 to 12"}, {"1/01", "Invalid day, must be 01 to 31"}};
  for (const auto& c : cases) {
    form.YEday->setText(QString::fromLatin1(c.text));
    t.dialogs.Expect(c.refused, MsgIcon::Error, MsgButton::OK, 0, MsgButton::OK);
    EXPECT_FALSE(form.YEdayExit()) << c.text;
  }
  EXPECT_EQ(t.dialogs.beeps, 2);
  EXPECT_EQ(form.StartDay(), 6);
  EXPECT_EQ(form.StartMonth(), 4);
  form.Analyse();  // Enter on the refused day: no analysis with the last good one
  EXPECT_TRUE(form.RichEdit1->toPlainText().isEmpty());
  form.YEday->setText(QStringLiteral("01/01"));
  EXPECT_TRUE(form.YEdayExit());
  form.Analyse();
  EXPECT_TRUE(form.RichEdit1->toPlainText().contains(QStringLiteral("\t31 Dec 2026\t 7\t 700.00\t 0.00")));
}

TEST_F(StatsForm, SaysWhenThereIsNothingToAnalyseOrToView) {
  t.dialogs.Expect("Cannot view list - run statistics first?", MsgIcon::None, MsgButton::OK, 0, MsgButton::OK);
  form.ViewNoSource();
  EXPECT_EQ(t.dialogs.beeps, 1);
  EXPECT_TRUE(t.runner.opened.empty());

  form.LB->clearSelection();
  form.LB->item(1)->setSelected(true);  // Elm: no bookings
  t.dialogs.Expect("No data found for selected property(s)", MsgIcon::None, MsgButton::OK, 0, MsgButton::OK);
  form.Analyse();
  EXPECT_TRUE(form.RichEdit1->toPlainText().isEmpty());
}

// "View Statistics" (Ctrl+S) shows one window that keeps its year start day; the
// income reports open the report window in their kinds.
TEST_F(StatsForm, TheMainWindowOpensStatisticsAndTheIncomeReports) {
  StartupEnvironment env;
  TMainForm main(s, env);
  std::vector<TStatsForm*> shown;
  main.showStats = [&](TStatsForm& f) {
    shown.push_back(&f);
    f.YEday->setText(QStringLiteral("01/01"));
    f.YEdayExit();
  };
  QAction* stats = main.Command(QStringLiteral("View Statistics"));
  ASSERT_NE(stats, nullptr);
  EXPECT_TRUE(stats->isEnabled());
  EXPECT_EQ(stats->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
  stats->trigger();
  stats->trigger();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0], shown[1]);
  EXPECT_EQ(shown[1]->StartMonth(), 1);

  std::vector<ReportKind> kinds;
  main.showReport = [&](TReportForm& f) { kinds.push_back(f.Kind()); };
  main.Command(QStringLiteral("Print Income Report for tax return"))->trigger();
  main.Command(QStringLiteral("Create Income Report (for accounts) as .csv"))->trigger();
  EXPECT_EQ(kinds, (std::vector<ReportKind>{ReportKind::Income, ReportKind::IncomeCsv}));
}

}  // namespace
}  // namespace tb::test

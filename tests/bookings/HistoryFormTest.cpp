// "View booking history" from the main window: the property and year it starts on, the
// five columns after View, the grid cleared by a change of year or property, and the
// refusal without a property.

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <gtest/gtest.h>

#include "app/forms/TMainForm.h"
#include "bookings/forms/THistoryForm.h"
#include "platform/FileSystem.h"
#include "store/BookingFile.h"
#include "support/Builders.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

// Three properties, today 9 Dec 2026: the chart shows 2026 and 2027.
class HistoryForm : public ::testing::Test {
 protected:
  void Open(const std::string& viewMode, int current, const std::function<void(THistoryForm&)>& use) {
    t.Load(SimpleSettings(3, "ViewMode=" + viewMode + "\n"));
    s.CurrentProperty = viewMode == "M" ? 0 : current;
    s.ComputeSeasonYear();
    for (int n = 1; n <= 3; ++n) ForceDirectories(s.Prop(n).Folder + "Data/");
    Book_Rec let = MakeBooking(EncodeDate(2027, 1, 9), 7, "Hale", Paid);
    let.DateB = EncodeDate(2026, 10, 5);
    ASSERT_TRUE(WriteWholeFile(BookingFilePath(s, 3), BookingFileImage({let})));
    TMainForm form(s, env);
    int opened = 0;
    form.showHistory = [&](THistoryForm& f) {
      ++opened;
      use(f);
    };
    form.Command(QStringLiteral("View booking history"))->trigger();
    EXPECT_EQ(opened, 1);
  }
  static QStringList Headings(const THistoryForm& f) {
    QStringList texts;
    for (int c = 0; c < f.Grid->columnCount(); ++c) texts << f.Grid->horizontalHeaderItem(c)->text();
    return texts;
  }
  // A row's caption and its five year cells.
  static QStringList Row(const THistoryForm& f, int row) {
    QStringList texts;
    for (int c = 0; c < f.Grid->columnCount(); ++c) texts << f.Grid->item(row, c)->text();
    return texts;
  }
  TestSession t;
  Session& s = t.session;
  StartupEnvironment env;
};

const QStringList kFrom2027 = {QStringLiteral("Week"), QStringLiteral("2027"), QStringLiteral("2026"),
                               QStringLiteral("2025"), QStringLiteral("2024"), QStringLiteral("2023")};
const QStringList kCleared = {QStringLiteral("1"), QString(), QString(), QString(), QString(), QString()};

TEST_F(HistoryForm, StartsOnTheSecondChartYearAndTheCurrentOrFirstProperty) {
  struct Case {
    const char* viewMode;
    int current;
    int selected;
  } cases[] = {{"C", 2, 2}, {"M", 0, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.viewMode);
    Open(c.viewMode, c.current, [&](THistoryForm& f) {
      EXPECT_EQ(f.windowTitle(), QStringLiteral("Bookings History"));
      EXPECT_EQ(f.SelectedProperty(), c.selected);
      EXPECT_EQ(f.YearEdit->text(), QStringLiteral("2027"));
      EXPECT_TRUE(f.YearEdit->isReadOnly());
      EXPECT_EQ(f.Grid->rowCount(), 53);
      EXPECT_EQ(Headings(f), kFrom2027);
      EXPECT_EQ(Row(f, 0), kCleared);
      EXPECT_EQ(f.Grid->item(52, 0)->text(), QStringLiteral("53"));
    });
  }
}

TEST_F(HistoryForm, ViewFillsTheColumnsAndAChangeOfYearOrPropertyClearsThem) {
  Open("C", 1, [&](THistoryForm& f) {
    f.PropList->setCurrentRow(2);  // property 3: its file is read for the view
    f.ViewBut->click();
    EXPECT_EQ(Row(f, 0), (QStringList{QStringLiteral("1 09 Jan 2027"), QStringLiteral("05/10/2026"),
                                      QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("-"),
                                      QStringLiteral("-")}));
    // Of these years only 2026 has a week 53 (Saturday changeover).
    EXPECT_EQ(Row(f, 52), (QStringList{QStringLiteral("53"), QString(), QStringLiteral("-"), QString(), QString(),
                                       QString()}));

    f.UpBut->click();
    EXPECT_EQ(f.YearEdit->text(), QStringLiteral("2028"));
    EXPECT_EQ(Headings(f), (QStringList{QStringLiteral("Week"), QStringLiteral("2028"), QStringLiteral("2027"),
                                        QStringLiteral("2026"), QStringLiteral("2025"), QStringLiteral("2024")}));
    EXPECT_EQ(Row(f, 0), kCleared);
    f.ViewBut->click();
    EXPECT_EQ(f.Grid->item(0, 2)->text(), QStringLiteral("05/10/2026"));
    f.DownBut->click();
    EXPECT_EQ(Headings(f), kFrom2027);
    EXPECT_EQ(Row(f, 0), kCleared);

    f.ViewBut->click();
    f.PropList->setCurrentRow(0);
    EXPECT_EQ(Row(f, 0), kCleared);
    EXPECT_EQ(Headings(f), kFrom2027);
  });
  t.dialogs.VerifyAllShown();
}

TEST_F(HistoryForm, ViewWithoutAPropertyIsRefusedAndF1OpensItsHelp) {
  Open("C", 1, [&](THistoryForm& f) {
    f.PropList->clearSelection();
    t.dialogs.Expect("No property selected", MsgIcon::Error, MsgButton::OK, 0, MsgButton::OK);
    f.ViewBut->click();
    t.dialogs.VerifyAllShown();
    EXPECT_EQ(Row(f, 0), kCleared);
    for (QAction* a : f.actions())
      if (a->shortcut() == QKeySequence(Qt::Key_F1)) a->trigger();
  });
  EXPECT_EQ(t.runner.opened, std::vector<std::string>{s.common.HelpFolder + "162.html"});
}

}  // namespace
}  // namespace tb::test

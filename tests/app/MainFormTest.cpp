#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <gtest/gtest.h>

#include "app/ChartActions.h"
#include "app/forms/ChartArea.h"
#include "bookings/forms/TBookForm.h"
#include "bookings/Rates.h"
#include "platform/FileSystem.h"
#include "app/forms/TAboutForm.h"
#include "app/forms/TMainForm.h"
#include "store/forms/FillPropertyList.h"
#include "store/Settings.h"
#include "support/Builders.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

class MainForm : public ::testing::Test {
 protected:
  void Load(const std::string& settings, int current) {
    t.Load(settings);
    t.session.CurrentProperty = current;
  }
  TestSession t;
  StartupEnvironment env;
};

TEST_F(MainForm, PropertyWindowCaptionAndOpenEntries) {
  std::string ini = "[Common]\nNumProps=12\n";
  for (int n = 1; n <= 12; ++n) ini += "[" + PropertySection(n) + "]\nPropName=Cottage " + std::to_string(n) + "\n";
  Load(ini, 2);
  TMainForm form(t.session, env);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Cotlyn: Property=Cottage 2"));
  EXPECT_EQ(form.ApplicationTitle(), QStringLiteral("Cottage 2"));
  ASSERT_EQ(form.openActions.size(), 12);
  EXPECT_EQ(form.openActions[0]->text(), QStringLiteral("Open Cottage 1"));
  EXPECT_FALSE(form.openActions[1]->isEnabled());  // the property on show
  EXPECT_TRUE(form.openActions[0]->isEnabled());
  for (int i : {0, 9, 10, 11})  // properties 10, 11 and 12 carry Ctrl+1 too
    EXPECT_EQ(form.openActions[i]->shortcut(), QKeySequence(QStringLiteral("Ctrl+1"))) << i;
  EXPECT_EQ(form.openActions[4]->shortcut(), QKeySequence(QStringLiteral("Ctrl+5")));
  ASSERT_NE(form.chartArea->headerLine, nullptr);
  EXPECT_TRUE(form.chartArea->headerLine->text().startsWith(QStringLiteral("Week---------Starts")));
  EXPECT_FALSE(form.chartArea->headerLine->text().endsWith(QStringLiteral("--Fuel--")));
}

TEST_F(MainForm, FuelColumnAndASinglePropertyWithoutOpenEntries) {
  Load("[Common]\nNumProps=1\n[Prop01]\nPropName=Solo\nExtChg1=Fuel\n", 1);
  TMainForm form(t.session, env);
  EXPECT_TRUE(form.openActions.isEmpty());
  EXPECT_EQ(form.ChartWidth(), 539);
  EXPECT_TRUE(form.chartArea->headerLine->text().endsWith(QStringLiteral("Status--Fuel--")));
  form.ApplyPlacement();
  EXPECT_EQ(form.geometry().top(), 1);
  EXPECT_EQ(form.geometry().left(), 60);
}

TEST_F(MainForm, AllPropertiesWindow) {
  Load("[Common]\nViewMode=M\nNumProps=2\n[Prop01]\nPropName=A\n[Prop02]\nPropName=B\n", 0);
  TMainForm form(t.session, env);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Tenbrook"));
  EXPECT_EQ(form.ApplicationTitle(), QStringLiteral("Cotlyn 4.4"));
  EXPECT_TRUE(form.openActions.isEmpty());
  EXPECT_EQ(form.chartArea->headerLine, nullptr);
  EXPECT_NE(form.chartArea->headerStrip, nullptr);
}

TEST_F(MainForm, PropertyColumnMenuAndYearNavigation) {
  Load("[Common]\nViewMode=M\nNumProps=2\n[Prop01]\nPropName=A\n[Prop02]\nPropName=Barn\nAS=1\n", 0);
  for (const char* name : {"A", "Barn"}) ForceDirectories(t.Root() + name + "/Data");
  t.session.ComputeSeasonYear();
  TMainForm form(t.session, env);
  form.FirstShow();
  QMenu* menu = form.PropertyMenu(2);
  EXPECT_EQ(t.session.PickedProperty, 2);
  QStringList captions;
  for (QAction* a : menu->actions()) captions << a->text();
  EXPECT_EQ(captions, (QStringList{QStringLiteral("Edit Rates (Property Barn)"), QStringLiteral("Edit Rates - next year"),
                                   QStringLiteral("Edit Rates - previous year"),
                                   QStringLiteral("Manage letter proformas"), QStringLiteral("View Local Website"),
                                   QStringLiteral("View Owner Record"), QStringLiteral("Expenses"),
                                   QStringLiteral("Synch Agency (Barn)")}));
  EXPECT_FALSE(form.PropertyMenu(1)->actions().last()->text().startsWith(QStringLiteral("Synch")));

  form.acForwardYear->trigger();
  EXPECT_EQ(t.session.SeasonYear[0], 2027);
  EXPECT_EQ(form.chartArea->horizontalScrollBar()->value(), 0);
  form.acBackYear->trigger();
  form.acBackYear->trigger();
  EXPECT_EQ(t.session.SeasonYear[0], 2025);
  EXPECT_EQ(t.session.Prop(2).Weeks.size(), static_cast<size_t>(WeeksInYear(2025, 7) + WeeksInYear(2026, 7)));

  t.session.BookFormOpen = true;  // an editing window keeps the commands off
  form.EnableFileCommands(false);
  form.EnableFileCommands(true);
  EXPECT_FALSE(form.acForwardYear->isEnabled());
}

TEST_F(MainForm, AClickOpensTheBookingWindowAndTheCommandsWaitForIt) {
  Load("[Common]\nNumProps=1\n[Prop01]\nPropName=A\n", 1);
  ForceDirectories(t.Root() + "A/Data");
  const TDateTime start = EncodeDate(2027, 3, 6);
  WriteWholeFile(t.Root() + "A/Data/Bookings.bks", BookingFileImage({MakeBooking(start, 7, "Adams")}));
  t.session.ComputeSeasonYear();
  TMainForm form(t.session, env);
  form.FirstShow();
  form.OpenBooking(OpenBookingAt(t.session, 1, start + 2));
  ASSERT_TRUE(form.bookForm);
  EXPECT_EQ(form.bookForm->fSurName->text(), QStringLiteral("Adams"));
  EXPECT_EQ(t.session.AppState, 'E');
  EXPECT_FALSE(form.acForwardYear->isEnabled());
  form.OnActivate();  // activation leaves them off while the window is open
  EXPECT_FALSE(form.acForwardYear->isEnabled());
  EXPECT_TRUE(t.session.BookFile.IsOpen());

  form.bookForm->acQuit->trigger();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(form.bookForm);
  EXPECT_TRUE(form.acForwardYear->isEnabled());
  EXPECT_EQ(t.session.AppState, ' ');
  EXPECT_FALSE(t.session.BookFile.IsOpen());

  // A free day opens a new booking there.
  form.OpenBooking(OpenBookingAt(t.session, 1, start + 14));
  ASSERT_TRUE(form.bookForm);
  EXPECT_EQ(form.bookForm->fStatus->text(), QStringLiteral("New Booking - complete details"));
  EXPECT_EQ(t.session.AppState, 'N');
}

TEST_F(MainForm, OpenPropertyStartsACopyWithTheRootWhenGivenOnTheCommandLine) {
  Load(SimpleSettings(2), 1);
  env.programPath = "/opt/cotlyn/Cotlyn";
  t.session.RootFromCommandLine = true;
  TMainForm form(t.session, env);
  form.openActions[1]->trigger();
  ASSERT_EQ(t.runner.calls.size(), 1u);
  EXPECT_EQ(t.runner.calls[0].program, "/opt/cotlyn/Cotlyn");
  EXPECT_EQ(t.runner.calls[0].args, (std::vector<std::string>{"Prop 2", t.Root()}));
}

TEST_F(MainForm, AboutBoxAndSplash) {
  Load(SimpleSettings(1), 1);
  t.session.InstallDate = "01/02/2026";
  t.session.ReadOnly = true;
  TAboutForm about(t.session, QStringLiteral("4.4.0.1 09/12/2026 08:00:00"), false);
  EXPECT_EQ(about.windowTitle(), QStringLiteral("About Cotlyn"));
  EXPECT_EQ(about.heading->text(), QStringLiteral("Tenbrook (Cotlyn)"));
  EXPECT_EQ(about.text->text(), QStringLiteral("See HELP / CONTENTS for full documentation\n\n"
                                               "Version 4.4.0.1 09/12/2026 08:00:00\nInstalled 01/02/2026"));
  EXPECT_EQ(about.rootLine->text(), QStringLiteral("Root folder = ") + QString::fromStdString(t.Root()));
  EXPECT_EQ(about.settingsLine->text(), QStringLiteral("Settings file = Cotlyn.ini"));
  EXPECT_FALSE(about.readOnlyLabel->isHidden());

  auto* splash = new TAboutForm(t.session, QStringLiteral("4.4"), true);
  EXPECT_TRUE(splash->closeButton->isHidden());
  EXPECT_TRUE(splash->visitButton->isHidden());
  EXPECT_TRUE(splash->rootLine->isHidden());
  EXPECT_EQ(splash->height(), 150);
  EXPECT_TRUE(splash->windowFlags() & Qt::WindowStaysOnTopHint);
  delete splash;
}

TEST_F(MainForm, PropertyListBoxes) {
  std::string ini = "[Common]\nNumProps=14\n";
  for (int n = 1; n <= 14; ++n)
    ini += "[" + PropertySection(n) + "]\nPropName=" + (n == 2 ? "Ruza Rorazed" : "Cottage " + std::to_string(n)) +
           "\nAS=" + (n <= 3 ? "1" : "0") + "\n";
  Load(ini, 1);
  QListWidget multi;
  multi.setSelectionMode(QAbstractItemView::MultiSelection);
  FillPropertyList(t.session, multi, 12, false);
  ASSERT_EQ(multi.count(), 14);
  EXPECT_EQ(multi.item(0)->text(), QStringLiteral("1    Cottage 1"));
  EXPECT_EQ(multi.item(13)->text(), QStringLiteral("14  Cottage 14"));
  EXPECT_EQ(multi.item(13)->data(Qt::UserRole).toInt(), 14);
  EXPECT_EQ(multi.selectedItems().size(), 13);  // all but "Ruza Rorazed"
  EXPECT_FALSE(multi.item(1)->isSelected());
  EXPECT_EQ(multi.height(), 12 * multi.sizeHintForRow(0) + 4);

  QListWidget agency;
  FillPropertyList(t.session, agency, 12, true);
  ASSERT_EQ(agency.count(), 3);
  EXPECT_EQ(agency.currentRow(), 0);
  EXPECT_EQ(agency.height(), 12 * agency.sizeHintForRow(0) + 4);  // sized by the property count
}

}  // namespace
}  // namespace tb::test

#include <QAction>
#include <QCoreApplication>
#include <QProcess>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QScrollBar>
#include <gtest/gtest.h>

#include "app/ChartActions.h"
#include "app/Users.h"
#include "app/forms/ChartArea.h"
#include "bookings/forms/TBookForm.h"
#include "platform/forms/QtPrintCanvas.h"
#include "bookings/Rates.h"
#include "platform/FileSystem.h"
#include "app/forms/TAboutForm.h"
#include "app/forms/TMainForm.h"
#include "correspondence/forms/TProformaForm.h"
#include "maintenance/ExportTemplate.h"
#include "maintenance/forms/TExportForm.h"
#include "store/forms/FillPropertyList.h"
#include "store/Settings.h"
#include "web/forms/TAutoUploadConfigForm.h"
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
  // Property 1 "A" ("C") with Adams from 6 March 2027; returns that start.
  TDateTime OneBooking() {
    Load("[Common]\nNumProps=1\n[Prop01]\nPropName=A\n", 1);
    ForceDirectories(t.Root() + "A/Data");
    const TDateTime start = EncodeDate(2027, 3, 6);
    WriteWholeFile(t.Root() + "A/Data/Bookings.bks", BookingFileImage({MakeBooking(start, 7, "Adams")}));
    t.session.ComputeSeasonYear();
    return start;
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
  // "Synch Agency" from the pop-up sends the picked property; from the menu, the one
  // chosen among the agency properties (no helper script here: its box says so).
  const std::string notSent =
      "XHR-Upload error\rCannot synch. property 2 Barn\rMust run Synch Agency again (See Help)";
  for (int box = 0; box < 2; ++box)
    t.dialogs.Expect(notSent, MsgIcon::Error, MsgButton::Abort | MsgButton::Help, 1250, MsgButton::Abort);
  form.PropertyMenu(2)->actions().last()->trigger();
  form.pickSynchProperty = []() { return 2; };
  form.Command(QStringLiteral("Synch Agency"))->trigger();
  form.pickSynchProperty = []() { return 0; };  // cancelled: nothing
  form.Command(QStringLiteral("Synch Agency"))->trigger();
  t.dialogs.VerifyAllShown();
  // The proforma window: of the property picked on the chart; from the Tools menu and
  // the tool bar, of none while the chart shows every property.
  std::vector<QString> headings;
  form.showProformas = [&](TProformaForm& proformas) { headings.push_back(proformas.heading->text()); };
  menu = form.PropertyMenu(2);
  menu->actions()[3]->trigger();
  QAction* tools = form.Command(QStringLiteral("Manage letter proformas"));
  ASSERT_NE(tools, nullptr);
  EXPECT_TRUE(tools->isEnabled());
  tools->trigger();
  EXPECT_EQ(headings, (std::vector<QString>{QStringLiteral("Listed below are all proformas found that apply to property Barn"),
                                            QStringLiteral("WARNING: Only shared Proformas are visible.")}));

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
  const TDateTime start = OneBooking();
  TMainForm form(t.session, env);
  form.FirstShow();
  form.OpenBooking(OpenBookingAt(t.session, 1, start + 2));
  ASSERT_TRUE(form.bookForm);
  EXPECT_EQ(form.bookForm->fSurName->text(), QStringLiteral("Adams"));
  EXPECT_EQ(t.session.AppState, 'E');
  EXPECT_FALSE(form.acForwardYear->isEnabled());
  // Activation leaves them off while the window is open; the first one's daily overdue
  // check cannot list meanwhile.
  t.dialogs.Expect("Cannot list overdue items - booking form is open", MsgIcon::None, MsgButton::OK, 0,
                   MsgButton::OK);
  form.OnActivate();
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

TEST_F(MainForm, WhileABookingIsEditedTheMainWindowWaits) {
  const TDateTime start = OneBooking();
  TMainForm form(t.session, env);
  form.FirstShow();
  form.OpenBooking(OpenBookingAt(t.session, 1, start));
  ASSERT_TRUE(form.bookForm);
  for (const char* caption :
       {"Exit", "Edit Rates", "Edit Rates - next year", "Forward one year", "Import bookings from CSV file"})
    EXPECT_FALSE(form.Command(QString::fromLatin1(caption))->isEnabled()) << caption;
  t.dialogs.Expect("You may be editing data - close all forms and retry", MsgIcon::Warning, MsgButton::OK, 0,
                   MsgButton::OK);
  form.acConfigure->trigger();
  t.dialogs.Expect("You may be editing data. Discard any changes and quit?", MsgIcon::Confirmation,
                   MsgButton::Yes | MsgButton::Cancel, 0, MsgButton::Cancel);
  EXPECT_FALSE(form.close());
  t.dialogs.VerifyAllShown();
  EXPECT_EQ(t.dialogs.beeps, 1);

  form.bookForm->acQuit->trigger();
  EXPECT_TRUE(form.Command(QStringLiteral("Exit"))->isEnabled());
  EXPECT_TRUE(form.Command(QStringLiteral("Import bookings from CSV file"))->isEnabled());
  // Commands whose windows are not in this build stay off.
  EXPECT_FALSE(form.Command(QStringLiteral("Backup"))->isEnabled());

  t.session.RootFromCommandLine = true;
  t.dialogs.Expect("Close Cotlyn and run Configuration program?", MsgIcon::Information,
                   MsgButton::Yes | MsgButton::Cancel, 0, MsgButton::Yes);
  form.acConfigure->trigger();
  t.dialogs.VerifyAllShown();
  ASSERT_EQ(t.runner.calls.size(), 1u);
  EXPECT_EQ(t.runner.calls[0].program, t.session.common.ProgramFolder + "CotlynConfig");
  EXPECT_EQ(t.runner.calls[0].args, (std::vector<std::string>{"C", t.Root()}));
  EXPECT_NE(t.dir.Read("root/Cotlyn.log").find(" CLOSE\r\n"), std::string::npos);
}

TEST_F(MainForm, ExportCommandKeepsOneExportWindowForTheRun) {
  OneBooking();
  ForceDirectories(t.Root() + "Templates");
  WriteWholeFile(t.Root() + "Templates/default.xtf", DefaultExportTemplateText());
  TMainForm form(t.session, env);
  QAction* command = form.Command(QStringLiteral("Export Bookings to CSV file"));
  ASSERT_TRUE(command->isEnabled());
  command->trigger();
  ASSERT_TRUE(form.exportForm);
  EXPECT_TRUE(form.exportForm->isVisible());
  const TExportForm* first = form.exportForm;
  form.exportForm->MoveItem(form.exportForm->LV, 0, form.exportForm->LV1, -1);
  t.dialogs.Expect("Template changed - quit and lose changes?\r(Cancel returns to the form)", MsgIcon::Confirmation,
                   MsgButton::Yes | MsgButton::Cancel, 0, MsgButton::Yes);
  form.exportForm->close();
  command->trigger();
  EXPECT_EQ(form.exportForm.data(), first);
  EXPECT_TRUE(form.exportForm->isVisible());
  EXPECT_FALSE(form.exportForm->Changed());  // shown again: the template read afresh
  t.dialogs.VerifyAllShown();
}

TEST_F(MainForm, ClosingRemembersThePlaceOfTheAllPropertiesWindow) {
  Load("[Common]\nViewMode=M\nSaveSSP=1\nNumProps=1\n[Prop01]\nPropName=A\n", 0);
  ForceDirectories(t.Root() + "A/Data");
  t.session.ComputeSeasonYear();
  t.session.UserKey = "K1";
  RegisterUser(t.session);
  TMainForm form(t.session, env);
  form.setGeometry(40, 30, 700, 300);
  EXPECT_TRUE(form.close());
  const auto place = t.registry.ReadBinary(kRegistryKey, "SWin0");
  ASSERT_TRUE(place.has_value());
  ASSERT_EQ(place->size(), 8u);
  EXPECT_EQ((*place)[0] | ((*place)[1] << 8), 30);   // top
  EXPECT_EQ((*place)[2] | ((*place)[3] << 8), 40);   // left
  EXPECT_EQ((*place)[4] | ((*place)[5] << 8), 300);  // height
  EXPECT_EQ((*place)[6] | ((*place)[7] << 8), 700);  // width
  EXPECT_FALSE(FileExists(t.session.common.UsersPath));  // this run's line went
  EXPECT_TRUE(t.registry.ReadBinary(kRegistryKey, "UPrefs").has_value());
}

TEST_F(MainForm, WebCommandsNeedTheirAddresses) {
  Load("[Common]\nNumProps=1\n[Prop01]\nPropName=A\n", 1);
  TMainForm form(t.session, env);
  const MsgButtons abortHelp = MsgButton::Abort | MsgButton::Help;
  t.dialogs.Expect("Cannot open web site - URL not configured", MsgIcon::Error, abortHelp, 715, MsgButton::Abort);
  t.dialogs.Expect("URL of Booking data folder not defined", MsgIcon::Error, abortHelp, 717, MsgButton::Abort);
  form.Command(QStringLiteral("View Remote Website"))->trigger();
  form.Command(QStringLiteral("List/view web forms"))->trigger();
  t.dialogs.VerifyAllShown();
  EXPECT_TRUE(t.runner.opened.empty());
  t.session.common.SiteURL = "https://cottages.example/";
  t.session.common.FormData = "https://cottages.example/forms/";
  form.Command(QStringLiteral("View Remote Website"))->trigger();
  form.Command(QStringLiteral("List/view web forms"))->trigger();
  form.Command(QStringLiteral("Open Diagnostic Log"))->trigger();
  form.Command(QStringLiteral("Tutorial"))->trigger();
  EXPECT_EQ(t.runner.opened, (std::vector<std::string>{"https://cottages.example/",
                                                       "https://cottages.example/forms/xlistforms.php",
                                                       t.Root() + "Cotlyn.log",
                                                       t.session.common.HelpFolder + "30.html"}));
}

TEST_F(MainForm, PrintStatusWindowPrintsTheChartTitledWithTheProperty) {
  Load("[Common]\nNumProps=1\n[Prop01]\nPropName=Bramble\n", 1);
  ForceDirectories(t.Root() + "Bramble/Data");
  t.session.ComputeSeasonYear();
  TMainForm form(t.session, env);
  form.resize(560, 500);
  form.FirstShow();
  const std::string pdf = t.dir.Path() + "status.pdf";
  form.printCanvas = [&]() -> std::unique_ptr<PrintCanvas> { return std::make_unique<QtPrintCanvas>(pdf); };
  t.dialogs.Expect("Form printed", MsgIcon::Information, MsgButton::OK, 0, MsgButton::OK);
  form.acPrintStatus->trigger();
  t.dialogs.VerifyAllShown();
  QProcess text;
  text.start(QStringLiteral("pdftotext"), {QString::fromStdString(pdf), QStringLiteral("-")});
  ASSERT_TRUE(text.waitForFinished(30000));
  EXPECT_TRUE(text.readAllStandardOutput().contains("Cotlyn Status Window. Property: Bramble"));
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

// A question on screen runs its own event loop, in which the refresh timer keeps
// firing: nothing is asked twice, and an Abort closes the run once.
TEST_F(MainForm, TheRefreshTimerWaitsWhileAQuestionIsUp) {
  Load("[Common]\nCloudData=1\nMURefresh=10\nNumProps=1\n[Prop01]\nPropName=A\n", 1);
  ForceDirectories(t.Root() + "A/Data");
  t.session.ComputeSeasonYear();
  t.dir.Write("root/$users-conflict.txt", "x");
  TMainForm form(t.session, env);
  form.StartTimers();
  ASSERT_TRUE(form.refreshTimer && form.refreshTimer->isActive());
  int boxes = 0;
  t.dialogs.onMessage = [&]() {
    ++boxes;
    form.RefreshTick();  // the timer, firing behind the box
    form.RefreshTick();
  };
  t.dialogs.Expect("QZ1170 Another user active\rConflicted copy of User Control File found, name=$users-conflict.txt"
                   "\rProbable reason - 2nd user active\rYou are strongly advised to ABORT to prevent data loss",
                   MsgIcon::Error, MsgButton::Abort | MsgButton::Ignore | MsgButton::Help, 1170, MsgButton::Abort);
  form.RefreshTick();
  t.dialogs.VerifyAllShown();
  EXPECT_EQ(boxes, 1);
  form.close();  // once more, as a second Abort would
  const std::string log = t.dir.Read("root/Cotlyn.log");
  EXPECT_EQ(log.find(" CLOSE\r\n"), log.rfind(" CLOSE\r\n")) << log;
  EXPECT_NE(log.find(" CLOSE\r\n"), std::string::npos);
  EXPECT_FALSE(form.refreshTimer->isActive());

  // A fatal box stops the timer first (the program sets the hook, not only tests).
  TMainForm second(t.session, env);
  second.StartTimers();
  ASSERT_TRUE(t.session.stopRefreshTimer);
  t.session.stopRefreshTimer();
  EXPECT_FALSE(second.refreshTimer->isActive());
}

TEST_F(MainForm, AutoUploadRunsOnlyWithAnInterval) {
  Load("[Common]\nHS_URL=https://cottages.example/hs.php\nNAvDays=30\nNumProps=1\n[Prop01]\nPropName=A\n", 1);
  for (const int seconds : {0, 300}) {
    t.session.AupFREQ = seconds;
    TMainForm form(t.session, env);
    form.StartTimers();
    ASSERT_TRUE(form.uploadTimer);
    EXPECT_EQ(form.uploadTimer->isActive(), seconds > 0) << seconds;
    if (seconds > 0) {
      EXPECT_EQ(form.uploadTimer->interval(), seconds * 1000);
    }
    EXPECT_TRUE(t.session.WebDataDue);
  }
}

// "Configure auto-upload": a period off the range is refused where it is typed, 0 stops
// the timer at once, and Save/Exit stores and applies the new one.
TEST_F(MainForm, AutoUploadWindowRefusesOddPeriodsAndRunsTheTimer) {
  Load("[Common]\nHS_URL=https://cottages.example/hs.php\nNAvDays=30\nNumProps=1\n[Prop01]\nPropName=A\n", 1);
  t.session.AupFREQ = 300;
  TMainForm form(t.session, env);
  form.StartTimers();
  ASSERT_TRUE(form.uploadTimer->isActive());
  bool shown = false;
  form.showAutoUpload = [&](TAutoUploadConfigForm& w) {
    shown = true;
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Configure Auto-upload"));
    EXPECT_EQ(w.Freq->text(), QStringLiteral("5"));
    EXPECT_EQ(w.Freq->toolTip(), QStringLiteral("Minimum frequency is once every 5 minutes"));
    for (const char* typed : {"3", "1441", "ten", "", "7.5"}) {
      w.Freq->setText(QString::fromLatin1(typed));
      for (int box = 0; box < 2; ++box)
        t.dialogs.Expect("Frequency should be 5-1440 mins or 0 to switch off", MsgIcon::Error,
                         MsgButton::OK | MsgButton::Help, 199, MsgButton::OK);
      EXPECT_FALSE(w.FieldLeft()) << typed;
      EXPECT_FALSE(w.SaveExit()) << typed;  // refused again, and the window stays
    }
    EXPECT_TRUE(form.uploadTimer->isActive());
    w.Freq->setText(QStringLiteral("0"));
    EXPECT_TRUE(w.FieldLeft());
    EXPECT_FALSE(form.uploadTimer->isActive());  // at once, not on saving
    w.Freq->setText(QStringLiteral("10"));
    EXPECT_TRUE(w.SaveExit());
  };
  form.Command(QStringLiteral("Configure auto-upload"))->trigger();
  ASSERT_TRUE(shown);
  t.dialogs.VerifyAllShown();
  EXPECT_EQ(t.session.AupFREQ, 600);
  EXPECT_EQ(t.registry.ReadDword(kRegistryKey, "AupFREQ"), 600u);
  EXPECT_TRUE(form.uploadTimer->isActive());
  EXPECT_EQ(form.uploadTimer->interval(), 600 * 1000);
  EXPECT_NE(t.dir.Read("root/Cotlyn.log").find(" AutoUpdate Freq=600\r\n"), std::string::npos);
}

// A failure box runs its own event loop, in which the auto-upload timer keeps firing:
// the ticks that come meanwhile are skipped, and the data stays due for the next one.
TEST_F(MainForm, AnAutoUploadTickWaitsForTheBoxOfThePreviousOne) {
  Load("[Common]\nHS_URL=https://127.0.0.1:1/hs.php\nNAvDays=30\nNumProps=1\n[Prop01]\nPropName=A\n", 1);
  ForceDirectories(t.Root() + "A/Data");
  t.session.AupFREQ = 300;
  TMainForm form(t.session, env);
  form.StartTimers();
  int boxes = 0;
  t.dialogs.onMessage = [&]() {
    ++boxes;
    form.AutoUploadTick();  // the timer, firing behind the box
  };
  t.dialogs.Expect("XHR-Error. Auto-upload of propinfo.php failed\rCheck diagnostic log", MsgIcon::Error,
                   MsgButton::Abort, 1250, MsgButton::Abort);
  form.AutoUploadTick();
  t.dialogs.VerifyAllShown();
  EXPECT_EQ(boxes, 1);
  EXPECT_TRUE(t.session.WebDataDue);
}

// What "Printer properties" sets up is what the windows opened from here print on.
TEST_F(MainForm, OnePrinterSetUpServesEveryPrintJob) {
  const TDateTime start = OneBooking();
  TMainForm form(t.session, env);
  form.FirstShow();
  form.printer->setPageSize(QPageSize(QPageSize::A5));
  form.printer->setPageOrientation(QPageLayout::Landscape);
  form.OpenBooking(OpenBookingAt(t.session, 1, start));
  ASSERT_TRUE(form.bookForm);
  const std::unique_ptr<PrintCanvas> canvas = form.bookForm->printCanvas();
  ASSERT_TRUE(canvas);
  EXPECT_EQ(canvas->PageWidth(), form.printer->width());
  EXPECT_GT(canvas->PageWidth(), canvas->PageHeight());  // landscape A5, as set up
  form.bookForm->acQuit->trigger();
}

// Every help entry opens its own page; F1 opens the window's own topic.
TEST_F(MainForm, HelpEntriesOpenTheirOwnPages) {
  Load("[Common]\nNumProps=1\n[Prop01]\nPropName=A\n", 1);
  TMainForm form(t.session, env);
  for (const char* caption : {"&Contents", "&Help Index", "&Topic Search", "Tutorial", "&Help on Help"})
    form.Command(QString::fromLatin1(caption))->trigger();
  const std::string& help = t.session.common.HelpFolder;
  EXPECT_EQ(t.runner.opened, (std::vector<std::string>{help + "index.html", help + "keywords.html",
                                                       help + "search.html", help + "30.html", help + "98.html"}));
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

// The main window's menus and tool bar: every command with its caption, hint, shortcut
// and category. Commands whose windows are not part of this build are shown disabled.

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

#include "app/forms/TMainForm.h"
#include "platform/forms/HelpKey.h"
#include "platform/forms/QtText.h"
#include "store/Session.h"
#include "store/Settings.h"

namespace tb {

namespace {

enum class Category { FileActions, Navigate, Print, Tools, Web, Other };

struct Spec {
  const char* caption;
  const char* shortcut = nullptr;
  const char* hint = nullptr;
  Category category = Category::Other;
};

}  // namespace

void TMainForm::BuildMenus() {
  // One action per command; `run` null: its window comes later, so it stays disabled.
  auto add = [this](QMenu* menu, const Spec& spec, auto run) {
    QAction* a = menu->addAction(QString::fromLatin1(spec.caption));
    if (spec.shortcut) a->setShortcut(QKeySequence(QString::fromLatin1(spec.shortcut)));
    if (spec.hint) a->setToolTip(QString::fromLatin1(spec.hint));
    a->setStatusTip(a->toolTip());
    if (spec.category == Category::FileActions || spec.category == Category::Navigate) fileActions.append(a);
    if constexpr (std::is_same_v<decltype(run), std::nullptr_t>) {
      a->setEnabled(false);
      unavailable.append(a);
    } else {
      connect(a, &QAction::triggered, this, run);
    }
    return a;
  };
  const bool fileMode = s_.AppState == 'F';

  fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
  if (!s_.common.AllPropertiesView() && !fileMode && s_.NumProps() > 1) {
    for (int n = 1; n <= s_.NumProps(); ++n) {
      QAction* a = fileMenu->addAction(ToQ("Open " + s_.Prop(n).PropName));
      // Ctrl + the first digit of the number: properties 10 to 19 share Ctrl+1.
      const QChar digit = QString::number(n).at(0);
      a->setShortcut(QKeySequence(QStringLiteral("Ctrl+") + digit));
      a->setEnabled(n != s_.CurrentProperty);
      connect(a, &QAction::triggered, this, [this, n]() { OpenProperty(n); });
      openActions.append(a);
    }
    fileMenu->addSeparator();
  }
  QMenu* reports = fileMenu->addMenu(QStringLiteral("Reports..."));
  int kind = 0;
  for (const char* caption : {"Print Booking Status Report", "Create Availability Report",
                              "Print Booking List (for local rep)", "Create Booking List (for local rep)",
                              "Print Income Report for tax return", "Create Income Report (for accounts) as .csv"}) {
    ++kind;
    add(reports, {caption}, [this, kind]() { ShowReport(kind); });
  }
  add(fileMenu, {"Income/Expenditure Report"}, [this]() { MonthlyAccounts(); });
  add(fileMenu, {"Export Bookings to CSV file"}, [this]() { ExportBookings(); });
  add(fileMenu, {"Import bookings from CSV file", nullptr, nullptr, Category::FileActions},
      [this]() { ImportFromCsv(); });
  fileMenu->addSeparator();
  const char* rates[] = {"Edit Rates", "Edit Rates - next year", "Edit Rates - previous year"};
  const int offsets[] = {0, +1, -1};
  for (size_t i = 0; i < 3; ++i) {
    const int offset = offsets[i];
    acEditRates[i] = add(fileMenu, {rates[i], nullptr, nullptr, Category::FileActions},
                         [this, offset]() { EditRates(offset); });
  }
  fileMenu->addSeparator();
  acPrintStatus = add(fileMenu, {"Print Status Window", "F6", "Print the current Status Window - as is.", Category::Print},
                      [this]() { PrintStatusWindow(); });
  add(fileMenu, {"Printer properties", nullptr, "Printer Setup", Category::Print}, [this]() { PrinterSetup(); });
  fileMenu->addSeparator();
  acExit = add(fileMenu, {"Exit", "Ctrl+Q", "Close Cotlyn and Quit", Category::FileActions}, [this]() { close(); });

  viewMenu = menuBar()->addMenu(QStringLiteral("&View"));
  acForwardYear = add(viewMenu, {"Forward one year", "Ctrl+N", nullptr, Category::Navigate}, [this]() { YearForward(); });
  acBackYear = add(viewMenu, {"Backwards one year", "Ctrl+P", nullptr, Category::Navigate}, [this]() { YearBack(); });
  viewMenu->addSeparator();
  // "Search" looks for names: only the booking window can take a history result.
  add(viewMenu, {"Search", nullptr, "Search bookings history", Category::Navigate},
      [this]() { SearchBookings(SearchPurpose::Name); });
  add(viewMenu, {"Find Text", "Ctrl+F", nullptr, Category::Navigate},
      [this]() { SearchBookings(SearchPurpose::Text); });
  add(viewMenu, {"View all bookings as list"}, [this]() { SearchBookings(SearchPurpose::ListAll); });
  add(viewMenu, {"View booking history", nullptr, "View bookings history (by week)", Category::Tools},
      [this]() { ViewHistory(); });
  add(viewMenu, {"View Statistics", "Ctrl+S", nullptr, Category::Tools}, [this]() { Statistics(); });

  toolsMenu = menuBar()->addMenu(QStringLiteral("&Tools"));
  add(toolsMenu, {"Show calculator", "Ctrl+M", nullptr, Category::Tools}, [this]() { ShowCalculator(); });
  add(toolsMenu, {"List Overdue Items", "Ctrl+O", nullptr, Category::Tools}, [this]() { ListOverdueItems(); });
  add(toolsMenu, {"Manage letter proformas", nullptr, nullptr, Category::Tools},
      [this]() { ManageProformas(s_.common.AllPropertiesView() ? 0 : s_.CurrentProperty); });
  QAction* expenses = add(toolsMenu, {"Expenses", nullptr, nullptr, Category::Tools}, [this]() { Expenses(); });
  expenses->setVisible(s_.common.NExpCats > 0);
  add(toolsMenu, {"Send Mailshot"}, nullptr);
  toolsMenu->addSeparator();
  acConfigure = add(toolsMenu, {"Configure Cotlyn"}, [this]() { ConfigureCotlyn(); });
  add(toolsMenu, {"Archive / Cleanup"}, nullptr);
  add(toolsMenu, {"Backup"}, nullptr);
  add(toolsMenu, {"Diagnostics"}, nullptr);
  add(toolsMenu, {"Synchronise"}, nullptr);
  toolsMenu->addSeparator();
  add(toolsMenu, {"Open Windows Temporary Folder"}, [this]() { OpenTempFolder(); });
  add(toolsMenu, {"Memory usage"}, [this]() { ShowMemoryUsage(); });
  add(toolsMenu, {"Open Diagnostic Log"}, [this]() { OpenDiagnosticLog(); });
  acListUsers = add(toolsMenu, {"List users"}, [this]() { ListUsers(); });
  acListUsers->setVisible(false);  // once start-up has checked the users

  webMenu = menuBar()->addMenu(QStringLiteral("&Web"));
  add(webMenu, {"View Local Website", nullptr, nullptr, Category::Web}, [this]() { ViewLocalWebsite(); });
  add(webMenu, {"View Remote Website", nullptr, nullptr, Category::Web}, [this]() { ViewRemoteWebsite(); });
  add(webMenu, {"List/view web forms", nullptr, nullptr, Category::Web}, [this]() { ListWebForms(); });
  add(webMenu, {"Publish To Web", nullptr, nullptr, Category::Web}, [this]() { PublishToWeb(); })
      ->setVisible(s_.common.wPubWeb);
  add(webMenu, {"Upload Web Data"}, [this]() { UploadWebDataCommand(); })->setVisible(s_.common.NAvDays != 0);
  add(webMenu, {"Synch Database", nullptr, nullptr, Category::Web}, [this]() { SynchDatabase(); })
      ->setVisible(s_.common.SynchDB);
  bool agency = false;
  for (int n = 1; n <= s_.NumProps(); ++n) agency = agency || s_.Prop(n).AS;
  add(webMenu, {"Synch Agency", nullptr, nullptr, Category::Web}, [this]() { SynchAgencyCommand(); })
      ->setVisible(agency);
  add(webMenu, {"Configure auto-upload"}, [this]() { ConfigureAutoUpload(); })
      ->setVisible(s_.common.NAvDays > 0 || s_.common.SynchDB);

  accountsMenu = menuBar()->addMenu(QStringLiteral("&Accounts"));
  add(accountsMenu, {"Monthly Accounts"}, [this]() { MonthlyAccounts(); });
  add(accountsMenu, {"View Payments", "Ctrl+R"}, [this]() { ViewPayments(); });

  // Without an owner database the Owners menu is hidden and the owner command offers
  // to create one.
  ownersMenu = menuBar()->addMenu(QStringLiteral("&Owners"));
  add(ownersMenu, {"List Owners"}, [this]() { ListOwners(false); });
  add(ownersMenu, {"Email owners"}, [this]() { ListOwners(true); });
  acOwnerStats = add(ownersMenu, {"Owner statistics"}, [this]() { OwnerStatistics(); });
  acOwnerArchive = add(ownersMenu, {"View Owner Archive"}, [this]() { ViewOwnerArchive(); });
  acOwner = add(toolsMenu, {"Create Owner DataBase", "F7", "Create Owner Database", Category::FileActions},
                [this]() { OwnerCommand(); });

  helpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
  add(helpMenu, {"&Contents"}, [this]() { ShowHelp(kHelpContents); });
  add(helpMenu, {"&Help Index"}, [this]() { ShowHelp(kHelpIndex); });
  add(helpMenu, {"&Topic Search"}, [this]() { ShowHelp(kHelpSearch); });
  add(helpMenu, {"Tutorial"}, [this]() { ShowHelp(30); });
  add(helpMenu, {"&Help on Help"}, [this]() { ShowHelp(kHelpOnHelp); });
  AddHelpKey(this, [this]() { ShowHelp(kMainWindowHelp); });
  helpMenu->addSeparator();
  acAbout = add(helpMenu, {"About"}, [this]() { ShowAbout(); });

  BuildToolBar();
  // After the tool bar, which finds the owner command by its first caption.
  UpdateOwnerCommands();
}

void TMainForm::BuildToolBar() {
  toolBar = addToolBar(QStringLiteral("Commands"));
  toolBar->setMovable(false);
  toolBar->setIconSize(QSize(18, 18));
  const std::pair<const char*, QStyle::StandardPixmap> buttons[] = {
      {"Exit", QStyle::SP_DialogCloseButton},
      {"Print Status Window", QStyle::SP_FileDialogDetailedView},
      {"Printer properties", QStyle::SP_FileDialogInfoView},
      {"Forward one year", QStyle::SP_MediaSeekForward},
      {"Backwards one year", QStyle::SP_MediaSeekBackward},
      {"Edit Rates", QStyle::SP_FileIcon},
      {"Edit Rates - next year", QStyle::SP_ArrowForward},
      {"Edit Rates - previous year", QStyle::SP_ArrowBack},
      {"Search", QStyle::SP_FileDialogContentsView},
      {"View Statistics", QStyle::SP_FileDialogListView},
      {"Show calculator", QStyle::SP_ComputerIcon},
      {"List Overdue Items", QStyle::SP_MessageBoxWarning},
      {"Manage letter proformas", QStyle::SP_FileDialogNewFolder},
      {"View booking history", QStyle::SP_BrowserReload},
      {"Create Owner DataBase", QStyle::SP_DirHomeIcon},
      {"View Local Website", QStyle::SP_DirOpenIcon},
      {"View Remote Website", QStyle::SP_DriveNetIcon},
      {"List/view web forms", QStyle::SP_FileDialogStart},
      {"View all bookings as list", QStyle::SP_FileDialogToParent},
  };
  for (const auto& [caption, icon] : buttons) {
    QAction* a = Command(QString::fromLatin1(caption));
    if (!a) continue;
    a->setIcon(style()->standardIcon(icon));
    if (a->toolTip().isEmpty() || a->toolTip() == a->text()) a->setToolTip(a->text());
    toolBar->addAction(a);
  }
  // The tool bar's own hint for the list of all bookings.
  if (QAction* all = Command(QStringLiteral("View all bookings as list")))
    all->setToolTip(QStringLiteral("View all bookings as a list"));
}

QAction* TMainForm::Command(const QString& caption) const {
  for (QAction* a : findChildren<QAction*>()) {
    if (a->text() == caption) return a;
  }
  return nullptr;
}

}  // namespace tb

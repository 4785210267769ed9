#pragma once
// The main window: the chart of one property ("C") or of all properties ("M"), with
// the menus from which the other windows are opened.

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>

#include "app/Startup.h"
#include "bookings/SearchBookings.h"
#include "reports/forms/PrintWindow.h"

class QAction;
class QMenu;
class QTimer;
class QPrinter;
class QToolBar;

namespace tb {

class ChartArea;
class TBookForm;
class TERForm;
class THistoryForm;
class TExpenseForm;
class TFinanceForm;
class TImportForm;
class TOwnerForm;
class TOwnerListForm;
class TOwnerStatsForm;
class TOverdueForm;
class TPaymentsForm;
class TProformaForm;
class TReportForm;
class TSearchForm;
class TStatsForm;
class TExportForm;
class TAutoUploadConfigForm;
class TPubWebForm;
class Session;
struct OpenBookingRequest;

class TMainForm : public QMainWindow {
  Q_OBJECT
 public:
  TMainForm(Session& session, const StartupEnvironment& env, QWidget* parent = nullptr);
  ~TMainForm() override;

  // The application title the single-instance check answers to.
  QString ApplicationTitle() const;
  // Width of the chart of the current property ("C"): 507, or 539 with a fuel column.
  int ChartWidth() const;
  // Places the window on the desktop's work area (saved place or default).
  void ApplyPlacement();
  void ShowSplash();
  void ShowAbout();
  // The first display: bookings and rates read, the chart drawn at the current week.
  void FirstShow();
  // Every activation: commands enabled, rates saved by the editor reloaded; the first
  // one also marks the day's overdue check.
  void OnActivate();
  // Enables or disables the file and navigation commands (not while an editing
  // window is open).
  void EnableFileCommands(bool on);
  void YearForward();
  void YearBack();
  // A click on the chart asked for a booking (non-modal), or a line of the overdue list
  // or the search window (modal); `closed` runs once the booking window has closed.
  void OpenBooking(const OpenBookingRequest& request, bool modal = false, std::function<void()> closed = {});
  // "Search" (names), "Find Text" and "View all bookings as list": the search window,
  // modal; the full list is shown at once.
  void SearchBookings(SearchPurpose purpose);
  // "List Overdue Items": refused while a booking is open, brought forward when open,
  // else built and shown when it has lines; "No overdue items" unless it is the
  // first activation's daily check.
  void ListOverdueItems(bool dailyCheck = false);
  // "Edit Rates" (offset 0), "- next year" (+1), "- previous year" (-1): the rates
  // window for this calendar year + offset, of `property` when given, else the current
  // one ("C") or the one picked ("M").
  void EditRates(int offset, int property = 0);
  // "M": the property whose rates are edited for `year`; 0 when cancelled.
  std::function<int(int year)> pickRatesProperty;
  // "M": the pop-up menu of the property column for property n, picked by a right click.
  QMenu* PropertyMenu(int n);
  // "Manage letter proformas": the proformas of property n, or the shared ones (0).
  void ManageProformas(int n);
  // Shows the proforma window (tests replace it).
  std::function<void(TProformaForm&)> showProformas;
  // "Expenses": the expenses window for this calendar year and property n, else the
  // current property ("C"), the one last picked ("M"), or property 1.
  void Expenses(int n = 0);
  std::function<void(TExpenseForm&)> showExpenses;  // tests replace it; unset: modally
  // The owner command: "View Owner" ("C"), "List Owners" ("M"), or "Create Owner
  // DataBase" while there is no owner database.
  void OwnerCommand();
  // Property n's owner in the owner editor; refused when it has none.
  void ViewOwner(int n);
  // The owner list, to edit (email false) or to choose owners to write to.
  void ListOwners(bool email);
  void OwnerStatistics();
  // Starts the archive viewer; refused while the owner editor is open.
  void ViewOwnerArchive();
  // Captions and visibility of the owner commands as the owner database now stands.
  void UpdateOwnerCommands();
  // Show the owner windows (tests replace them; unset: modally).
  std::function<void(TOwnerForm&)> showOwner;
  std::function<void(TOwnerListForm&)> showOwnerList;
  // The report window set up for a report kind (1 to 6), made once and reused so that
  // it keeps the user's choices.
  void ShowReport(int kind);
  // Shows the report window (tests replace it; unset: modally).
  std::function<void(TReportForm&)> showReport;
  // "View Statistics": the statistics window, made once so that it keeps its year start day.
  void Statistics();
  // "Export Bookings to CSV file": the export window, made on first use and kept for the
  // run (its lists as the user left them), shown non-modal.
  void ExportBookings();
  std::function<void(TStatsForm&)> showStats;  // tests replace it; unset: modally
  // "View booking history": a new history window each time (its grid lives until it closes).
  void ViewHistory();
  std::function<void(THistoryForm&)> showHistory;  // tests replace it; unset: modally
  // "View Payments": the payments window, non-modal; brought to the front when open.
  void ViewPayments();
  // "Monthly Accounts" and "Income/Expenditure Report": the monthly accounts window.
  void MonthlyAccounts();
  std::function<void(TFinanceForm&)> showFinance;  // tests replace it; unset: modally
  // "Import bookings from CSV file": the import window, modally; afterwards every
  // property that received bookings is redrawn.
  void ImportFromCsv();
  std::function<void(TImportForm&)> showImport;  // tests replace it; unset: modally
  // "Open " + name: brings that property's window forward, or starts a copy for it.
  void OpenProperty(int n);
  void BringToFront();

  // The commands of this window (the others open windows of their own).
  void ConfigureCotlyn();
  void PrintStatusWindow();
  void PrinterSetup();
  void ShowCalculator();
  void OpenTempFolder();
  void OpenDiagnosticLog();
  void ViewLocalWebsite();
  void ViewRemoteWebsite();
  void ListWebForms();
  void PublishToWeb();
  // The Web menu's uploads (their messages come from the web layer).
  void UploadWebDataCommand();
  void SynchDatabase();
  // "Synch Agency" for property n; 0: the current property, or in "M" one chosen among
  // the AS properties.
  void SynchAgencyCommand(int n = 0);
  void ConfigureAutoUpload();
  // Runs the auto-upload timer with a period of that many seconds; 0 stops it.
  void SetUploadPeriod(int seconds);
  void ShowMemoryUsage();
  void ListUsers();
  void ShowHelp(int context);
  // After the start-up checks: commands a read-only run cannot use are turned off and
  // "List users" appears.
  void StartupChecked();
  // The refresh timer ("MURefresh" seconds) and the auto-upload timer ("AupFREQ"
  // seconds), as the settings ask for them.
  void StartTimers();
  void RefreshTick();
  void AutoUploadTick();
  // Any command by its caption (menu entries and tool-bar buttons share them); null
  // when there is none.
  QAction* Command(const QString& caption) const;

  // "M": the property whose web site is shown; 0 when cancelled.
  std::function<int()> pickWebSiteProperty;
  // Where "Print Status Window" prints.
  PrintCanvasFactory printCanvas;
  // The run's one printer set-up: "Printer properties" changes it, every print job of
  // the windows opened from here uses it.
  std::shared_ptr<QPrinter> printer;
  // "M": the AS property "Synch Agency" sends; 0 when cancelled (tests replace the picker).
  std::function<int()> pickSynchProperty;
  // Tests replace it; unset: the auto-upload window, modally.
  std::function<void(TAutoUploadConfigForm&)> showAutoUpload;
  // Tests replace it; unset: the publishing window, modally.
  std::function<void(TPubWebForm&)> showPubWeb;
  // Called once, when the chart has been painted for the first time.
  std::function<void()> onFirstPaint;

  QMenu* fileMenu = nullptr;
  QMenu* viewMenu = nullptr;
  QMenu* toolsMenu = nullptr;
  QMenu* webMenu = nullptr;
  QMenu* accountsMenu = nullptr;
  QMenu* ownersMenu = nullptr;
  QMenu* helpMenu = nullptr;
  QToolBar* toolBar = nullptr;
  QMenu* propertyMenu = nullptr;
  QList<QAction*> openActions;  // one per property ("C" with several properties)
  QAction* acExit = nullptr;
  QAction* acForwardYear = nullptr;
  QAction* acBackYear = nullptr;
  QAction* acAbout = nullptr;
  QAction* acConfigure = nullptr;
  QAction* acListUsers = nullptr;
  QAction* acPrintStatus = nullptr;
  QAction* acOwner = nullptr;         // the owner command (its caption changes)
  QAction* acOwnerArchive = nullptr;  // "View Owner Archive"
  QAction* acOwnerStats = nullptr;
  QPointer<TOwnerStatsForm> ownerStats;
  QPointer<TReportForm> reportForm;
  QPointer<TStatsForm> statsForm;
  QPointer<TExportForm> exportForm;
  QPointer<TPaymentsForm> paymentsForm;
  QPointer<TOverdueForm> overdueForm;
  QPointer<TSearchForm> searchForm;
  QTimer* refreshTimer = nullptr;
  QTimer* uploadTimer = nullptr;
  ChartArea* chartArea = nullptr;
  QPointer<TBookForm> bookForm;  // the booking window while it is open
  QPointer<TERForm> ratesForm;   // the rates window while it is open
  std::array<QAction*, 3> acEditRates{};  // this year, next year, previous year
  // The commands of the categories "FileActions" and "Navigate".
  QList<QAction*> fileActions;
  // Commands whose windows are not part of this build: shown, never enabled.
  QList<QAction*> unavailable;

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void BuildToolBar();
  void RunOwnerForm(TOwnerForm& form);
  void ChangeYear(int delta);
  Session& s_;
  StartupEnvironment env_;
  bool shown_ = false;
  bool activated_ = false;
  bool uploading_ = false;   // an auto-upload tick is running (its box may be up)
  bool refreshing_ = false;  // a refresh tick is running (its questions run event loops)
  bool closed_ = false;      // the close has run: it must never run twice
};

}  // namespace tb

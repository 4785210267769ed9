// The main window's own commands, its timers and its close.

#include <QAction>
#include <QCloseEvent>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QTimer>
#include <QToolBar>

#include "app/Shutdown.h"
#include "app/Users.h"
#include "app/forms/TMainForm.h"

#include "reports/forms/TReportForm.h"
#include "app/forms/TMemoryForm.h"
#include "app/forms/TOverdueForm.h"
#include "bookings/forms/THistoryForm.h"
#include "correspondence/forms/TProformaForm.h"
#include "maintenance/forms/TExportForm.h"
#include "platform/DateTime.h"
#include "reports/forms/TExpenseForm.h"
#include "platform/Calculator.h"
#include "platform/forms/HelpKey.h"
#include "reports/forms/TReportForm.h"
#include "reports/forms/TStatsForm.h"
#include "store/Session.h"
#include "store/Settings.h"
#include "store/forms/TPropSelForm.h"
#include "web/WebCommands.h"
#include "web/WebSiteLinks.h"
#include "web/forms/TAutoUploadConfigForm.h"
#include "web/forms/TPubWebForm.h"

namespace tb {

void TMainForm::ConfigureCotlyn() {
  s_.dialogs.Beep();
  if (s_.BookFormOpen || s_.RatesFormOpen) {
    s_.dialogs.Message("You may be editing data - close all forms and retry", MsgIcon::Warning, MsgButton::OK);
    return;
  }
  if (s_.dialogs.Message("Close Cotlyn and run Configuration program?", MsgIcon::Information,
                         MsgButton::Yes | MsgButton::Cancel) != MsgButton::Yes)
    return;
  std::vector<std::string> args{"C"};
  if (s_.RootFromCommandLine) args.push_back(s_.common.RootFolder);
  s_.processes.Run(s_.common.ProgramFolder + "CotlynConfig", args, false);
  close();
}

// The chart as it is on screen, without the tool bar and the scroll bar, on paper.
void TMainForm::PrintStatusWindow() {
  QImage image = grab().toImage();
  const int top = toolBar ? toolBar->geometry().bottom() + 1 : 0;
  image = image.copy(0, top, std::max(1, image.width() - 18), std::max(1, image.height() - top));
  std::string title = "Cotlyn Status Window.";
  if (!s_.common.AllPropertiesView() && s_.CurrentProperty > 0)
    title += "  Property: " + s_.Prop(s_.CurrentProperty).PropName;
  if (PrintImage(s_, image, printCanvas, title)) s_.dialogs.Message("Form printed", MsgIcon::Information, MsgButton::OK);
}

void TMainForm::PrinterSetup() {
  QPageSetupDialog dialog(printer.get(), this);
  dialog.exec();
}

void TMainForm::ShowCalculator() { StartCalculator(s_.processes, s_.dialogs); }

void TMainForm::ManageProformas(int n) {
  TProformaForm form(s_, n, this);
  if (showProformas) showProformas(form);
  else form.exec();
}

void TMainForm::Expenses(int n) {
  if (n < 1 || n > s_.NumProps()) n = s_.common.AllPropertiesView() ? s_.PickedProperty : s_.CurrentProperty;
  TExpenseForm form(s_, this);
  if (!form.Start(n, DecodeDate(s_.clock.Today()).year)) return;
  if (showExpenses) showExpenses(form);
  else form.exec();
}

void TMainForm::OpenTempFolder() { s_.processes.ShellOpen(s_.common.TempFolder); }

void TMainForm::OpenDiagnosticLog() { s_.processes.ShellOpen(s_.common.LogPath); }

void TMainForm::ViewLocalWebsite() {
  int n = s_.CurrentProperty;
  if (s_.common.AllPropertiesView()) {
    n = pickWebSiteProperty ? pickWebSiteProperty()
                            : TPropSelForm(s_, PickPurpose::ViewWebSite, 0, this).Pick();
  }
  tb::ViewLocalWebsite(s_, n);
}

void TMainForm::ViewRemoteWebsite() { tb::ViewRemoteWebsite(s_); }

void TMainForm::ListWebForms() { tb::ListWebForms(s_); }

void TMainForm::PublishToWeb() {
  TPubWebForm form(s_, this);
  if (showPubWeb) showPubWeb(form);
  else form.exec();
}

void TMainForm::ShowMemoryUsage() {
  // Made on first use and kept.
  auto* memory = findChild<TMemoryForm*>();
  if (!memory) {
    memory = new TMemoryForm(this);
    AddHelpKey(memory, [this]() { ShowHelp(kMemoryWindowHelp); });
  }
  memory->show();
  memory->raise();
}

void TMainForm::ListUsers() { s_.dialogs.Message(UsersText(s_), MsgIcon::Information, MsgButton::OK); }

void TMainForm::ShowHelp(int context) { OpenHelp(s_, context); }

void TMainForm::StartupChecked() {
  acListUsers->setVisible(true);
  if (!s_.ReadOnly) return;
  // A read-only run must not move or publish data.
  for (const char* caption : {"Archive / Cleanup", "Backup", "Publish To Web"}) {
    if (QAction* a = Command(QString::fromLatin1(caption))) a->setEnabled(false);
  }
}

// ---- Timers ------------------------------------------------------------------------------

void TMainForm::StartTimers() {
  const CommonSettings& c = s_.common;
  if (c.MURefresh > 0) {
    refreshTimer = new QTimer(this);
    connect(refreshTimer, &QTimer::timeout, this, &TMainForm::RefreshTick);
    refreshTimer->start(c.MURefresh * 1000);
    // A fatal box stops it, so that no refresh runs while the run ends.
    s_.stopRefreshTimer = [this]() { refreshTimer->stop(); };
  }
  if (!c.HS_URL.empty() && (c.NAvDays > 0 || c.SynchDB)) {
    if (c.NAvDays > 0) s_.WebDataDue = true;
    if (c.SynchDB) s_.RatesDue = true;
    // No interval set means no automatic uploads, not one every second.
    SetUploadPeriod(s_.AupFREQ);
  }
}

void TMainForm::RefreshTick() {
  // A box on screen runs its own event loop, in which the timer keeps firing: while any
  // question is up (this tick's own among them) nothing is re-read or asked again.
  if (refreshing_ || closed_ || s_.dialogs.BoxesUp() > 0) return;
  refreshing_ = true;
  const bool abort = RefreshFindsConflict(s_);
  if (!abort && RefreshFromOtherUsers(s_) && overdueForm) overdueForm->Refresh();
  refreshing_ = false;
  if (abort) close();
}

void TMainForm::AutoUploadTick() {
  // A failure box runs its own event loop, in which the timer keeps firing: the ticks
  // that come while it is up are skipped, not stacked behind it.
  if (uploading_ || closed_) return;
  uploading_ = true;
  tb::AutoUploadTick(s_);
  uploading_ = false;
}

void TMainForm::SetUploadPeriod(int seconds) {
  if (!uploadTimer) {
    uploadTimer = new QTimer(this);
    connect(uploadTimer, &QTimer::timeout, this, &TMainForm::AutoUploadTick);
  }
  if (seconds <= 0) uploadTimer->stop();
  else uploadTimer->start(std::min(seconds, 24 * 3600) * 1000);
}

// ---- Web -----------------------------------------------------------------------------------

void TMainForm::UploadWebDataCommand() { UploadWebData(s_); }

void TMainForm::SynchDatabase() { SynchRatesDatabase(s_, true); }

void TMainForm::SynchAgencyCommand(int n) {
  if (n == 0) {
    n = s_.CurrentProperty;
    if (s_.common.AllPropertiesView()) {
      n = pickSynchProperty ? pickSynchProperty() : TPropSelForm(s_, PickPurpose::Synch, 0, this).Pick();
    }
  }
  SynchAgency(s_, n);
}

void TMainForm::ConfigureAutoUpload() {
  TAutoUploadConfigForm form(s_, [this](int seconds) { SetUploadPeriod(seconds); }, this);
  if (showAutoUpload) showAutoUpload(form);
  else form.exec();
}

// ---- Close -------------------------------------------------------------------------------

void TMainForm::closeEvent(QCloseEvent* event) {
  if (closed_) {
    event->accept();
    return;
  }
  if (!MayQuit(s_)) {
    event->ignore();
    return;
  }
  closed_ = true;
  if (refreshTimer) refreshTimer->stop();
  if (uploadTimer) uploadTimer->stop();
  const QRect r = geometry();
  CloseRun(s_, {static_cast<int16_t>(r.top()), static_cast<int16_t>(r.left()), static_cast<int16_t>(r.height()),
                static_cast<int16_t>(r.width())});
  event->accept();
}

void TMainForm::ShowReport(int kind) {
  if (!reportForm) {
    reportForm = new TReportForm(s_, this);
    reportForm->printCanvas = PrinterCanvas(reportForm, printer);
  }
  reportForm->SetKind(static_cast<ReportKind>(kind));
  if (showReport) showReport(*reportForm);
  else reportForm->exec();
}

void TMainForm::ExportBookings() {
  if (!exportForm) {
    exportForm = new TExportForm(s_, this);
    exportForm->setWindowModality(Qt::ApplicationModal);
  }
  exportForm->show();
  exportForm->raise();
  exportForm->activateWindow();
}

void TMainForm::Statistics() {
  if (!statsForm) statsForm = new TStatsForm(s_, this);
  if (showStats) showStats(*statsForm);
  else statsForm->exec();
}

void TMainForm::ViewHistory() {
  THistoryForm form(s_, this);
  if (showHistory) showHistory(form);
  else form.exec();
}

}  // namespace tb

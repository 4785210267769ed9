#include "app/forms/TMainForm.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>

#include "app/ChartActions.h"
#include "bookings/ChartStyle.h"
#include "app/WindowPlacement.h"
#include "app/forms/ChartArea.h"
#include "owners/OwnerDB.h"
#include "app/forms/SingleInstance.h"
#include "app/forms/TAboutForm.h"
#include "app/forms/TOverdueForm.h"
#include "bookings/forms/TSearchForm.h"
#include "bookings/forms/TBookForm.h"
#include "bookings/forms/TERForm.h"
#include "store/forms/TPropSelForm.h"
#include "platform/FileSystem.h"
#include "platform/Format.h"
#include "platform/forms/QtText.h"
#include "store/BookingFile.h"
#include "store/DiagnosticLog.h"
#include "store/Session.h"
#include "store/Settings.h"

namespace tb {

namespace {

// The hourglass while the chart is rebuilt.
struct WaitCursor {
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

TMainForm::TMainForm(Session& session, const StartupEnvironment& env, QWidget* parent)
    : QMainWindow(parent), s_(session), env_(env) {
  if (s_.AppState != 'F') {
    chartArea = new ChartArea(s_, this);
    setCentralWidget(chartArea);
    s_.chartChanged = [this](int) {
      chartArea->viewport()->update();
      if (chartArea->propertyColumn) chartArea->propertyColumn->update();
    };
    chartArea->onBookingRequested = [this](const OpenBookingRequest& r) { OpenBooking(r); };
    chartArea->onPropertyMenu = [this](int n, const QPoint& at) { PropertyMenu(n)->popup(at); };
    chartArea->onOwnerClicked = [this](int n) { ViewOwner(n); };
    chartArea->onFirstPaint = [this]() {
      if (onFirstPaint) onFirstPaint();
    };
  }
  if (s_.AppState == 'F') setWindowTitle(QStringLiteral("Cotlyn: File=") + QString::fromStdString(ExtractFileName(s_.DirectFile)));
  else if (s_.common.AllPropertiesView()) setWindowTitle(QStringLiteral("Tenbrook"));
  else setWindowTitle(ToQ("Cotlyn: Property=" + s_.Prop(s_.CurrentProperty).PropName));
  // A saved or deleted booking shows in the overdue list at once.
  s_.bookingsWritten = [this](int) {
    if (overdueForm) overdueForm->Refresh();
    // The overdue list may have read the other properties again: the search's rows too.
    if (searchForm) searchForm->Rerun();
  };
  BuildMenus();
  pickRatesProperty = [this](int year) { return TPropSelForm(s_, PickPurpose::EditRates, year, this).Pick(); };
  printer = NewPrinter();
  printCanvas = PrinterCanvas(this, printer);
}

// The engine must not reach a window that is gone.
TMainForm::~TMainForm() {
  s_.stopRefreshTimer = nullptr;
  s_.chartChanged = nullptr;
  s_.bookingsWritten = nullptr;
}

QString TMainForm::ApplicationTitle() const {
  if (s_.AppState == 'F') return QString::fromStdString(ExtractFileName(s_.DirectFile));
  return QString::fromStdString(InstanceTitle(s_));
}

int TMainForm::ChartWidth() const {
  const int n = s_.CurrentProperty;
  return (n > 0 && s_.Prop(n).FuelChg) ? 539 : 507;
}

void TMainForm::ApplyPlacement() {
  const QRect work = screen() ? screen()->availableGeometry() : QRect(0, 0, 1280, 1024);
  Rect r;
  if (s_.common.AllPropertiesView()) {
    // Every property's rows, the header strip, the horizontal scroll bar and the frames.
    const int scroll = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int frames = 2 * chartArea->frameWidth() + (frameGeometry().height() - geometry().height());
    const int wanted = menuBar()->sizeHint().height() + chart::kHeaderHeight +
                       chart::kPropertyHeight * s_.NumProps() + scroll + frames + 2;
    r = AllPropertiesPlacement(s_.common.SaveSSP, s_.Prop(0).WinPos, work.right(), work.bottom(), wanted);
  } else {
    const int scroll = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int maxWidth = ChartWidth() + scroll + 2 * (chartArea ? chartArea->frameWidth() : 0);
    setMaximumWidth(maxWidth);
    r = PropertyWindowPlacement(s_.common.SaveSSP, s_.Prop(s_.CurrentProperty).WinPos, work.right(), work.bottom(),
                                maxWidth, s_.CurrentProperty, s_.NumProps());
  }
  setGeometry(r.left, r.top, r.width, r.height);
}

void TMainForm::ShowSplash() {
  auto* splash = new TAboutForm(s_, QString::fromStdString(env_.fullVersion), true, this);
  splash->show();
}

void TMainForm::ShowAbout() {
  TAboutForm about(s_, QString::fromStdString(env_.fullVersion), false, this);
  about.exec();
}

void TMainForm::OpenProperty(int n) {
  if (SingleInstance::ActivateExisting(InstanceKey(s_.common.RootFolder, Cp1252ToUtf8(s_.Prop(n).PropName)))) return;
  s_.processes.Run(env_.programPath, PropertyCopyArgs(s_, n), false);
}

void TMainForm::FirstShow() {
  if (!chartArea) return;
  WaitCursor wait;
  QElapsedTimer timer;
  timer.start();
  LoadShownProperties(s_);
  chartArea->RebuildCalendar();
  chartArea->ScrollToToday();
  const qint64 ms = timer.elapsed();
  if (ms > 500) WriteLog(s_, Format("MainForm show took %.0n mS", {static_cast<double>(ms)}));
}

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_) return;
  shown_ = true;
  FirstShow();
}

void TMainForm::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) OnActivate();
  // Restored from the task bar while a booking is being edited: that window comes back too.
  if (event->type() == QEvent::WindowStateChange && !isMinimized() && bookForm) {
    if (bookForm->isMinimized()) bookForm->showNormal();
    bookForm->raise();
    bookForm->activateWindow();
  }
}

void TMainForm::OnActivate() {
  if (s_.AppState == 'F') return;
  EnableFileCommands(true);
  RefreshAfterRatesSaved(s_);
  if (activated_) return;
  activated_ = true;
  if (FirstActivate(s_)) ListOverdueItems(true);
}

void TMainForm::EnableFileCommands(bool on) {
  if (on && (s_.BookFormOpen || s_.RatesFormOpen)) return;
  for (QAction* a : fileActions) a->setEnabled(on && !unavailable.contains(a));
}

void TMainForm::ChangeYear(int delta) {
  WaitCursor wait;
  ChangeSeasonYear(s_, delta);
  chartArea->RebuildCalendar();
  chartArea->ScrollToStart();
}

void TMainForm::YearForward() { ChangeYear(+1); }
void TMainForm::YearBack() { ChangeYear(-1); }

void TMainForm::OpenBooking(const OpenBookingRequest& request, bool modal, std::function<void()> closed) {
  if (!request.open || bookForm) return;
  EnableFileCommands(false);
  s_.AppState = request.isNew ? 'N' : 'E';
  auto* form = new TBookForm(s_, this);
  form->setWindowFlag(Qt::Window);
  if (modal) form->setWindowModality(Qt::ApplicationModal);
  form->setAttribute(Qt::WA_DeleteOnClose);
  form->printCanvas = PrinterCanvas(form, printer);
  bookForm = form;
  form->onClosed = [this, closed = std::move(closed)]() {
    s_.AppState = ' ';
    EnableFileCommands(true);
    if (closed) closed();
  };
  if (request.isNew) form->OpenNew(request.property, request.date);
  else form->OpenEdit(request.property, request.node);
  form->show();
  form->activateWindow();
}

void TMainForm::EditRates(int offset, int property) {
  if (s_.BookFormOpen || s_.RatesFormOpen) return;
  const int year = DecodeDate(s_.clock.Today()).year + offset;
  int n = property;
  if (n == 0) n = s_.common.AllPropertiesView() ? (pickRatesProperty ? pickRatesProperty(year) : 0) : s_.CurrentProperty;
  if (n < 1 || n > s_.NumProps()) return;
  auto* form = new TERForm(s_, this);
  form->setWindowFlag(Qt::Window);
  form->setAttribute(Qt::WA_DeleteOnClose);
  form->printCanvas = PrinterCanvas(form, printer);
  if (!form->Load(n, year)) {
    delete form;
    return;
  }
  ratesForm = form;
  EnableFileCommands(false);
  form->onClosed = [this]() {
    EnableFileCommands(true);
    // Saved prices show on the chart at once.
    RefreshAfterRatesSaved(s_);
  };
  form->show();
  form->activateWindow();
}

QMenu* TMainForm::PropertyMenu(int n) {
  s_.PickedProperty = n;
  const Prop_Rec& p = s_.Prop(n);
  if (!propertyMenu) propertyMenu = new QMenu(this);
  propertyMenu->clear();
  const std::pair<QString, int> rates[] = {{ToQ("Edit Rates (Property " + p.PropName + ")"), 0},
                                           {QStringLiteral("Edit Rates - next year"), +1},
                                           {QStringLiteral("Edit Rates - previous year"), -1}};
  for (const auto& [caption, offset] : rates) {
    QAction* a = propertyMenu->addAction(caption);
    a->setEnabled(!s_.BookFormOpen && !s_.RatesFormOpen);
    connect(a, &QAction::triggered, this, [this, n, offset = offset]() { EditRates(offset, n); });
  }
  connect(propertyMenu->addAction(QStringLiteral("Manage letter proformas")), &QAction::triggered, this,
          [this, n]() { ManageProformas(n); });
  QAction* web = propertyMenu->addAction(QStringLiteral("View Local Website"));
  connect(web, &QAction::triggered, this, [this, n]() { s_.processes.ShellOpen(LocalIndexPage(s_, n)); });
  QAction* owner = propertyMenu->addAction(QStringLiteral("View Owner Record"));
  owner->setVisible(!OwnerList(s_).empty());
  connect(owner, &QAction::triggered, this, [this, n]() { ViewOwner(n); });
  QAction* expenses = propertyMenu->addAction(QStringLiteral("Expenses"));
  expenses->setVisible(s_.common.NExpCats > 0);
  connect(expenses, &QAction::triggered, this, [this, n]() { Expenses(n); });
  if (p.AS) {
    connect(propertyMenu->addAction(ToQ("Synch Agency (" + p.PropName + ")")), &QAction::triggered, this,
            [this, n]() { SynchAgencyCommand(n); });
  }
  return propertyMenu;
}

void TMainForm::BringToFront() {
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
}

}  // namespace tb

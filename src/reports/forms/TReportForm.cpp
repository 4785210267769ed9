#include "reports/forms/TReportForm.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <cerrno>
#include <cmath>

#include "bookings/Rates.h"
#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "platform/forms/HelpKey.h"
#include "platform/forms/QtText.h"
#include "reports/IncomeReport.h"
#include "reports/ReportPrinter.h"
#include "reports/StatusReport.h"
#include "store/Session.h"
#include "store/Settings.h"
#include "store/forms/FillPropertyList.h"

namespace tb {

namespace {

struct KindLook {
  const char* caption;
  const char* runCaption;
  int help;
  const char* prompt;
};
constexpr KindLook kKinds[] = {
    {"Print Status Report", "PRINT", 134, "Adjust range, then click PRINT"},
    {"Create Availability Report", "CREATE / VIEW", 140, "Adjust range, then click PRINT"},
    {"Print Booking List (for Local Representative)", "PRINT", 136, "Adjust range, then click PRINT"},
    {"Create/View Booking List", "CREATE / VIEW", 138, "Adjust range, then click CREATE / VIEW"},
    {"Print Income Statement for Tax Return", "RUN", 142, "Specify year tax year ends, then click RUN"},
    {"Export Income as CSV File", "RUN", 144, "Specify year tax year ends, then click RUN"},
};
const KindLook& Look(ReportKind kind) { return kKinds[static_cast<int>(kind) - 1]; }

constexpr int kListRows = 14;
constexpr int kHelpSavedFile = 635;

QComboBox* Numbers(QWidget* parent, int from, int to) {
  auto* box = new QComboBox(parent);
  for (int v = from; v <= to; ++v) box->addItem(QString::number(v), v);
  return box;
}

void Choose(QComboBox* box, int value) {
  const int at = box->findData(value);
  if (at >= 0) box->setCurrentIndex(at);
}

int Chosen(const QComboBox* box) { return box->currentData().toInt(); }

}  // namespace

TReportForm::TReportForm(Session& s, QWidget* parent) : QDialog(parent), s_(s) {
  BuildControls();
  // Made once: the choices stay while the window is reused for the same kind.
  FillPropertyList(s_, *LB, kListRows, false);
  const int year = DecodeDate(s_.clock.Today()).year;
  for (QComboBox* box : {pStYr, pEndYr})
    for (int y = year - 1; y <= year + 3; ++y) box->addItem(QString::number(y), y);
  for (int y = year - 9; y <= year + 1; ++y) pTaxYr->addItem(QString::number(y), y);
  Choose(pTaxYr, year);
}

void TReportForm::BuildControls() {
  LB = new QListWidget(this);
  LB->setSelectionMode(QAbstractItemView::ExtendedSelection);
  Prompt = new QLabel(this);
  RangeBox = new QGroupBox(QStringLiteral("Specify week range for Report"), this);
  pStYr = new QComboBox(RangeBox);
  pEndYr = new QComboBox(RangeBox);
  pStWeek = Numbers(RangeBox, 1, 53);
  pEndWk = Numbers(RangeBox, 1, 53);
  auto* grid = new QGridLayout(RangeBox);
  grid->addWidget(new QLabel(QStringLiteral("From: YEAR="), RangeBox), 0, 0);
  grid->addWidget(pStYr, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("WEEK="), RangeBox), 0, 2);
  grid->addWidget(pStWeek, 0, 3);
  grid->addWidget(new QLabel(QStringLiteral("Until:  YEAR="), RangeBox), 1, 0);
  grid->addWidget(pEndYr, 1, 1);
  grid->addWidget(new QLabel(QStringLiteral("WEEK="), RangeBox), 1, 2);
  grid->addWidget(pEndWk, 1, 3);
  lTYr = new QLabel(QStringLiteral("Specify Tax Year--"), this);
  pTaxYr = new QComboBox(this);
  RunBut = new QPushButton(this);
  // Wide enough for the longest caption, so the window keeps its shape between kinds.
  RunBut->setMinimumWidth(RunBut->fontMetrics().horizontalAdvance(QStringLiteral("CREATE / VIEW")) + 24);
  auto* close = new QPushButton(QStringLiteral("Close"), this);
  auto* help = new QPushButton(QStringLiteral("Help (F1)"), this);
  connect(RunBut, &QPushButton::clicked, this, &TReportForm::Run);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, [this]() { OpenHelp(s_, HelpContext()); });
  AddHelpKey(this, [this]() { OpenHelp(s_, HelpContext()); });

  auto* left = new QVBoxLayout;
  left->addWidget(new QLabel(QStringLiteral("Select appropriate properties"), this));
  left->addWidget(LB);
  left->addStretch(1);
  auto* tax = new QHBoxLayout;
  tax->addWidget(lTYr);
  tax->addWidget(pTaxYr);
  tax->addStretch(1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(RunBut);
  buttons->addStretch(1);
  buttons->addWidget(help);
  buttons->addWidget(close);
  auto* right = new QVBoxLayout;
  right->addWidget(Prompt);
  right->addWidget(RangeBox);
  right->addLayout(tax);
  right->addStretch(1);
  right->addLayout(buttons);
  auto* all = new QHBoxLayout(this);
  all->addLayout(left);
  all->addLayout(right, 1);
  lTYr->hide();
  pTaxYr->hide();
}

void TReportForm::SetKind(ReportKind kind) {
  if (setUp_ && kind == kind_) return;
  setUp_ = true;
  kind_ = kind;
  const TDateTime today = s_.clock.Today();
  const int year = DecodeDate(today).year;
  const int week = s_.NumProps() >= 1
                       ? std::max(1, static_cast<int>(std::trunc((today - WeekStart(year, 1, s_.Prop(1))) / 7)) + 1)
                       : 1;
  WeekRange r{year, week, year + 1, week};
  if (kind == ReportKind::PrintedList || kind == ReportKind::ListFile) {
    if (week + 26 > 52) {
      r.endWeek = week + 27 - 52;
    } else {
      r.endYear = year;
      r.endWeek = week + 27;
    }
  }
  SetRange(r);
  const KindLook& look = Look(kind);
  setWindowTitle(QStringLiteral("Report Window: ") + QString::fromLatin1(look.caption));
  RunBut->setText(QString::fromLatin1(look.runCaption));
  Prompt->setText(QString::fromLatin1(look.prompt));
  const bool income = kind == ReportKind::Income || kind == ReportKind::IncomeCsv;
  lTYr->setVisible(income);
  pTaxYr->setVisible(income);
  RangeBox->setVisible(!income);
}

int TReportForm::HelpContext() const { return Look(kind_).help; }

std::vector<int> TReportForm::SelectedProperties() const {
  std::vector<int> selected;
  for (int row = 0; row < LB->count(); ++row)
    if (LB->item(row)->isSelected()) selected.push_back(row + 1);
  return selected;
}

WeekRange TReportForm::Range() const { return {Chosen(pStYr), Chosen(pStWeek), Chosen(pEndYr), Chosen(pEndWk)}; }

void TReportForm::SetRange(const WeekRange& r) {
  Choose(pStYr, r.startYear);
  Choose(pStWeek, r.startWeek);
  Choose(pEndYr, r.endYear);
  Choose(pEndWk, r.endWeek);
}

int TReportForm::TaxYear() const { return Chosen(pTaxYr); }

void TReportForm::SetTaxYear(int year) { Choose(pTaxYr, year); }

void TReportForm::Run() {
  switch (kind_) {
    case ReportKind::Availability: RunAvailability(); break;
    case ReportKind::Status:
    case ReportKind::PrintedList:
    case ReportKind::ListFile: RunRangeReport(); break;
    case ReportKind::Income: RunIncome(); break;
    case ReportKind::IncomeCsv: RunIncomeCsv(); break;
  }
}

bool TReportForm::RangeIsEmpty(const std::vector<int>& properties) {
  if (properties.empty()) {
    // Nothing to report on: the list shows why.
    s_.dialogs.Beep();
    return true;
  }
  if (RangeWeekCount(s_, Range(), properties[0]) > 0) return false;
  s_.dialogs.Beep();
  s_.dialogs.Message("End date before start date", MsgIcon::Error, MsgButton::OK);
  return true;
}

void TReportForm::RunRangeReport() {
  std::unique_ptr<PrintCanvas> canvas = printCanvas ? printCanvas() : nullptr;
  if (canvas && canvas->Busy()) {
    s_.dialogs.Message("Printer in use. Close it.", MsgIcon::Warning, MsgButton::OK);
    return;
  }
  if (!canvas && kind_ != ReportKind::ListFile) return;
  const std::vector<int> properties = SelectedProperties();
  if (RangeIsEmpty(properties)) return;
  if (kind_ == ReportKind::ListFile) {
    ReadReportBookings(s_, properties);
    SaveAndOpen(kBookingListFile, BookingListText(s_, Range(), properties), "Booking list saved as ");
    return;
  }
  ReportPrinter printer(s_, *canvas);
  if (kind_ == ReportKind::Status) {
    PrintStatusReport(printer, s_, Range(), properties);
    return;
  }
  ReadReportBookings(s_, properties);
  PrintBookingList(printer, s_, Range(), properties);
}

void TReportForm::RunAvailability() {
  const std::vector<int> properties = SelectedProperties();
  if (RangeIsEmpty(properties)) return;
  ReadReportBookings(s_, properties);
  if (SaveAndOpen(kAvailabilityFile, AvailabilityText(s_, Range(), properties), "Availability Report saved as "))
    accept();
}

void TReportForm::RunIncome() {
  const std::vector<int> properties = SelectedProperties();
  std::unique_ptr<PrintCanvas> canvas = printCanvas ? printCanvas() : nullptr;
  if (!canvas) return;
  if (properties.empty()) {
    s_.dialogs.Beep();  // nothing to report on: the list shows why
    return;
  }
  ReadReportBookings(s_, properties);
  ReportPrinter printer(s_, *canvas);
  PrintIncomeStatement(printer, s_, TaxYear(), properties);
}

void TReportForm::RunIncomeCsv() {
  const std::vector<int> properties = SelectedProperties();
  if (properties.empty()) {
    s_.dialogs.Beep();
    return;
  }
  ReadReportBookings(s_, properties);
  const std::string path = s_.common.RootFolder + IncomeCsvName(s_, TaxYear());
  errno = 0;
  if (!WriteWholeFile(path, IncomeCsvText(s_, TaxYear(), properties))) {
    s_.dialogs.Message(OpeningFileError(errno, PathText(path)), MsgIcon::Error,
                       MsgButton::Abort);
    return;
  }
  s_.dialogs.Message("Exported data to " + PathText(path) + "\r" + "File will open in registered application",
                     MsgIcon::Information, MsgButton::OK, kHelpSavedFile);
  s_.processes.ShellOpen(path);
  accept();
}

bool TReportForm::SaveAndOpen(const std::string& name, const std::string& text, const std::string& savedAs) {
  const std::string path = s_.common.RootFolder + name;
  if (!WriteWholeFile(path, text)) {
    const std::string why = SystemErrorText(errno);
    s_.dialogs.Beep();
    s_.dialogs.Message("Cannot write " + PathText(path) + "\r" + why, MsgIcon::Error, MsgButton::Abort);
    return false;
  }
  s_.dialogs.Beep();
  s_.dialogs.Message(savedAs + PathText(path) + "\r" + "This file will now be opened", MsgIcon::Information,
                     MsgButton::OK, kHelpSavedFile);
  s_.processes.ShellOpen(path);
  return true;
}

}  // namespace tb

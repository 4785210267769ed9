#include "reports/forms/TFinanceForm.h"

#include <memory>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "correspondence/forms/EmailDelivery.h"
#include "platform/DateTime.h"
#include "platform/forms/HelpKey.h"
#include "platform/forms/QtText.h"
#include "reports/ReportPrinter.h"
#include "store/Session.h"
#include "store/Settings.h"
#include "store/forms/FillPropertyList.h"

namespace tb {

namespace {
constexpr int kListRows = 14;
constexpr int kYears = 10;
}  // namespace

TFinanceForm::TFinanceForm(Session& s, QWidget* parent) : QDialog(parent), s_(s) {
  BuildControls();
  FillPropertyList(s_, *LB, kListRows, false);
  LB->selectAll();
  const DateParts today = DecodeDate(s_.clock.Today());
  for (int y = today.year; y > today.year - kYears; --y) rYr->addItem(QString::number(y), y);
  for (int m = 1; m <= 12; ++m) rMth->addItem(ToQ(FormatDateTime("mmmm", EncodeDate(2000, m, 1))), m);
  // The month just ended: December of last year while it is January.
  const bool january = today.month == 1;
  rYr->setCurrentIndex(january ? 1 : 0);
  rMth->setCurrentIndex(january ? 11 : today.month - 2);
}

void TFinanceForm::BuildControls() {
  setWindowTitle(QStringLiteral("Monthly Accounts (for Owners/Agents)"));
  LB = new QListWidget(this);
  LB->setSelectionMode(QAbstractItemView::ExtendedSelection);
  rYr = new QComboBox(this);
  rMth = new QComboBox(this);
  oEmail = new QCheckBox(QStringLiteral("Send reports to owners by email"), this);
  ViewEdit = new QCheckBox(QStringLiteral("View / edit Email prior to sending?"), this);
  AgentReport = new QCheckBox(QStringLiteral("Produce Agents report"), this);
  SummaryOnly = new QCheckBox(QStringLiteral("Agents summary report only"), this);
  CSVSummary = new QCheckBox(QStringLiteral("Write summary as CSV file"), this);
  RunBut = new QPushButton(QStringLiteral("RUN"), this);
  auto* close = new QPushButton(QStringLiteral("Close"), this);
  auto* help = new QPushButton(QStringLiteral("Help (F1)"), this);
  Log = new QListWidget(this);
  Log->setSelectionMode(QAbstractItemView::NoSelection);
  Log->setFocusPolicy(Qt::NoFocus);
  SummaryOnly->hide();
  CSVSummary->hide();

  connect(AgentReport, &QCheckBox::toggled, this, &TFinanceForm::AgentReportClick);
  connect(oEmail, &QCheckBox::toggled, this, &TFinanceForm::EmailClick);
  connect(ViewEdit, &QCheckBox::toggled, this, &TFinanceForm::EmailClick);
  connect(RunBut, &QPushButton::clicked, this, [this]() { RunButClick(); });
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, [this]() { OpenHelp(s_, kAccountsHelp); });
  AddHelpKey(this, [this]() { OpenHelp(s_, kAccountsHelp); });

  auto* when = new QGridLayout;
  when->addWidget(new QLabel(QStringLiteral("Year"), this), 0, 0);
  when->addWidget(rYr, 0, 1);
  when->addWidget(new QLabel(QStringLiteral("Month"), this), 1, 0);
  when->addWidget(rMth, 1, 1);
  auto* options = new QVBoxLayout;
  options->addLayout(when);
  for (QCheckBox* box : {oEmail, ViewEdit, AgentReport, SummaryOnly, CSVSummary}) options->addWidget(box);
  options->addStretch(1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(RunBut);
  buttons->addStretch(1);
  buttons->addWidget(help);
  buttons->addWidget(close);
  options->addLayout(buttons);
  auto* left = new QVBoxLayout;
  left->addWidget(new QLabel(QStringLiteral("Select appropriate properties"), this));
  left->addWidget(LB);
  left->addStretch(1);
  auto* top = new QHBoxLayout;
  top->addLayout(left);
  top->addLayout(options, 1);
  auto* all = new QVBoxLayout(this);
  all->addLayout(top);
  all->addWidget(Log, 1);
  resize(640, 560);
}

void TFinanceForm::AgentReportClick(bool on) {
  if (on && oEmail->isChecked()) {
    s_.dialogs.Beep();
    s_.dialogs.Message("Error - can't send agent report by email", MsgIcon::Error, MsgButton::Ignore);
    AgentReport->setChecked(false);
    return;
  }
  SummaryOnly->setVisible(on);
  CSVSummary->setVisible(on);
}

void TFinanceForm::EmailClick(bool on) {
  if (!on || !AgentReport->isChecked()) return;
  s_.dialogs.Beep();
  s_.dialogs.Message("Error - cannot sent agent report by email", MsgIcon::Error, MsgButton::Ignore);
  oEmail->setChecked(false);
}

std::vector<int> TFinanceForm::SelectedProperties() const {
  std::vector<int> selected;
  for (int row = 0; row < LB->count(); ++row)
    if (LB->item(row)->isSelected()) selected.push_back(LB->item(row)->data(Qt::UserRole).toInt());
  return selected;
}

int TFinanceForm::ChosenYear() const { return rYr->currentData().toInt(); }
int TFinanceForm::ChosenMonth() const { return rMth->currentData().toInt(); }

std::vector<std::string> TFinanceForm::LogLines() const {
  std::vector<std::string> lines;
  for (int row = 0; row < Log->count(); ++row) lines.push_back(FromQ(Log->item(row)->text()));
  return lines;
}

bool TFinanceForm::PrintJob(const std::function<bool(ReportPrinter&)>& job) {
  const std::unique_ptr<PrintCanvas> canvas = printCanvas ? printCanvas() : nullptr;
  if (!canvas) return false;
  ReportPrinter printer(s_, *canvas);
  return job(printer);
}

AccountsEnd TFinanceForm::RunButClick() {
  AccountsRequest r;
  r.properties = SelectedProperties();
  r.year = ChosenYear();
  r.month = ChosenMonth();
  r.email = oEmail->isChecked();
  r.viewEdit = ViewEdit->isChecked();
  r.agentReport = AgentReport->isChecked();
  r.summaryOnly = r.agentReport && SummaryOnly->isChecked();
  r.csvSummary = r.agentReport && CSVSummary->isChecked();
  std::unique_ptr<EmailDelivery> delivery;
  AccountsOutput out;
  out.delivery = [&](int n) -> LetterDelivery& {
    delivery = std::make_unique<EmailDelivery>(s_, n, this);
    delivery->showEmail = showEmail;
    return *delivery;
  };
  out.log = [this](const std::string& line) {
    Log->addItem(ToQ(line));
    Log->scrollToBottom();
    // Sending blocks: each line shows as it is written.
    Log->repaint();
  };
  out.clearLog = [this]() { Log->clear(); };
  out.printJob = [this](const std::function<bool(ReportPrinter&)>& job) { return PrintJob(job); };
  return RunMonthlyAccounts(s_, r, out);
}

}  // namespace tb

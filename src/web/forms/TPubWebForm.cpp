#include "web/forms/TPubWebForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>
#include <QVBoxLayout>

#include "platform/forms/HelpKey.h"
#include "platform/forms/QtText.h"
#include "store/Session.h"
#include "store/Settings.h"
#include "store/forms/FillPropertyList.h"

namespace tb {

namespace {

constexpr int kHelp = 500;

// Selects `value` among the combo's item data; none when it is not offered.
void Choose(QComboBox* box, int value) { box->setCurrentIndex(box->findData(value)); }

int Chosen(const QComboBox* box) { return box->currentIndex() < 0 ? 0 : box->currentData().toInt(); }

QComboBox* NumberBox(QWidget* parent, const std::vector<int>& values) {
  auto* box = new QComboBox(parent);
  for (const int v : values) box->addItem(QString::number(v), v);
  return box;
}

}  // namespace

TPubWebForm::TPubWebForm(Session& s, QWidget* parent) : QDialog(parent), s_(s) {
  setWindowTitle(QStringLiteral("Publish availability to web"));
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  layout->addLayout(top);

  PropList = new QListWidget(this);
  PropList->setSelectionMode(QAbstractItemView::MultiSelection);
  PropList->setToolTip(QStringLiteral("Select one or more properties to analyse"));
  FillPropertyList(s_, *PropList, 20, false);
  PropList->setMinimumWidth(220);
  top->addWidget(PropList, 0, Qt::AlignTop);

  auto* right = new QVBoxLayout;
  top->addLayout(right);
  auto* range = new QGroupBox(QStringLiteral("Specify week range to publish"), this);
  auto* grid = new QGridLayout(range);
  std::vector<int> weeks(53);
  for (int w = 1; w <= 53; ++w) weeks[static_cast<size_t>(w - 1)] = w;
  cbStartYear = NumberBox(range, PublishYears(s_));
  cbEndYear = NumberBox(range, PublishYears(s_));
  cbStartWeek = NumberBox(range, weeks);
  cbEndWeek = NumberBox(range, weeks);
  grid->addWidget(new QLabel(QStringLiteral("From: YEAR="), range), 0, 0);
  grid->addWidget(cbStartYear, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("WEEK="), range), 0, 2);
  grid->addWidget(cbStartWeek, 0, 3);
  grid->addWidget(new QLabel(QStringLiteral("Until:  YEAR="), range), 1, 0);
  grid->addWidget(cbEndYear, 1, 1);
  grid->addWidget(new QLabel(QStringLiteral("WEEK="), range), 1, 2);
  grid->addWidget(cbEndWeek, 1, 3);
  right->addWidget(range);

  auto* options = new QGroupBox(QStringLiteral("Options"), this);
  auto* optionLayout = new QVBoxLayout(options);
  const CommonSettings& c = s_.common;
  const auto option = [&](const char* caption, bool on) {
    auto* box = new QCheckBox(QString::fromLatin1(caption), options);
    box->setChecked(on);
    optionLayout->addWidget(box);
    return box;
  };
  // Without "wPubWeb" the settings' options were not read: the window's own defaults hold.
  cbCompress = option("Compress weeks", c.wPubWeb ? c.wCWks : true);
  cbLongDates = option("Long dates (dd month yyyy)", c.wLDts);
  cbMonthSep = option("Include month separator row", c.wMSep);
  cbYearSep = option("Include year separator row", c.wYSep);
  cbOmitLet = option("Omit rate if week fully let", c.wOLet);
  right->addWidget(options);

  auto* buttons = new QHBoxLayout;
  right->addLayout(buttons);
  const auto button = [&](const char* caption, const char* hint) {
    auto* b = new QPushButton(QString::fromLatin1(caption), this);
    if (hint) b->setToolTip(QString::fromLatin1(hint));
    b->setAutoDefault(false);
    buttons->addWidget(b);
    return b;
  };
  bUpdate = button("Update selected", "Update Availability page(s) for selected properties (on local machine)");
  bView = button("View selected", "View Availability page for first selected property");
  bUpload = button("Upload selected", "Send Availability pages to Web Server using Ferrit");
  bClose = button("Close", nullptr);
  right->addStretch();

  Memo = new QTextEdit(this);
  Memo->setReadOnly(true);
  Memo->setMinimumSize(640, 220);
  layout->addWidget(Memo, 1);

  ShowRange(InitialPubRange(s_));
  connect(cbStartYear, &QComboBox::activated, this, [this]() { StartYearPicked(); });
  connect(cbEndYear, &QComboBox::activated, this, [this]() { EndYearPicked(); });
  connect(bUpdate, &QPushButton::clicked, this, &TPubWebForm::UpdateSelected);
  connect(bView, &QPushButton::clicked, this, &TPubWebForm::ViewSelected);
  connect(bUpload, &QPushButton::clicked, this, &TPubWebForm::UploadSelected);
  connect(bClose, &QPushButton::clicked, this, &QDialog::accept);
  AddHelpKey(this, [this]() { OpenHelp(s_, kHelp); });
}

void TPubWebForm::showEvent(QShowEvent* event) {
  // A quarter of the free width from the left, a quarter of the free height from the top.
  if (const QScreen* screen = this->screen()) {
    const QRect free = screen->availableGeometry();
    move(free.left() + (free.width() - frameGeometry().width()) / 4,
         free.top() + (free.height() - frameGeometry().height()) / 4);
  }
  QDialog::showEvent(event);
}

PubRange TPubWebForm::Range() const {
  return {Chosen(cbStartYear), Chosen(cbStartWeek), Chosen(cbEndYear), Chosen(cbEndWeek)};
}

void TPubWebForm::ShowRange(const PubRange& r) {
  shown_ = r;
  Choose(cbStartYear, r.startYear);
  Choose(cbStartWeek, r.startWeek);
  Choose(cbEndYear, r.endYear);
  Choose(cbEndWeek, r.endWeek);
}

void TPubWebForm::StartYearPicked() {
  // The rules compare the new year with the one shown before the pick.
  PubRange before = Range();
  before.startYear = shown_.startYear;
  ShowRange(StartYearChosen(s_, before, Chosen(cbStartYear)));
}

void TPubWebForm::EndYearPicked() {
  PubRange before = Range();
  before.endYear = shown_.endYear;
  ShowRange(EndYearChosen(s_, before, Chosen(cbEndYear)));
}

std::vector<int> TPubWebForm::SelectedProperties() const {
  std::vector<int> chosen;
  for (int i = 0; i < PropList->count(); ++i)
    if (PropList->item(i)->isSelected()) chosen.push_back(PropList->item(i)->data(Qt::UserRole).toInt());
  return chosen;
}

void TPubWebForm::ClearPane() {
  Memo->clear();
  pane_.clear();
}

void TPubWebForm::AddPaneLines(const std::vector<PaneLine>& lines) {
  const QFont base = font();
  for (const PaneLine& line : lines) {
    pane_.push_back(line);
    QTextCharFormat format;
    format.setForeground(line.style == PaneStyle::Red ? QColor(Qt::red) : QColor(Qt::blue));
    format.setFontWeight(line.style == PaneStyle::BoldBlue ? QFont::Bold : QFont::Normal);
    format.setFontPointSize(line.style == PaneStyle::SmallBlue ? base.pointSizeF() * 0.85 : base.pointSizeF());
    QTextCursor cursor(Memo->document());
    cursor.movePosition(QTextCursor::End);
    if (!Memo->document()->isEmpty()) cursor.insertBlock();
    cursor.insertText(MessageToQ(line.text).replace(QStringLiteral("\n\n"), QStringLiteral("\n")), format);
  }
  Memo->ensureCursorVisible();
}

void TPubWebForm::UpdateSelected() {
  ClearPane();
  const PubRange r = Range();
  PageRun run;
  run.properties = SelectedProperties();
  run.startYear = r.startYear;
  run.startWeek = r.startWeek;
  run.endYear = r.endYear;
  run.endWeek = r.endWeek;
  run.wCWks = cbCompress->isChecked();
  run.wLDts = cbLongDates->isChecked();
  run.wMSep = cbMonthSep->isChecked();
  run.wYSep = cbYearSep->isChecked();
  run.wOLet = cbOmitLet->isChecked();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const PageRunResult result = UpdateAvailabilityPages(s_, run);
  QApplication::restoreOverrideCursor();
  AddPaneLines(result.pane);
}

void TPubWebForm::ViewSelected() { ViewSelectedPages(s_, SelectedProperties()); }

void TPubWebForm::UploadSelected() {
  if (s_.common.Site.empty()) return;
  AddPaneLines(UploadSelectedPages(s_, SelectedProperties()));
}

void TPubWebForm::done(int result) {
  if (!stored_) {
    stored_ = true;
    const PubRange r = Range();
    if (r.startYear != 0 && r.endYear != 0) StorePubRange(s_, r);
    CommonSettings& c = s_.common;
    c.wCWks = cbCompress->isChecked();
    c.wLDts = cbLongDates->isChecked();
    c.wMSep = cbMonthSep->isChecked();
    c.wYSep = cbYearSep->isChecked();
    c.wOLet = cbOmitLet->isChecked();
    SaveWebOptions(s_);
  }
  QDialog::done(result);
}

}  // namespace tb

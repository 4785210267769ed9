#include "bookings/forms/THistoryForm.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "bookings/BookingHistory.h"
#include "platform/forms/HelpKey.h"
#include "platform/forms/QtText.h"
#include "store/Session.h"
#include "store/Settings.h"
#include "store/forms/FillPropertyList.h"

namespace tb {

namespace {

constexpr int kHistoryHelp = 162;
constexpr int kListRows = 10;

QTableWidgetItem* Cell(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsEnabled);
  return item;
}

}  // namespace

THistoryForm::THistoryForm(Session& s, QWidget* parent) : QDialog(parent), s_(s) {
  setWindowTitle(QStringLiteral("Bookings History"));
  AddHelpKey(this, [this]() { OpenHelp(s_, kHistoryHelp); });

  PropList = new QListWidget(this);
  PropList->setSelectionMode(QAbstractItemView::SingleSelection);
  FillPropertyList(s_, *PropList, kListRows, false);
  const int row = s_.common.AllPropertiesView() ? 0 : s_.CurrentProperty - 1;
  if (row >= 0 && row < PropList->count()) PropList->setCurrentRow(row);

  YearEdit = new QLineEdit(this);
  YearEdit->setReadOnly(true);
  YearEdit->setAlignment(Qt::AlignRight);
  YearEdit->setFixedWidth(YearEdit->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
  UpBut = new QToolButton(this);
  UpBut->setArrowType(Qt::UpArrow);
  DownBut = new QToolButton(this);
  DownBut->setArrowType(Qt::DownArrow);
  ViewBut = new QPushButton(QStringLiteral("View"), this);

  Grid = new QTableWidget(kHistoryRows, 1 + kHistoryYears, this);
  Grid->verticalHeader()->hide();
  Grid->setSelectionMode(QAbstractItemView::NoSelection);
  Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Grid->verticalHeader()->setDefaultSectionSize(Grid->fontMetrics().height() + 6);

  auto* top = new QVBoxLayout;
  top->addWidget(new QLabel(QStringLiteral("View Bookings History for selected property"), this));
  top->addWidget(new QLabel(QStringLiteral("Select year and property; then click VIEW"), this));
  auto* yearRow = new QHBoxLayout;
  yearRow->addWidget(new QLabel(QStringLiteral("First year to view:"), this));
  yearRow->addWidget(YearEdit);
  auto* arrows = new QVBoxLayout;
  arrows->setSpacing(0);
  arrows->addWidget(UpBut);
  arrows->addWidget(DownBut);
  yearRow->addLayout(arrows);
  yearRow->addSpacing(16);
  yearRow->addWidget(ViewBut);
  yearRow->addStretch(1);
  top->addLayout(yearRow);
  top->addStretch(1);
  auto* head = new QHBoxLayout;
  head->addWidget(PropList, 1);
  head->addLayout(top, 1);
  auto* all = new QVBoxLayout(this);
  all->addLayout(head);
  all->addWidget(Grid, 1);

  connect(UpBut, &QToolButton::clicked, this, &THistoryForm::YearUp);
  connect(DownBut, &QToolButton::clicked, this, &THistoryForm::YearDown);
  connect(ViewBut, &QPushButton::clicked, this, &THistoryForm::View);
  connect(PropList, &QListWidget::currentRowChanged, this, [this]() { ClearGrid(); });

  SetYear(s_.SeasonYear[1]);
  FitColumns();
  resize(std::max(width(), Grid->horizontalHeader()->length() + Grid->verticalScrollBar()->sizeHint().width() + 40),
         620);
}

int THistoryForm::SelectedProperty() const {
  const QList<QListWidgetItem*> chosen = PropList->selectedItems();
  return chosen.isEmpty() ? 0 : chosen.first()->data(Qt::UserRole).toInt();
}

void THistoryForm::SetYear(int year) {
  year_ = std::clamp(year, kHistoryFirstYearMin, kHistoryFirstYearMax);
  YearEdit->setText(QString::number(year_));
  ClearGrid();
}

void THistoryForm::YearUp() { SetYear(year_ + 1); }

void THistoryForm::YearDown() { SetYear(year_ - 1); }

void THistoryForm::ClearGrid() {
  QStringList headings{QStringLiteral("Week")};
  for (const int y : HistoryYears(year_)) headings << QString::number(y);
  Grid->setHorizontalHeaderLabels(headings);
  for (int row = 0; row < kHistoryRows; ++row) {
    Grid->setItem(row, 0, Cell(ToQ(HistoryCaption(row + 1))));
    for (int c = 1; c <= kHistoryYears; ++c) Grid->setItem(row, c, Cell(QString()));
  }
}

void THistoryForm::View() {
  const int n = SelectedProperty();
  if (n < 1) {
    s_.dialogs.Message("No property selected", MsgIcon::Error, MsgButton::OK);
    return;
  }
  const BookingHistory h = BuildBookingHistory(s_, n, year_);
  for (int row = 0; row < kHistoryRows; ++row) {
    Grid->item(row, 0)->setText(ToQ(h.captions[static_cast<size_t>(row)]));
    for (int c = 0; c < kHistoryYears; ++c)
      Grid->item(row, c + 1)->setText(ToQ(h.cells[static_cast<size_t>(c)][static_cast<size_t>(row)]));
  }
  FitColumns();
}

void THistoryForm::FitColumns() {
  // Wide enough for the longest texts a cell can hold, so that a view never cuts one.
  const QFontMetrics fm = Grid->fontMetrics();
  const int caption = fm.horizontalAdvance(QStringLiteral("53 00 Www 0000"));
  const int cell = std::max(fm.horizontalAdvance(QStringLiteral("- Reserved -")),
                            fm.horizontalAdvance(QStringLiteral("P00/00/0000")));
  for (int c = 0; c <= kHistoryYears; ++c) {
    int width = c == 0 ? caption : cell;
    for (int row = 0; row < Grid->rowCount(); ++row)
      if (const QTableWidgetItem* item = Grid->item(row, c))
        width = std::max(width, fm.horizontalAdvance(item->text()));
    Grid->setColumnWidth(c, std::max(width + 16, Grid->horizontalHeader()->sectionSizeHint(c)));
  }
}

}  // namespace tb

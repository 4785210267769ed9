#include "app/forms/TOverdueForm.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/OverdueBooking.h"
#include "platform/PrintCanvas.h"
#include "platform/forms/ListWindow.h"
#include "platform/forms/QtText.h"
#include "reports/OverdueCsv.h"
#include "reports/OverduePrint.h"
#include "reports/ReportPrinter.h"
#include "store/Session.h"

namespace tb {

namespace {

constexpr int kMostRowsShown = 20;
constexpr int kExtraWidth = 120;
constexpr int kLeastWidth = 436;

}  // namespace

TOverdueForm::TOverdueForm(Session& s, QWidget* parent) : QDialog(parent), s_(s) {
  setWindowTitle(QStringLiteral("List of Overdue Items"));
  setModal(false);
  auto* layout = new QVBoxLayout(this);
  lText = new QLabel(
      QStringLiteral("Overdue List.   Click column headers to sort.   Click line to view booking"), this);
  layout->addWidget(lText);

  QStringList headings;
  for (int c = 0; c < kOverdueColumns; ++c)
    headings << QString::fromLatin1(OverdueHeading(static_cast<OverdueColumn>(c)));
  LV = FlatList(this, headings, {});
  LV->setUniformRowHeights(true);
  LV->header()->setSectionsClickable(true);
  LV->header()->setSortIndicatorShown(false);
  LV->header()->setStretchLastSection(false);
  layout->addWidget(LV, 1);

  auto* buttons = new QHBoxLayout;
  bPrint = new QPushButton(QStringLiteral("Print List"), this);
  bCsv = new QPushButton(QStringLiteral("Export to CSV"), this);
  bCsv->setToolTip(QStringLiteral("Export the currently displayed list to a CSV file,"));
  for (QPushButton* b : {bPrint, bCsv}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  buttons->addStretch();
  layout->addLayout(buttons);

  connect(LV->header(), &QHeaderView::sectionClicked, this, &TOverdueForm::SortBy);
  connect(LV, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem* item, int) { OpenLine(LV->indexOfTopLevelItem(item)); });
  connect(bPrint, &QPushButton::clicked, this, &TOverdueForm::PrintList);
  connect(bCsv, &QPushButton::clicked, this, &TOverdueForm::ExportCsv);
}

bool TOverdueForm::Build() {
  list_.Build(s_);
  Fill();
  Fit();
  return !list_.rows.empty();
}

void TOverdueForm::Refresh() {
  const int top = TopLine();
  const OverdueRow former = top >= 0 ? list_.rows[static_cast<size_t>(top)] : OverdueRow{};
  list_.Build(s_);
  Fill();
  if (top < 0 || list_.rows.empty()) return;
  // The line that was at the top, or the one now in its place when it went.
  int again = list_.Find(former);
  if (again < 0) again = std::min(top, static_cast<int>(list_.rows.size()) - 1);
  LV->scrollToItem(LV->topLevelItem(again), QAbstractItemView::PositionAtTop);
}

void TOverdueForm::SortBy(int column) {
  if (column < 0 || column >= kOverdueColumns) return;
  list_.SortBy(static_cast<OverdueColumn>(column));
  Fill();
}

int TOverdueForm::TopLine() const {
  if (LV->topLevelItemCount() == 0) return -1;
  QTreeWidgetItem* item = LV->itemAt(QPoint(1, 1));
  return item ? LV->indexOfTopLevelItem(item) : LV->verticalScrollBar()->value();
}

void TOverdueForm::Fill() {
  LV->clear();
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<qsizetype>(list_.rows.size()));
  for (const OverdueRow& r : list_.rows) {
    QStringList texts;
    for (int c = 0; c < kOverdueColumns; ++c) texts << ToQ(OverdueCellText(r, static_cast<OverdueColumn>(c)));
    items.append(new QTreeWidgetItem(texts));
  }
  LV->addTopLevelItems(items);
}

// Wide enough for the widest texts, high enough for 20 lines.
void TOverdueForm::Fit() {
  int width = 0;
  for (int c = 0; c < kOverdueColumns; ++c) {
    LV->resizeColumnToContents(c);
    width += LV->columnWidth(c);
  }
  const int rows = std::min(std::max(static_cast<int>(list_.rows.size()), 1), kMostRowsShown);
  const int rowHeight = LV->topLevelItemCount() ? LV->visualItemRect(LV->topLevelItem(0)).height()
                                                : LV->fontMetrics().height() + 4;
  const int height = LV->header()->sizeHint().height() + rows * std::max(rowHeight, 1) + 2 * LV->frameWidth() + 4;
  LV->setMinimumSize(std::max(width + kExtraWidth, kLeastWidth), height);
  adjustSize();
}

void TOverdueForm::OpenLine(int i) {
  if (i < 0 || i >= static_cast<int>(list_.rows.size())) return;
  OverdueRow& row = list_.rows[static_cast<size_t>(i)];
  const OverdueOpening opening = OpenOverdueRow(s_, row);
  if (opening.closeList) {
    close();
    return;
  }
  if (!opening.request.open) return;
  if (QTreeWidgetItem* item = LV->topLevelItem(i))
    item->setText(static_cast<int>(OverdueColumn::Rec), QString::number(row.rec));
  if (openBooking) openBooking(opening.request);
}

void TOverdueForm::PrintList() {
  std::unique_ptr<PrintCanvas> canvas = printCanvas ? printCanvas() : nullptr;
  if (!canvas) return;
  ReportPrinter printer(s_, *canvas);
  PrintOverdueList(printer, list_.rows);
}

void TOverdueForm::ExportCsv() {
  if (ExportOverdueCsv(s_, list_.rows) == CsvExport::Written) s_.processes.ShellOpen(OverdueCsvPath(s_));
}

}  // namespace tb

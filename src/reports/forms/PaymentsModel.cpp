#include "reports/forms/PaymentsModel.h"

#include "platform/forms/QtText.h"

namespace tb {

void PaymentsModel::SetRows(std::vector<PaymentRow> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  endResetModel();
}

void PaymentsModel::Sort(PaymentColumn column, bool descending) {
  beginResetModel();
  SortPaymentRows(rows_, column, descending);
  endResetModel();
}

int PaymentsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int PaymentsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kPaymentColumns; }

QVariant PaymentsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= static_cast<int>(rows_.size())) return {};
  const auto column = static_cast<PaymentColumn>(index.column());
  if (role == Qt::DisplayRole) return ToQ(PaymentCellText(rows_[static_cast<size_t>(index.row())], column));
  if (role == Qt::TextAlignmentRole) {
    const bool number = column == PaymentColumn::Prop || column == PaymentColumn::Days ||
                        column == PaymentColumn::Amount || column == PaymentColumn::SubTotals;
    return QVariant::fromValue(Qt::Alignment(number ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter));
  }
  return {};
}

QVariant PaymentsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kPaymentColumns) return {};
  return ToQ(PaymentHeading(static_cast<PaymentColumn>(section)));
}

}  // namespace tb

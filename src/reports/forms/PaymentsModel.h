#pragma once
// The payments list as a table model: cells are made as the view asks for them, so a
// list of years of an agency's payments costs no widget per cell.

#include <QAbstractTableModel>
#include <vector>

#include "reports/Payments.h"

namespace tb {

class PaymentsModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  using QAbstractTableModel::QAbstractTableModel;

  void SetRows(std::vector<PaymentRow> rows);
  void Clear() { SetRows({}); }
  void Sort(PaymentColumn column, bool descending);
  const std::vector<PaymentRow>& Rows() const { return rows_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  std::vector<PaymentRow> rows_;
};

}  // namespace tb

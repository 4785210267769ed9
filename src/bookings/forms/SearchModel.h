#pragma once
// The search window's rows as a table model over the search list's array of hits: a
// cell's text is made from its booking when the view asks for it, so a list of every
// booking of an agency costs no item per row.

#include <QAbstractTableModel>
#include <vector>

#include "bookings/SearchBookings.h"

namespace tb {

class SearchModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  SearchModel(const Session& s, const SearchList& list, std::vector<SearchColumn> columns, QObject* parent = nullptr);

  // The list is about to change (or its bookings to be read again): the view lets go
  // of every row until Changed.
  void Changing() { beginResetModel(); }
  void Changed() { endResetModel(); }
  SearchColumn Column(int section) const { return columns_[static_cast<size_t>(section)]; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const Session& s_;
  const SearchList& list_;
  std::vector<SearchColumn> columns_;
  mutable std::string cell_;  // reused for every cell
};

}  // namespace tb

#include "bookings/forms/SearchModel.h"

#include "platform/forms/QtText.h"

namespace tb {

SearchModel::SearchModel(const Session& s, const SearchList& list, std::vector<SearchColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), s_(s), list_(list), columns_(std::move(columns)) {}

int SearchModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(list_.result.hits.size());
}

int SearchModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant SearchModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
  const SearchColumn column = Column(index.column());
  if (role == Qt::DisplayRole) {
    if (list_.Stale(s_)) return {};  // blank until the search runs again
    SearchCellText(list_.result.hits[static_cast<size_t>(index.row())], column, cell_);
    return ToQ(cell_);
  }
  if (role == Qt::TextAlignmentRole) {
    const bool number = column == SearchColumn::Days || column == SearchColumn::Prop || column == SearchColumn::Rec;
    return QVariant::fromValue(Qt::Alignment(number ? Qt::AlignRight | Qt::AlignVCenter
                                                    : Qt::AlignLeft | Qt::AlignVCenter));
  }
  return {};
}

QVariant SearchModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount()) return {};
  return QString::fromLatin1(SearchHeading(Column(section)));
}

}  // namespace tb

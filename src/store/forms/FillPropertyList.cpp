#include "store/forms/FillPropertyList.h"

#include <QListWidget>
#include <algorithm>

#include "platform/forms/QtText.h"
#include "store/Session.h"
#include "store/Settings.h"

namespace tb {

void FillPropertyList(const Session& s, QListWidget& list, int maxRows, bool agencyOnly) {
  list.clear();
  const bool multi = list.selectionMode() == QAbstractItemView::MultiSelection ||
                     list.selectionMode() == QAbstractItemView::ExtendedSelection;
  for (const PropertyListRow& row : PropertyListRows(s, agencyOnly)) {
    auto* item = new QListWidgetItem(ToQ(row.text), &list);
    item->setData(Qt::UserRole, row.propNo);
    if (multi) item->setSelected(row.selected);
  }
  if (list.count() > 0) {
    if (!multi) list.setCurrentRow(0);
    list.item(0)->setSelected(true);
  }
  const int rowHeight = list.count() > 0 ? list.sizeHintForRow(0) : list.fontMetrics().height();
  list.setFixedHeight(std::min(s.NumProps(), maxRows) * rowHeight + 4);
  if (s.NumProps() > 10) list.scrollToTop();
}

}  // namespace tb

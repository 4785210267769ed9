#include "maintenance/forms/ExportItemList.h"

#include <QDropEvent>

namespace tb {

ExportItemList::ExportItemList(QWidget* parent) : QTreeWidget(parent) {
  setColumnCount(2);
  setRootIsDecorated(false);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setDragEnabled(true);
  setAcceptDrops(true);
  setDropIndicatorShown(true);
  setDragDropMode(QAbstractItemView::DragDrop);
  setDefaultDropAction(Qt::MoveAction);
  setContextMenuPolicy(Qt::ActionsContextMenu);
}

void ExportItemList::dropEvent(QDropEvent* event) {
  auto* from = qobject_cast<QTreeWidget*>(event->source());
  if (!from || !from->currentItem() || !dropped) {
    event->ignore();
    return;
  }
  QTreeWidgetItem* under = itemAt(event->position().toPoint());
  dropped(from, from->indexOfTopLevelItem(from->currentItem()), under ? indexOfTopLevelItem(under) : -1);
  // Moved here already: a copy action keeps the view from removing the source row too.
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

}  // namespace tb

#pragma once
// A list of export items (heading, code) whose rows are dragged within it and to the
// other list of the export window; the window does the move.

#include <QTreeWidget>
#include <functional>

namespace tb {

class ExportItemList : public QTreeWidget {
 public:
  explicit ExportItemList(QWidget* parent = nullptr);
  // The row of `from` dropped before row `before` of this list (-1: at the end).
  std::function<void(QTreeWidget* from, int row, int before)> dropped;

 protected:
  void dropEvent(QDropEvent* event) override;
};

}  // namespace tb

#pragma once
// "Owner Archive": the owners deleted from the owner database, as "Owner-archive.bko"
// holds them, in a table. Only reads.

#include <QWidget>

#include "owners/forms/OwnerArchiveView.h"

class QLabel;
class QTreeWidget;

namespace tb {

class TArchiveViewForm : public QWidget {
  Q_OBJECT
 public:
  explicit TArchiveViewForm(OwnerArchiveView view, QWidget* parent = nullptr);

  const OwnerArchiveView& View() const { return view_; }

  QLabel* lPath = nullptr;
  QTreeWidget* list = nullptr;

 private:
  OwnerArchiveView view_;
};

}  // namespace tb

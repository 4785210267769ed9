#pragma once
// "Memory usage": this process's memory and the machine's, refreshed every second.

#include <QDialog>

class QLabel;
class QTimer;

namespace tb {

class TMemoryForm : public QDialog {
  Q_OBJECT
 public:
  explicit TMemoryForm(QWidget* parent);
  // Reads the figures again.
  void Update();
  QLabel* figures = nullptr;
  QTimer* timer = nullptr;
};

}  // namespace tb

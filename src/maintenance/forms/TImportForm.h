#pragma once
// The import window: bookings from a CSV file added to the property picked in the list.

#include <QDialog>
#include <functional>

class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QShowEvent;

namespace tb {

class Session;

class TImportForm : public QDialog {
  Q_OBJECT
 public:
  explicit TImportForm(Session& s, QWidget* parent = nullptr);

  // "Import": the file in InFile into the property picked in LB.
  void Import();
  void Browse();
  // The property picked in LB; 0 when none is.
  int SelectedProperty() const;

  // The open-file dialog of "Browse" (tests replace it); "" when cancelled.
  std::function<QString()> chooseImportFile;

  QListWidget* LB = nullptr;
  QLineEdit* InFile = nullptr;
  QPushButton* btBrowse = nullptr;
  QPushButton* btImport = nullptr;
  QPushButton* btClose = nullptr;
  QPlainTextEdit* Memo1 = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  Session& s_;
};

}  // namespace tb

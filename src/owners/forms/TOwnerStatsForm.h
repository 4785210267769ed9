#pragma once
// "Owner Statistics and Validation": how many owners there are, where their file is,
// and a listing of the links between properties and owners that need attention.
// Shown without blocking; its texts are worked out afresh each time it is shown.

#include <QDialog>

class QLabel;
class QPlainTextEdit;

namespace tb {

class Session;

class TOwnerStatsForm : public QDialog {
  Q_OBJECT
 public:
  explicit TOwnerStatsForm(Session& s, QWidget* parent = nullptr);

  // Fills the labels and the listing from the database as it stands.
  void Refresh();

  QLabel* lCount = nullptr;
  QLabel* lDatabase = nullptr;
  QPlainTextEdit* memo = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  Session& s_;
};

}  // namespace tb

#pragma once
// "Manage Letter Proformas": the proformas that apply to a property (its own, then the
// shared ones), or only the shared ones when opened without a property; each edited,
// copied, renamed or deleted from the list.

#include <QDialog>
#include <vector>

#include "correspondence/Proformas.h"

class QAction;
class QLabel;
class QMenu;
class QTreeWidget;

namespace tb {

class Session;

class TProformaForm : public QDialog {
  Q_OBJECT
 public:
  // n: the property, 0 for none.
  TProformaForm(Session& s, int n, QWidget* parent = nullptr);

  // A click on a row: the proforma edited (a heading does nothing).
  void Click(int row);
  // The context menu's commands on the selected row.
  void EditAsText();
  void Copy(ProformaCopy how);
  void Delete();
  // Beeps and warns for each HTML proforma with a text one beside it.
  void ShowWarnings();
  int Selected() const;
  const std::vector<ProformaRow>& Rows() const { return rows_; }

  QLabel* heading = nullptr;
  QLabel* hint = nullptr;  // without a property: where to see them all
  QTreeWidget* list = nullptr;
  QMenu* menu = nullptr;
  QAction* acEdit = nullptr;
  QAction* acCopyShared = nullptr;
  QAction* acCopyProperty = nullptr;
  QAction* acRename = nullptr;
  QAction* acDelete = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;

 private:
  void Fill();
  void Refill();
  const ProformaRow* SelectedRow() const;

  Session& s_;
  int n_;
  std::vector<ProformaRow> rows_;
  bool warned_ = false;
};

}  // namespace tb

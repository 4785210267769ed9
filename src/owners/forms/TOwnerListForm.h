#pragma once
// "Owner List": every owner in one table, held with the owner file's lock while the
// window is open. In the list mode owners are added, edited and deleted; in the
// e-mail mode owners are ticked for one e-mail to them all.

#include <QDialog>
#include <functional>
#include <vector>

#include "owners/OwnerListRows.h"
#include "owners/forms/OwnerFormMode.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace tb {

class Session;
class TOwnerStatsForm;

class TOwnerListForm : public QDialog {
  Q_OBJECT
 public:
  enum class Mode { List, Email };
  TOwnerListForm(Session& s, Mode mode, QWidget* parent = nullptr);
  ~TOwnerListForm() override;

  // Opens the owner editor on the owner at a 1-based database position (0: a new
  // owner); true when the editor saved anything. The list holds the lock meanwhile.
  std::function<bool(OwnerFormMode mode, int position)> editOwner;
  // The final owner was deleted: the database is gone and the main window's owner
  // commands must change.
  std::function<void()> onDatabaseGone;

  // The window's commands, as its buttons, menu and keys run them.
  void EditSelected();
  void AddOwner();
  void DeleteSelected();
  void CheckAll();
  void UncheckAll();
  void SendEmail();
  void ShowStatistics();
  // A click on a column heading: sorts by it, the same heading again reverses.
  void SortBy(int column);

  // The rows as shown, top to bottom.
  const std::vector<OwnerListRow>& Rows() const { return table_.rows; }
  bool Ticked(int row) const;
  TOwnerStatsForm* Statistics() const { return stats_; }

  QLabel* lTitle = nullptr;
  QLabel* lReadOnly = nullptr;
  QTreeWidget* list = nullptr;
  QPushButton* bAdd = nullptr;
  QPushButton* bUncheck = nullptr;
  QPushButton* bCheck = nullptr;
  QPushButton* bSend = nullptr;
  QPushButton* bStats = nullptr;
  QMenu* menu = nullptr;
  QAction* acEdit = nullptr;
  QAction* acDelete = nullptr;
  QLabel* panel[3] = {};

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;

 private:
  void BuildControls();
  void BuildCommands();
  void Open();
  void Release();
  void Fill();
  void ShowRows();
  void SetTicks(bool everyAddress);
  void ShowCounts();
  void ShowSelection();
  void Ticked(QTreeWidgetItem* item);
  std::vector<int> SelectedRows() const;
  void SelectRow(int row);

  Session& s_;
  const Mode mode_;
  OwnerListTable table_;
  std::vector<bool> ticked_;  // by database position, so ticks follow the rows when sorted
  int sortColumn_ = -1;
  bool descending_ = false;
  bool held_ = false;   // the lock was asked for on showing
  bool filling_ = false;
  TOwnerStatsForm* stats_ = nullptr;
};

}  // namespace tb

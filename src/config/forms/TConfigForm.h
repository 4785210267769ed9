#pragma once
// The configuration window: the common settings, the properties with their settings,
// adding a property, saving. What is valid and what is written is the model's.

#include <QWidget>
#include <string>

class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

namespace tb {

class ConfigModel;
class Dialogs;

class TConfigForm : public QWidget {
  Q_OBJECT
 public:
  // Table columns.
  enum Column { KeyColumn, CaptionColumn, ValueColumn, DefaultColumn };

  TConfigForm(ConfigModel& model, Dialogs& dialogs, QWidget* parent = nullptr);

  // The Save button: true when saved; a failure is shown and the edits stay.
  bool Save();
  // The "Add property..." button.
  void AddProperty();

  QTableWidget* commonTable = nullptr;
  QListWidget* propertyList = nullptr;
  QTableWidget* propertyTable = nullptr;
  QPushButton* addButton = nullptr;
  QPushButton* saveButton = nullptr;
  QPushButton* closeButton = nullptr;
  QLabel* status = nullptr;

 protected:
  // Unsaved changes are offered for saving first; a failed save keeps the window.
  void closeEvent(QCloseEvent* event) override;

 private:
  std::string CurrentSection() const;  // of the property selected; "" when none
  void Edited(const QTableWidget& table, const QTableWidgetItem& item, const std::string& section);
  void Refresh();
  void FillList();

  ConfigModel& model_;
  Dialogs& dialogs_;
};

}  // namespace tb

#pragma once
// "Select Property": the property picker the other windows share. Its run button and
// extras depend on what the property is picked for.

#include <QDialog>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace tb {

class Session;

enum class PickPurpose { EditRates, CopyRates, Synch, ViewOwner, ViewWebSite };

class TPropSelForm : public QDialog {
  Q_OBJECT
 public:
  // year: the year shown for EditRates.
  TPropSelForm(const Session& s, PickPurpose purpose, int year = 0, QWidget* parent = nullptr);
  // The chosen property's number; 0 when none is chosen.
  int Chosen() const;
  // Shows the picker; the chosen property, or 0 on Cancel.
  int Pick();

  QListWidget* list = nullptr;
  QPushButton* run = nullptr;
  QLabel* yearLabel = nullptr;      // EditRates only
  QCheckBox* linesOnly = nullptr;   // CopyRates only
};

}  // namespace tb

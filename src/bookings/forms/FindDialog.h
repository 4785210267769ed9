#pragma once
// The booking window's find dialog: a text and a direction; each "Find Next" searches
// one booking on. It stays open beside the window until closed.

#include <QDialog>
#include <functional>

class QLineEdit;
class QRadioButton;

namespace tb {

class FindDialog : public QDialog {
  Q_OBJECT
 public:
  explicit FindDialog(QWidget* parent);
  // Shows the dialog with the last search text.
  void Start(const QString& lastText);
  QLineEdit* text = nullptr;
  QRadioButton* up = nullptr;
  QRadioButton* down = nullptr;
  std::function<void(const QString& text, bool down)> onFind;
};

}  // namespace tb

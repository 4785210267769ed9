#pragma once
// "Configure Auto-upload": how often, in minutes, the auto-upload timer sends what
// changed (0 switches it off).

#include <QDialog>
#include <functional>

class QLineEdit;
class QPushButton;

namespace tb {

class Session;

class TAutoUploadConfigForm : public QDialog {
  Q_OBJECT
 public:
  // setPeriod(seconds) starts the main window's timer with that period; 0 stops it.
  TAutoUploadConfigForm(Session& s, std::function<void(int)> setPeriod, QWidget* parent = nullptr);

  // Leaving the field: a wrong value is refused and the focus goes back; 0 stops the
  // timer at once. False when refused.
  bool FieldLeft();
  // "Save/Exit": stored and applied, then closed; false (and the window stays) when the
  // value is refused or cannot be stored.
  bool SaveExit();

  QLineEdit* Freq = nullptr;
  QPushButton* bSave = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Session& s_;
  std::function<void(int)> setPeriod_;
  bool refusing_ = false;
};

}  // namespace tb

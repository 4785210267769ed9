#pragma once
// The recovery window: a booking file rebuilt from the change log open in booking-file
// mode, optionally merged with a backup, into "Recovered.bks" in the root folder.

#include <QDialog>
#include <functional>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QShowEvent;

namespace tb {

class Session;

class TRecoverForm : public QDialog {
  Q_OBJECT
 public:
  explicit TRecoverForm(Session& s, QWidget* parent = nullptr);

  // "RUN": the recovery over the change log (the booking-file list), its lines added
  // to the memo.
  void Run();
  void Browse();

  // The backup file the user browses for; "" when cancelled.
  std::function<QString()> chooseBackupFile;

  QLineEdit* backupFile = nullptr;
  QPushButton* browse = nullptr;
  QPushButton* run = nullptr;
  QPushButton* help = nullptr;
  QPlainTextEdit* memo = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // One line at the end of the memo; an empty one shows as a blank line even first.
  void AddLine(const QString& line);
  Session& s_;
  int lines_ = 0;
};

}  // namespace tb

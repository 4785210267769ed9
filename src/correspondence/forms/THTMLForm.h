#pragma once
// "HTML Edit Window": the source of an HTML e-mail in a plain editor; "Save and return"
// hands the edited text back, "Quit - don't save" leaves it as it was.

#include <QDialog>
#include <string>

class QAction;
class QPlainTextEdit;

namespace tb {

class Session;

class THTMLForm : public QDialog {
  Q_OBJECT
 public:
  THTMLForm(Session& s, const std::string& html, QWidget* parent = nullptr);
  // Accepted: "Save and return"; rejected: "Quit - don't save" or closed.
  std::string Html() const;
  void SetWordWrap(bool on);

  QPlainTextEdit* editor = nullptr;
  QAction* acSave = nullptr;
  QAction* acQuit = nullptr;
  QAction* acWordWrap = nullptr;

 private:
  Session& s_;
};

}  // namespace tb

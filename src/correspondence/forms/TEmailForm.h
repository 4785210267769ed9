#pragma once
// "Send HTML EMail": an HTML message shown as it will look, its recipients, subject,
// source and attachments open to change, sent to the SMTP server on SEND.

#include <QDialog>
#include <QTextBrowser>
#include <functional>
#include <string>

#include "correspondence/LetterDelivery.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPrinter;
class QPushButton;

namespace tb {

class Session;
class THTMLForm;

// The preview: the message rendered from memory. It fetches nothing (no remote images,
// no local files: an empty resource, since none at all makes the document read a local
// file itself) and follows no link itself.
class MailPreview : public QTextBrowser {
  Q_OBJECT
 public:
  explicit MailPreview(QWidget* parent) : QTextBrowser(parent) {}
  QVariant loadResource(int type, const QUrl& name) override;
};

class TEmailForm : public QDialog {
  Q_OBJECT
 public:
  // n: the property whose "Attachments/" folder is searched first (0 for none).
  TEmailForm(Session& s, int n, QWidget* parent = nullptr);

  // Fills the window for a message; the body's attachment line becomes the list.
  void Load(const std::string& to, const std::string& subject, const std::string& body);
  HtmlSendResult Result() const { return result_; }
  // The body as it finally stood.
  const std::string& Body() const { return body_; }

  void Send();
  void EditHtml();
  void Cancel();
  void Print();
  void AddAttachment();
  void DeleteAttachment();
  void LinkClicked(const QUrl& url);

  // What the user does in the dialogs (tests replace them).
  std::function<QString()> chooseAttachment;
  std::function<bool(THTMLForm&)> showHtmlEditor;  // true: "Save and return"
  std::function<bool(QPrinter&)> askPrinter;       // true: print

  QLabel* sending = nullptr;
  QLineEdit* recipient = nullptr;
  QLineEdit* subject = nullptr;
  QLineEdit* cc = nullptr;
  QLineEdit* bcc = nullptr;
  QListWidget* attachments = nullptr;
  MailPreview* preview = nullptr;
  QPushButton* bSend = nullptr;
  QPushButton* bEditHtml = nullptr;
  QPushButton* bCancel = nullptr;
  QPushButton* bPrint = nullptr;
  QPushButton* bAddAttachment = nullptr;
  QPushButton* bDeleteAttachment = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void reject() override;

 private:
  void ShowBody();

  Session& s_;
  int n_;
  std::string body_;
  HtmlSendResult result_ = HtmlSendResult::Cancelled;
};

}  // namespace tb

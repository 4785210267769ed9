#include "correspondence/forms/TEmailForm.h"

#include <QApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "correspondence/MailSend.h"
#include "correspondence/forms/THTMLForm.h"
#include "platform/PathText.h"
#include "platform/forms/HelpKey.h"
#include "platform/forms/QtText.h"
#include "store/Session.h"
#include "store/Settings.h"

namespace tb {

namespace {
constexpr int kAttachmentHelp = 980;
}

QVariant MailPreview::loadResource(int, const QUrl&) { return QByteArray(); }

TEmailForm::TEmailForm(Session& s, int n, QWidget* parent) : QDialog(parent), s_(s), n_(n) {
  setWindowTitle(QStringLiteral("Send HTML EMail"));
  auto* layout = new QVBoxLayout(this);

  auto* fields = new QGridLayout;
  const std::pair<const char*, QLineEdit**> lines[] = {
      {"Recipient", &recipient}, {"Subject", &subject}, {"CC", &cc}, {"BCC", &bcc}};
  int row = 0;
  for (const auto& [caption, edit] : lines) {
    *edit = new QLineEdit(this);
    fields->addWidget(new QLabel(QString::fromLatin1(caption), this), row, 0);
    fields->addWidget(*edit, row++, 1);
  }
  attachments = new QListWidget(this);
  attachments->setMaximumHeight(70);
  fields->addWidget(new QLabel(QStringLiteral("Attachments"), this), row, 0, Qt::AlignTop);
  fields->addWidget(attachments, row, 1);
  auto* attachmentButtons = new QVBoxLayout;
  bAddAttachment = new QPushButton(QStringLiteral("+"), this);
  bAddAttachment->setToolTip(QStringLiteral("Add attachment (browse to locate file)"));
  bDeleteAttachment = new QPushButton(QStringLiteral("-"), this);
  bDeleteAttachment->setToolTip(QStringLiteral("Click to delete selected attachment"));
  attachmentButtons->addWidget(bAddAttachment);
  attachmentButtons->addWidget(bDeleteAttachment);
  attachmentButtons->addStretch();
  fields->addLayout(attachmentButtons, row, 2);
  layout->addLayout(fields);

  auto* buttons = new QHBoxLayout;
  bSend = new QPushButton(QStringLiteral("SEND"), this);
  bEditHtml = new QPushButton(QStringLiteral("Edit HTML"), this);
  bEditHtml->setToolTip(QStringLiteral("View and edit the source HTML code "));
  bCancel = new QPushButton(QStringLiteral("Cancel"), this);
  bCancel->setToolTip(QStringLiteral("Cancel current email"));
  bPrint = new QPushButton(QStringLiteral("Print"), this);
  bPrint->setToolTip(QStringLiteral("Print copy of this email"));
  for (QPushButton* b : {bSend, bEditHtml, bCancel, bPrint}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  buttons->addStretch();
  sending = new QLabel(QStringLiteral("Sending email - please wait."), this);
  QFont bold = sending->font();
  bold.setBold(true);
  sending->setFont(bold);
  sending->hide();
  buttons->addWidget(sending);
  layout->addLayout(buttons);

  preview = new MailPreview(this);
  preview->setOpenLinks(false);
  preview->setOpenExternalLinks(false);
  layout->addWidget(preview, 1);
  resize(760, 640);

  connect(bSend, &QPushButton::clicked, this, &TEmailForm::Send);
  connect(bEditHtml, &QPushButton::clicked, this, &TEmailForm::EditHtml);
  connect(bCancel, &QPushButton::clicked, this, &TEmailForm::Cancel);
  connect(bPrint, &QPushButton::clicked, this, &TEmailForm::Print);
  connect(bAddAttachment, &QPushButton::clicked, this, &TEmailForm::AddAttachment);
  connect(bDeleteAttachment, &QPushButton::clicked, this, &TEmailForm::DeleteAttachment);
  connect(preview, &QTextBrowser::anchorClicked, this, &TEmailForm::LinkClicked);

  AddHelpKey(this, [this]() { OpenHelp(s_, kEmailWindowHelp); });

  chooseAttachment = [this]() { return QFileDialog::getOpenFileName(this, QStringLiteral("Add attachment")); };
  showHtmlEditor = [](THTMLForm& editor) { return editor.exec() == QDialog::Accepted; };
  askPrinter = [this](QPrinter& printer) {
    QPrintDialog dialog(&printer, this);
    return dialog.exec() == QDialog::Accepted;
  };
}

void TEmailForm::Load(const std::string& to, const std::string& subjectText, const std::string& body) {
  sending->hide();
  recipient->setText(ToQ(to));
  subject->setText(ToQ(subjectText));
  cc->clear();
  bcc->setText(ToQ(s_.common.eBCC));
  attachments->clear();
  body_ = body;
  const AttachmentLine line = TakeAttachmentLine(body_);
  if (line.tooLong) {
    s_.dialogs.Beep();
    s_.dialogs.Message("Attachment line cannot exceed 999 chars", MsgIcon::Error, MsgButton::Ignore);
  }
  for (const std::string& name : line.names) attachments->addItem(ToQ(name));
  result_ = HtmlSendResult::Cancelled;
  ShowBody();
}

void TEmailForm::ShowBody() { preview->setHtml(ToQ(body_)); }

void TEmailForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  const Session::WindowPlace& place = s_.EmailFormPlace;
  if (place.width > 0) {
    setGeometry(place.left, place.top, place.width, place.height);
    return;
  }
  // The first time in a run: as tall as the screen allows, near its top.
  if (const QScreen* screen = this->screen()) {
    const QRect area = screen->geometry();
    setGeometry(x(), area.top() + 20, width(), std::max(300, area.height() - 80));
  }
}

void TEmailForm::hideEvent(QHideEvent* event) {
  const QRect g = geometry();
  s_.EmailFormPlace = {g.x(), g.y(), g.width(), g.height()};
  QDialog::hideEvent(event);
}

void TEmailForm::Send() {
  // Every attachment is found before anything is sent.
  HtmlMail mail;
  for (int i = 0; i < attachments->count(); ++i) {
    const std::string entry = FromQ(attachments->item(i)->text());
    const std::string found = FindAttachment(s_, n_, entry);
    if (found.empty()) {
      s_.dialogs.Beep();
      s_.dialogs.Message("Error - Attachment not found: " + entry, MsgIcon::Error, MsgButton::Abort | MsgButton::Help,
                         kAttachmentHelp);
      return;
    }
    mail.attachments.push_back(found);
  }
  mail.to = FromQ(recipient->text());
  mail.cc = FromQ(cc->text());
  mail.bcc = FromQ(bcc->text());
  mail.subject = FromQ(subject->text());
  mail.body = body_;
  // The send blocks this thread: the line is painted first.
  sending->show();
  sending->repaint();
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  result_ = SendHTMLMail(s_, mail) ? HtmlSendResult::Sent : HtmlSendResult::Failed;
  sending->hide();
  done(result_ == HtmlSendResult::Sent ? QDialog::Accepted : QDialog::Rejected);
}

void TEmailForm::EditHtml() {
  THTMLForm editor(s_, body_, this);
  if (!showHtmlEditor(editor)) return;
  body_ = editor.Html();
  ShowBody();
}

void TEmailForm::Cancel() {
  result_ = HtmlSendResult::Cancelled;
  done(QDialog::Rejected);
}

void TEmailForm::reject() { Cancel(); }

void TEmailForm::Print() {
  QPrinter printer(QPrinter::HighResolution);
  if (!askPrinter(printer)) return;
  preview->document()->print(&printer);
}

void TEmailForm::AddAttachment() {
  const QString chosen = chooseAttachment();
  if (!chosen.isEmpty()) attachments->addItem(ToQ(PathText(chosen.toStdString())));
}

void TEmailForm::DeleteAttachment() { delete attachments->currentItem(); }

void TEmailForm::LinkClicked(const QUrl& url) {
  // The user's browser or mail client opens it, as the link was written; a link to
  // a file or a relative one is not for a message's reader. The preview stays put.
  const QString scheme = url.scheme().toLower();
  if (scheme != QStringLiteral("http") && scheme != QStringLiteral("https") && scheme != QStringLiteral("mailto"))
    return;
  s_.processes.ShellOpen(url.toEncoded().toStdString());
}

}  // namespace tb

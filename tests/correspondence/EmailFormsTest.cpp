// The "Send HTML EMail" window and its HTML editor, without a server: what the window
// shows, what its buttons do, and what it refuses before anything is sent.

#include <QCoreApplication>
#include <QImage>
#include <QTextDocument>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <gtest/gtest.h>

#include "correspondence/forms/TEmailForm.h"
#include "correspondence/forms/THTMLForm.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

class EmailForms : public ::testing::Test {
 protected:
  EmailForms() {
    t.Load("[Common]\nver=V4.4\neBCC=office@example.com\nNumProps=1\n[Prop01]\nPropName=Bramble\n");
    ForceDirectories(t.Root() + "Bramble/Attachments");
    ForceDirectories(t.Root() + "Attachments");
  }
  TestSession t;
  Session& s = t.session;
};

TEST_F(EmailForms, TheWindowShowsTheMessageAndItsAttachments) {
  TEmailForm form(s, 1);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Send HTML EMail"));
  EXPECT_EQ(form.bEditHtml->toolTip(), QStringLiteral("View and edit the source HTML code "));
  EXPECT_EQ(form.bCancel->toolTip(), QStringLiteral("Cancel current email"));
  EXPECT_EQ(form.bPrint->toolTip(), QStringLiteral("Print copy of this email"));
  EXPECT_EQ(form.bAddAttachment->toolTip(), QStringLiteral("Add attachment (browse to locate file)"));
  EXPECT_EQ(form.bDeleteAttachment->toolTip(), QStringLiteral("Click to delete selected attachment"));
  form.cc->setText(QStringLiteral("left over"));
  form.Load("ann@example.com", "Bramble, Saturday 2 January", "<html>\r\n<!-- Attach Map.pdf;Terms.pdf -->\r\n"
                                                              "<p>Dear <b>Ann</b> \xA3" "5</p></html>");
  EXPECT_EQ(form.recipient->text(), QStringLiteral("ann@example.com"));
  EXPECT_EQ(form.subject->text(), QStringLiteral("Bramble, Saturday 2 January"));
  EXPECT_EQ(form.cc->text(), QString());
  EXPECT_EQ(form.bcc->text(), QStringLiteral("office@example.com"));
  ASSERT_EQ(form.attachments->count(), 2);
  EXPECT_EQ(form.attachments->item(1)->text(), QStringLiteral("Terms.pdf"));
  EXPECT_EQ(form.Body(), "<html>\r\n<p>Dear <b>Ann</b> \xA3" "5</p></html>");
  EXPECT_EQ(form.preview->toPlainText(), QStringLiteral("Dear Ann \u00a3" "5"));
  EXPECT_TRUE(form.sending->isHidden());

  // A missing attachment keeps the window and sends nothing.
  WriteWholeFile(t.Root() + "Attachments/Map.pdf", "%PDF");
  t.dialogs.Expect("Error - Attachment not found: Terms.pdf", MsgIcon::Error, MsgButton::Abort | MsgButton::Help, 980,
                   MsgButton::Abort);
  form.Send();
  t.dialogs.VerifyAllShown();
  EXPECT_EQ(form.result(), QDialog::Rejected);
  EXPECT_EQ(form.Result(), HtmlSendResult::Cancelled);

  // Deleted from the list, a file browsed for added by its whole path.
  form.attachments->setCurrentRow(1);
  form.DeleteAttachment();
  form.chooseAttachment = [&]() { return QString::fromStdString(t.dir.Path() + "caf\xC3\xA9.pdf"); };
  form.AddAttachment();
  ASSERT_EQ(form.attachments->count(), 2);
  EXPECT_EQ(form.attachments->item(1)->text(), QString::fromStdString(t.dir.Path() + "caf\xC3\xA9.pdf"));
  t.dialogs.Expect("Error - Attachment not found: " + t.dir.Path() + "caf\xE9.pdf", MsgIcon::Error,
                   MsgButton::Abort | MsgButton::Help, 980, MsgButton::Abort);
  form.Send();
  t.dialogs.VerifyAllShown();

  form.Cancel();
  EXPECT_EQ(form.Result(), HtmlSendResult::Cancelled);
}

TEST_F(EmailForms, AnAttachmentLineTooLongIsReportedAndCut) {
  TEmailForm form(s, 1);
  t.dialogs.Expect("Attachment line cannot exceed 999 chars", MsgIcon::Error, MsgButton::Ignore, 0, MsgButton::Ignore);
  form.Load("a@b.com", "S", "<!-- Attach " + std::string(1000, 'x') + " -->\r\n<p>x</p>");
  EXPECT_EQ(form.attachments->count(), 0);
  EXPECT_EQ(form.Body().substr(0, 4), "xxxx");
  EXPECT_EQ(t.dialogs.beeps, 1);
}

TEST_F(EmailForms, EditHtmlSavesOrQuitsAndTheEditorWraps) {
  TEmailForm form(s, 0);
  form.Load("a@b.com", "S", "<p>one</p>\r\n<p>two</p>");
  form.showHtmlEditor = [&](THTMLForm& editor) {
    EXPECT_EQ(editor.windowTitle(), QStringLiteral("HTML Edit Window"));
    EXPECT_EQ(editor.editor->toPlainText(), QStringLiteral("<p>one</p>\n<p>two</p>"));
    EXPECT_EQ(editor.acSave->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    EXPECT_TRUE(editor.acWordWrap->isChecked());
    EXPECT_EQ(editor.editor->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    editor.acWordWrap->trigger();
    EXPECT_EQ(editor.editor->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(editor.editor->horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    editor.editor->setPlainText(QStringLiteral("<p>three \u00a3</p>\n<p>four</p>"));
    return false;  // "Quit - don't save"
  };
  form.EditHtml();
  EXPECT_EQ(form.Body(), "<p>one</p>\r\n<p>two</p>");
  form.showHtmlEditor = [&](THTMLForm& editor) {
    editor.editor->setPlainText(QStringLiteral("<p>three \u00a3</p>\n<p>four</p>"));
    return true;  // "Save and return"
  };
  form.EditHtml();
  EXPECT_EQ(form.Body(), "<p>three \xA3</p>\r\n<p>four</p>");
  EXPECT_EQ(form.preview->toPlainText().simplified(), QStringLiteral("three \u00a3 four"));
}

TEST_F(EmailForms, LinksGoToTheBrowserAndNothingIsFetched) {
  TEmailForm form(s, 0);
  const QString picture = QString::fromStdString(t.dir.Path() + "private.png");
  QImage image(4, 4, QImage::Format_RGB32);
  image.fill(Qt::red);
  ASSERT_TRUE(image.save(picture));
  form.Load("a@b.com", "S",
            "<p><a href=\"https://example.com/x?a=1&amp;b=2\">site</a></p><img src=\"https://example.com/track.gif\">"
            "<img src=\"" + t.dir.Path() + "private.png\"><img src=\"file://" + t.dir.Path() + "private.png\">");
  // What the document would show for each picture: nothing, remote or on this machine.
  QTextDocument* document = form.preview->document();
  for (const QUrl& url : {QUrl(QStringLiteral("https://example.com/track.gif")), QUrl::fromLocalFile(picture),
                          QUrl(picture)}) {
    const QVariant shown = document->resource(QTextDocument::ImageResource, url);
    EXPECT_TRUE(shown.value<QImage>().isNull()) << url.toString().toStdString();
    EXPECT_TRUE(shown.toByteArray().isEmpty()) << url.toString().toStdString();
  }
  struct Case {
    const char* link;
    const char* opened;  // "" when it is not handed over
  } cases[] = {
      {"https://example.com/x?a=1&b=2", "https://example.com/x?a=1&b=2"},
      {"https://example.com/a b", "https://example.com/a%20b"},
      {"mailto:owner@example.com", "mailto:owner@example.com"},
      {"file:///etc/passwd", ""},
      {"notes.html", ""},
  };
  for (const Case& c : cases) {
    t.runner.opened.clear();
    form.LinkClicked(QUrl(QString::fromUtf8(c.link)));
    EXPECT_EQ(t.runner.opened, *c.opened ? std::vector<std::string>{c.opened} : std::vector<std::string>{}) << c.link;
  }
  EXPECT_TRUE(form.preview->toPlainText().startsWith(QStringLiteral("site"))) << "the message stays on show";
}

TEST_F(EmailForms, TheWindowComesBackWhereItWasLeft) {
  QRect left;
  {
    TEmailForm form(s, 0);
    form.show();
    form.setGeometry(150, 120, 700, 500);
    left = form.geometry();
    form.Cancel();
  }
  TEmailForm again(s, 0);
  again.show();
  EXPECT_EQ(again.geometry(), left);
  again.Cancel();
}

TEST_F(EmailForms, PrintWritesThePreview) {
  TEmailForm form(s, 0);
  form.Load("a@b.com", "S", "<h1>Booking confirmed</h1><p>Bramble \xA3" "450</p>");
  const std::string pdf = t.dir.Path() + "mail.pdf";
  form.askPrinter = [&](QPrinter& printer) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    return true;
  };
  form.Print();
  PosixProcessRunner runner;
  std::string text;
  ASSERT_EQ(runner.Capture("pdftotext", {pdf, "-"}, text), 0);
  EXPECT_NE(text.find("Booking con"), std::string::npos) << text;
  EXPECT_NE(text.find("Bramble \xC2\xA3" "450"), std::string::npos) << text;
}

}  // namespace
}  // namespace tb::test

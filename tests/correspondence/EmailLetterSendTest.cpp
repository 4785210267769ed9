// An HTML e-mail letter sent for real: from the booking's proforma through the "Send
// HTML EMail" window to an SMTP server on this machine, and the letter file kept.

#include <QLineEdit>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

#include "bookings/BookingEditor.h"
#include "bookings/BrambleFixture.h"
#include "correspondence/Letters.h"
#include "correspondence/forms/EmailDelivery.h"
#include "correspondence/forms/TEmailForm.h"
#include "correspondence/forms/THTMLForm.h"
#include "support/SmtpTestServer.h"

namespace tb::test {
namespace {

class EmailLetterSend : public BrambleFixture {
 protected:
  EmailLetterSend() : BrambleFixture("") {
    ForceDirectories(t.Root() + "Bramble/Letters");
    ForceDirectories(t.Root() + "Attachments");
    CommonSettings& c = s.common;
    c.NLetters = 3;
    c.LetterDesc = {"", "Confirmation", "Balance due", "Arrival"};
    c.LetterEMail = {false, false, false, true};
    c.eBCC = "copies@tenbrook.test";
  }
  TrustTestServers trust;
};

TEST_F(EmailLetterSend, TheLetterIsSentAndKeptAsSent) {
  SmtpTestServer server(SmtpTestServer::Mode::StartTlsAuth);
  ASSERT_TRUE(server.Started()) << server.Log();
  UseMailServer(s.common, server);
  WriteWholeFile(t.Root() + "Prof-L3.htm",
                 "<html>\r\n<!-- Attach Directions.pdf -->\r\n<p>Dear <-Salutation->, we look forward to your stay.</p></html>");
  WriteWholeFile(t.Root() + "Attachments/Directions.pdf", "%PDF-1.4 directions");

  BookingEditor ed{s};
  ed.OpenEdit(1, At(1));
  ed.fields.fnames = "Ann";
  ed.fields.email = "adams@example.test";
  ed.FieldChanged();
  EmailDelivery delivery(s, 1, nullptr);
  delivery.showEmail = [](TEmailForm& form) {
    form.subject->setText(QStringLiteral("Your stay at Bramble"));
    form.Send();
  };
  ASSERT_EQ(CreateLetter(s, ed, 3, true, false, delivery), LetterOutcome::Created);
  ed.Close();

  ASSERT_TRUE(server.WaitForMessages(1));
  const nlohmann::json m = server.Messages()[0];
  EXPECT_EQ(m["rcpt_tos"], nlohmann::json({"adams@example.test", "copies@tenbrook.test"}));
  const nlohmann::json& parts = m["parts"];
  ASSERT_EQ(parts.size(), 5u) << parts;
  const std::string html = parts[3]["text"];
  EXPECT_EQ(html.find("Attach"), std::string::npos) << "the attachment line is not sent";
  EXPECT_EQ(parts[4]["filename"], "Directions.pdf");
  // The letter file holds the body as it was sent, attachment line taken out.
  const std::string letter = t.dir.Read("root/Bramble/Letters/270102L3Adams.htm");
  EXPECT_EQ(letter.find("Attach"), std::string::npos) << letter;
  EXPECT_NE(letter.find("<p>Dear Ann Adams, we look forward to"), std::string::npos) << letter;
  std::string kept;
  for (char ch : letter)
    if (ch != '\r') kept += ch;  // the server's record has lines ending in LF
  EXPECT_EQ(html, kept);
}

// A message the server refuses keeps what the user wrote in the draft, not the merge.
TEST_F(EmailLetterSend, ARefusedMessageKeepsTheEditsInTheDraft) {
  SmtpTestServer server(SmtpTestServer::Mode::Refuse);
  ASSERT_TRUE(server.Started()) << server.Log();
  UseMailServer(s.common, server);
  WriteWholeFile(t.Root() + "Prof-L3.htm", "<p>Dear <-Salutation-></p>");
  BookingEditor ed{s};
  ed.OpenEdit(1, At(1));
  ed.fields.email = "adams@example.test";
  ed.FieldChanged();
  EmailDelivery delivery(s, 1, nullptr);
  delivery.showEmail = [](TEmailForm& form) {
    form.showHtmlEditor = [](THTMLForm& editor) {
      editor.editor->setPlainText(QStringLiteral("<p>Dear Adams, with a line of my own</p>"));
      return true;
    };
    form.EditHtml();
    form.Send();
  };
  t.dialogs.permissive = true;
  EXPECT_EQ(CreateLetter(s, ed, 3, true, false, delivery), LetterOutcome::Failed);
  ed.Close();
  std::string draft;
  ASSERT_TRUE(ReadWholeFile(s.common.TempFolder + "Draft.txt", draft));
  EXPECT_EQ(draft, "<p>Dear Adams, with a line of my own</p>");
  EXPECT_TRUE(server.Messages().empty());
}

}  // namespace
}  // namespace tb::test

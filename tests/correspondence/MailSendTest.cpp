// E-mail without a server: the attachment line, where attachments are found, the
// server the settings describe, and the hand-over to the user's mail client.

#include "correspondence/MailSend.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/FileSystem.h"
#include "support/ChildProcess.h"
#include "store/ScrambledPassword.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

TEST(AttachmentLine, NamesAreTakenOutWithTheLineBreak) {
  struct Case {
    std::string body;
    std::vector<std::string> names;
    bool tooLong;
    std::string left;
  } cases[] = {
      {"<p>Hi</p>", {}, false, "<p>Hi</p>"},
      {"<html>\r\n<!-- Attach a.pdf; Map 2.jpg -->\r\n<p>Hi</p>", {"a.pdf", "Map 2.jpg"}, false, "<html>\r\n<p>Hi</p>"},
      {"<!-- Attach a.pdf;b.pdf; -->\r\nx", {"a.pdf", "b.pdf"}, false, "x"},    // a trailing ";" ends it
      {"<!-- Attach a.pdf;;b.pdf -->\r\nx", {"a.pdf"}, false, "x"},             // an empty item ends the list
      {"<!-- Attach  -->\r\nx", {}, false, "x"},
      {"<!-- Attach a.pdf -->", {"a.pdf"}, false, ""},                          // at the very end
      {"<b>\n<!-- Attach a.pdf -->\n<p>Hi</p>", {"a.pdf"}, false, "<b>\n<p>Hi</p>"},  // a file with LF lines
      {"<!-- Attach a.pdf --><p>Hi</p>", {"a.pdf"}, false, "<p>Hi</p>"},   // no line break: nothing more goes
      {"<!-- Attach a -->\r\n<!-- Attach b -->\r\n", {"a"}, false, "<!-- Attach b -->\r\n"},  // the first only
      // " -->" must end within the 999 characters after "<!-- Attach ".
      {"<!-- Attach " + std::string(995, 'n') + " -->\r\nx", {std::string(995, 'n')}, false, "x"},
      {"<!-- Attach " + std::string(996, 'n') + " -->\r\nx", {}, true, std::string(991, 'n') + " -->\r\nx"},
      {"ab<!-- Attach a.pdf", {}, true, "ab"},
  };
  for (Case& c : cases) {
    const AttachmentLine line = TakeAttachmentLine(c.body);
    EXPECT_EQ(line.names, c.names) << c.left;
    EXPECT_EQ(line.tooLong, c.tooLong) << c.left;
    EXPECT_EQ(c.body, c.left);
  }
}

class Mail : public ::testing::Test {
 protected:
  Mail() {
    t.Load("[Common]\nver=V4.4\nNumProps=1\n[Prop01]\nPropName=Bramble\n");
    ForceDirectories(t.Root() + "Bramble/Attachments");
    ForceDirectories(t.Root() + "Attachments");
  }
  TestSession t;
  Session& s = t.session;
};

TEST_F(Mail, AttachmentsAreFoundInThePropertysFolderThenTheRoots) {
  WriteWholeFile(t.Root() + "Bramble/Attachments/Map.pdf", "own");
  WriteWholeFile(t.Root() + "Attachments/Map.pdf", "shared");
  WriteWholeFile(t.Root() + "Attachments/Terms.pdf", "shared");
  const std::string elsewhere = t.dir.Path() + "Terms.pdf";
  WriteWholeFile(elsewhere, "given");
  struct Case {
    int n;
    std::string entry, found;
  } cases[] = {
      {1, "Map.pdf", t.Root() + "Bramble/Attachments/Map.pdf"},
      {0, "Map.pdf", t.Root() + "Attachments/Map.pdf"},
      {1, "Terms.pdf", t.Root() + "Attachments/Terms.pdf"},
      {1, elsewhere, elsewhere},
      {1, t.dir.Path() + "Map.pdf", ""},  // a path is used as it is, even with a file of its name about
      {1, "Gone.pdf", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(FindAttachment(s, c.n, c.entry), c.found) << c.entry;
}

TEST_F(Mail, AnAttachmentThatCannotBeReadIsNotFound) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
  WriteWholeFile(t.Root() + "Attachments/Secret.pdf", "x");
  ASSERT_EQ(chmod((t.Root() + "Attachments/Secret.pdf").c_str(), 0), 0);
  EXPECT_EQ(FindAttachment(s, 1, "Secret.pdf"), "");
  EXPECT_EQ(FindAttachment(s, 1, t.Root() + "Attachments/Secret.pdf"), "");
}

TEST_F(Mail, TheServerFollowsTheSettingsWithTlsRequiredForAPassword) {
  s.common.eHost = " smtp.example.com ";
  s.common.Port = 587;
  s.common.ePC = ScramblePassword("pw");
  struct Case {
    int eSSL;
    bool explicitTls;
    const char* user;
    SmtpSecurity security;
    TlsVersions versions;
    const char* password;
  } cases[] = {
      {0, true, "", SmtpSecurity::Plain, TlsVersions::Tls12OrNewer, ""},  // no login: plain, eExpTLS ignored
      {0, false, "office", SmtpSecurity::StartTls, TlsVersions::Tls12OrNewer, "pw"},
      {2, true, "office", SmtpSecurity::StartTls, TlsVersions::Tls12OrNewer, "pw"},
      {4, false, "", SmtpSecurity::ImplicitTls, TlsVersions::Tls12OrNewer, ""},  // no login, no password
      {6, true, "office", SmtpSecurity::StartTls, TlsVersions::Tls12Only, "pw"},
      {9, false, "office", SmtpSecurity::ImplicitTls, TlsVersions::Tls12OrNewer, "pw"},
  };
  for (const Case& c : cases) {
    s.common.eSSL = c.eSSL;
    s.common.eExpTLS = c.explicitTls;
    s.common.eUser = c.user;
    const SmtpServer server = SmtpServerFromSettings(s.common);
    EXPECT_EQ(server.host, "smtp.example.com");
    EXPECT_EQ(server.port, 587);
    EXPECT_EQ(server.security, c.security) << c.eSSL << c.user;
    EXPECT_EQ(server.versions, c.versions) << c.eSSL;
    EXPECT_EQ(server.password, c.password) << c.eSSL << c.user;
  }
}

TEST_F(Mail, NothingIsSentWithoutSenderAndServerOrWithABadHeader) {
  HtmlMail mail{"ann@example.com", "", "", "Hello", "<p>Hi</p>", {}};
  t.dialogs.Expect("EMail client not configured correctly\rSee Help", MsgIcon::Error,
                   MsgButton::Abort | MsgButton::Help, 720, MsgButton::Abort);
  EXPECT_FALSE(SendHTMLMail(s, mail));
  s.common.eAddr = "office@example.com";
  s.common.eHost = "127.0.0.1";
  s.common.Port = 1;  // nothing is ever connected to: each is refused first
  struct Case {
    HtmlMail mail;
    std::string why;
  } cases[] = {
      {{"", "", "", "Hello", "x", {}}, "No recipient"},
      {{"ann@example.com", "", "", "Hello\r\nBcc: all@example.com", "x", {}}, "A header text holds a line break"},
      {{"Ann <ann@example.com>, not an address", "", "", "Hi", "x", {}}, "Invalid address: not an address"},
      {{"ann@example.com", "", "x@y@z", "Hi", "x", {}}, "Invalid address: x@y@z"},
      {{"ann@example.com", "", "", "Hi", "x", {t.dir.Path() + "Map\r\nX-Spam: 1.pdf"}},
       "A header text holds a line break"},  // an attachment's name goes into a header
      {{"ann@example.com", "", "", "Hi", "x", {t.dir.Path() + "missing.pdf"}},
       "Cannot read attachment " + t.dir.Path() + "missing.pdf"},
  };
  for (const Case& c : cases) {
    t.dialogs.Expect("Error sending email\rCheck email settings (Try later if you have a timeout)\r" + c.why,
                     MsgIcon::Error, MsgButton::Abort | MsgButton::Help, 720, MsgButton::Abort);
    EXPECT_FALSE(SendHTMLMail(s, c.mail)) << c.why;
    t.dialogs.VerifyAllShown();
  }
}

TEST_F(Mail, TheHandOverNeedsAMailClient) {
  t.runner.captured = "";
  EXPECT_EQ(HandOverToMailClient(s, "ann@example.com", "Hi", "Body"), 31);
  EXPECT_TRUE(t.runner.opened.empty());
  t.runner.captured = "thunderbird.desktop\n";
  EXPECT_EQ(HandOverToMailClient(s, " ann@example.com ", "", "Total \xA3" "5"), 0);
  EXPECT_EQ(t.runner.opened, std::vector<std::string>{"mailto:ann%40example.com?Body=Total%20\xC2\xA3" "5"});
}

// The real desktop commands, stood in for by scripts on PATH: the link reaches the
// opener as one argument, and no mail client is a failure.
TEST_F(Mail, TheHandOverStartsTheDesktopsOpener) {
  const std::string bin = t.dir.Path() + "bin/";
  ForceDirectories(bin);
  const std::string got = t.dir.Path() + "opened.txt";
  WriteWholeFile(bin + "xdg-mime", "#!/bin/sh\nprintf '%s\\n' \"$MAILTO_HANDLER\"\n");
  WriteWholeFile(bin + "xdg-open", "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > \"" + got + "\"\n");
  ASSERT_EQ(chmod((bin + "xdg-mime").c_str(), 0755), 0);
  ASSERT_EQ(chmod((bin + "xdg-open").c_str(), 0755), 0);
  const std::string path = std::getenv("PATH");
  setenv("PATH", (bin + ":" + path).c_str(), 1);
  PosixProcessRunner real;
  Session desktop(t.clock, t.dialogs, t.registry, real);
  setenv("MAILTO_HANDLER", "", 1);
  EXPECT_EQ(HandOverToMailClient(desktop, "a@b.com", "S", "x & y"), 31);
  setenv("MAILTO_HANDLER", "mail.desktop", 1);
  EXPECT_EQ(HandOverToMailClient(desktop, "a@b.com", "S", "x & y"), 0);
  EXPECT_TRUE(WaitUntil([&]() { return FileExists(got); }));
  std::string link;
  ReadWholeFile(got, link);
  EXPECT_EQ(link, "1|mailto:a%40b.com?Subject=S&Body=x%20%26%20y");
  setenv("PATH", path.c_str(), 1);
  unsetenv("MAILTO_HANDLER");
}

}  // namespace
}  // namespace tb::test

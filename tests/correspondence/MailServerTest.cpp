// E-mail sent to a real SMTP server on this machine: what arrives, over which
// connection, and what the user is told when the server cannot be reached, turns
// the login down or refuses the message.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <regex.h>

#include "correspondence/MailSend.h"
#include "platform/FileSystem.h"
#include "store/ScrambledPassword.h"
#include "support/ChildProcess.h"
#include "support/SmtpTestServer.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

using Mode = SmtpTestServer::Mode;
using nlohmann::json;

// A whole-text match with a POSIX extended expression (std::regex draws false
// warnings from the compiler in an instrumented build).
bool Matches(const std::string& text, const char* pattern) {
  regex_t re;
  if (regcomp(&re, pattern, REG_EXTENDED | REG_NOSUB) != 0) return false;
  const bool match = regexec(&re, text.c_str(), 0, nullptr, 0) == 0;
  regfree(&re);
  return match;
}

class MailServer : public ::testing::Test {
 protected:
  MailServer() {
    t.Load("[Common]\nver=V4.4\nNumProps=1\n[Prop01]\nPropName=Bramble\n");
    s.common.eFrom = "Tenbrook Caf\xE9 Office";
  }
  void Use(const SmtpTestServer& server) { UseMailServer(s.common, server); }
  bool Send(const std::string& subject = "Hello") {
    return SendHTMLMail(s, {"guest@example.test", "", "", subject, "<p>Hi</p>", {}});
  }
  // The one box shown: its first line, icon, buttons and help; the reason after it is
  // curl's and must be there.
  void ExpectBox(const std::string& firstLines, MsgIcon icon, MsgButtons buttons, int help) {
    ASSERT_EQ(t.dialogs.shown.size(), 1u);
    const MessageBoxSpec& box = t.dialogs.shown[0];
    EXPECT_EQ(box.text.substr(0, firstLines.size()), firstLines) << box.text;
    EXPECT_GT(box.text.size(), firstLines.size()) << "no reason given";
    EXPECT_EQ(box.icon, icon) << box.text;
    EXPECT_EQ(box.buttons, buttons) << box.text;
    EXPECT_EQ(box.helpContext, help) << box.text;
    EXPECT_EQ(box.text.find("s3cret"), std::string::npos) << "the password is never shown";
    t.dialogs.shown.clear();
  }

  TrustTestServers trust;
  TestSession t;
  Session& s = t.session;
};

// A socket bound to a port of 127.0.0.1 the system picks; -1 when none could be had.
int LoopbackSocket(int& port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof a;
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&a), &size) != 0) {
    if (fd >= 0) close(fd);
    return -1;
  }
  port = ntohs(a.sin_port);
  return fd;
}

std::map<std::string, std::string> Headers(const json& message) {
  std::map<std::string, std::string> headers;
  for (const json& h : message["headers"]) headers[h[0].get<std::string>()] = h[1].get<std::string>();
  return headers;
}

std::vector<json> AuthRecords(const SmtpTestServer& server) {
  std::vector<json> auth;
  for (const json& r : server.Records())
    if (r.value("command", "") == "AUTH") auth.push_back(r);
  return auth;
}

TEST_F(MailServer, AMessageArrivesWhole) {
  SmtpTestServer server(Mode::StartTlsAuth);
  ASSERT_TRUE(server.Started()) << server.Log();
  Use(server);
  std::string pdf;
  for (int i = 0; i < 256; ++i) pdf += char(i);
  WriteWholeFile(t.dir.Path() + "Rechnung.pdf", pdf);
  WriteWholeFile(t.dir.Path() + "Map.jpg", std::string(5000, '\xFF'));
  // One HTML line past SMTP's 998-byte limit must arrive unbroken.
  const std::string longLine(1500, 'x');
  HtmlMail mail{"Zo\xEB Hart <zoe@example.test>",
                "owner@example.test",
                "office-copy@example.test, second@example.test",
                "Deposit \xA3" "50 received \x80",
                "<html><body><p>Dear Zo\xEB,</p><p>\xA3" "50 with thanks.</p>\r\n<p>" + longLine + "</p></body></html>",
                {t.dir.Path() + "Rechnung.pdf", t.dir.Path() + "Map.jpg"}};
  ASSERT_TRUE(SendHTMLMail(s, mail));
  EXPECT_TRUE(t.dialogs.shown.empty());
  ASSERT_TRUE(server.WaitForMessages(1));
  const json m = server.Messages()[0];
  ASSERT_FALSE(m.contains("parse_error")) << m;
  EXPECT_EQ(m["defects"], json::array()) << m["raw"];
  EXPECT_EQ(m["mail_from"], "office@tenbrook.test");
  EXPECT_EQ(m["rcpt_tos"], json({"zoe@example.test", "owner@example.test", "office-copy@example.test",
                                 "second@example.test"}));

  std::map<std::string, std::string> h = Headers(m);
  EXPECT_EQ(h["From"], "Tenbrook Caf\u00e9 Office <office@tenbrook.test>");
  EXPECT_EQ(h["To"], "Zo\u00eb Hart <zoe@example.test>");
  EXPECT_EQ(h["Cc"], "<owner@example.test>");
  EXPECT_EQ(h["Subject"], "Deposit \u00a3" "50 received \u20ac");
  EXPECT_EQ(h["X-Mailer"], "Cotlyn");
  // English names whatever the locale, as mail programs read it.
  EXPECT_TRUE(Matches(h["Date"], "^(Mon|Tue|Wed|Thu|Fri|Sat|Sun), [0-9]{2} (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|"
                                 "Nov|Dec) [0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2} [+-][0-9]{4}$"))
      << h["Date"];
  EXPECT_FALSE(h["Message-ID"].empty());
  EXPECT_EQ(h.count("Bcc"), 0u);
  EXPECT_EQ(h.count("Reply-To"), 0u) << "no Reply-To without one set";
  EXPECT_EQ(m["raw"].get<std::string>().find("office-copy"), std::string::npos) << "Bcc only in the envelope";

  const json& parts = m["parts"];
  ASSERT_EQ(parts.size(), 6u) << parts;
  EXPECT_EQ(parts[0]["content_type"], "multipart/mixed");
  EXPECT_EQ(parts[1]["content_type"], "multipart/alternative");
  EXPECT_EQ(parts[2]["content_type"], "text/plain");
  EXPECT_EQ(parts[2]["text"], "This is an HTML Email - use a suitable client to read");
  EXPECT_EQ(parts[3]["content_type"], "text/html");
  const std::string html = parts[3]["text"];
  EXPECT_NE(html.find("<p>Dear Zo\u00eb,</p><p>\u00a3" "50 with thanks.</p>\n<p>" + longLine + "</p>"),
            std::string::npos)
      << html;
  for (int i : {2, 3}) {
    EXPECT_EQ(parts[i]["charset"], "utf-8");
    EXPECT_EQ(parts[i]["transfer_encoding"], "quoted-printable");
  }
  struct Attached {
    const char* type;
    const char* name;
    size_t size;
  } attached[] = {{"application/pdf", "Rechnung.pdf", pdf.size()}, {"image/jpeg", "Map.jpg", 5000}};
  for (int i = 0; i < 2; ++i) {
    const json& part = parts[4 + i];
    EXPECT_EQ(part["content_type"], attached[i].type);
    EXPECT_EQ(part["filename"], attached[i].name);
    EXPECT_EQ(part["transfer_encoding"], "base64");
    EXPECT_EQ(part["size"], attached[i].size);
  }

  const std::vector<json> auth = AuthRecords(server);
  ASSERT_EQ(auth.size(), 1u);
  EXPECT_EQ(auth[0]["mechanism"], "LOGIN");
  EXPECT_EQ(auth[0]["ok"], true);
  EXPECT_EQ(auth[0]["tls"], true);

  // A reply address, when set, is the only change.
  s.common.eRep = "bookings@tenbrook.test";
  ASSERT_TRUE(Send());
  ASSERT_TRUE(server.WaitForMessages(2));
  EXPECT_EQ(Headers(server.Messages()[1])["Reply-To"], "<bookings@tenbrook.test>");
}

TEST_F(MailServer, ImplicitTlsAndNoLoginWithoutAUser) {
  {
    SmtpTestServer server(Mode::ImplicitTls);
    ASSERT_TRUE(server.Started()) << server.Log();
    Use(server);
    s.common.eSSL = 4;
    s.common.eExpTLS = false;
    ASSERT_TRUE(Send());
    ASSERT_TRUE(server.WaitForMessages(1));
    const std::vector<json> auth = AuthRecords(server);
    ASSERT_EQ(auth.size(), 1u);
    EXPECT_EQ(auth[0]["tls"], true);
    EXPECT_EQ(auth[0]["ok"], true);
  }
  // A password left in the settings is not used without a user name.
  SmtpTestServer server(Mode::Plain);
  ASSERT_TRUE(server.Started()) << server.Log();
  Use(server);
  s.common.eSSL = 0;
  s.common.eUser = "";
  ASSERT_TRUE(Send());
  ASSERT_TRUE(server.WaitForMessages(1));
  EXPECT_TRUE(AuthRecords(server).empty());
  EXPECT_TRUE(t.dialogs.shown.empty());
}

TEST_F(MailServer, FailuresSayWhyAndSendNothing) {
  struct Case {
    const char* what;
    Mode mode;
    bool untrusted;
    int eSSL;
    bool explicitTls;
    const char* password;
    std::string box;
    MsgIcon icon;
    MsgButtons buttons;
    int help;
    bool authTried;
  } cases[] = {
      {"explicit TLS with a server that offers none", Mode::Plain, false, 2, true, "s3cret pw",
       "Unable to connect to SMTP Server\r", MsgIcon::None, MsgButton::OK, 0, false},
      {"a login without TLS set is never sent in clear", Mode::Plain, false, 0, true, "s3cret pw",
       "Unable to connect to SMTP Server\r", MsgIcon::None, MsgButton::OK, 0, false},
      {"an untrusted certificate", Mode::StartTlsAuth, true, 2, true, "s3cret pw",
       "Unable to connect to SMTP Server\r", MsgIcon::None, MsgButton::OK, 0, false},
      {"implicit TLS against a server that starts in clear", Mode::StartTlsAuth, false, 4, false, "s3cret pw",
       "Unable to connect to SMTP Server\r", MsgIcon::None, MsgButton::OK, 0, false},
      {"a wrong password", Mode::StartTlsAuth, false, 2, true, "wrong",
       "Logon failure. Check user/password\r", MsgIcon::None, MsgButton::OK, 0, true},
      {"recipients refused", Mode::Refuse, false, 2, true, "s3cret pw",
       "Error sending email\rCheck email settings (Try later if you have a timeout)\r", MsgIcon::Error,
       MsgButton::Abort | MsgButton::Help, 720, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SmtpTestServer server(c.mode, c.untrusted);
    ASSERT_TRUE(server.Started()) << server.Log();
    Use(server);
    s.common.eSSL = c.eSSL;
    s.common.eExpTLS = c.explicitTls;
    s.common.ePC = ScramblePassword(c.password);
    t.dialogs.permissive = true;
    const int beeps = t.dialogs.beeps;
    EXPECT_FALSE(Send());
    EXPECT_EQ(t.dialogs.beeps, beeps + 1);
    ExpectBox(c.box, c.icon, c.buttons, c.help);
    // The server records a login after it has answered it: wait for the record.
    if (c.authTried) EXPECT_TRUE(WaitUntil([&] { return !AuthRecords(server).empty(); }, 10));
    else EXPECT_TRUE(AuthRecords(server).empty());
    for (const json& a : AuthRecords(server)) EXPECT_EQ(a["tls"], true);
    EXPECT_TRUE(server.Messages().empty());
  }

  // Nothing listening at all: a port the system handed out and took back.
  const int taken = LoopbackSocket(s.common.Port);
  ASSERT_GE(taken, 0);
  close(taken);
  s.common.ePC = ScramblePassword("s3cret pw");
  EXPECT_FALSE(Send());
  ExpectBox("Unable to connect to SMTP Server\r", MsgIcon::None, MsgButton::OK, 0);

  // A server that takes the connection and never greets is given up on as one that
  // cannot be reached (the kernel accepts for a socket that listens).
  const int silent = LoopbackSocket(s.common.Port);
  ASSERT_GE(silent, 0);
  ASSERT_EQ(listen(silent, 4), 0);
  setenv("COTLYN_HTTP_TIMEOUT", "1", 1);
  EXPECT_FALSE(Send());
  ExpectBox("Unable to connect to SMTP Server\r", MsgIcon::None, MsgButton::OK, 0);
  close(silent);
}

}  // namespace
}  // namespace tb::test

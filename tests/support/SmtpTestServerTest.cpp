#include "support/SmtpTestServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/ChildProcess.h"

namespace tb::test {
namespace {

using Mode = SmtpTestServer::Mode;
using Strings = std::vector<std::string>;

// A client independent of the program's own mail code: Python's smtplib.
// argv: connection (starttls, implicit, plain), port, CA file, AUTH mechanism,
// password. Prints "sent", the SMTP code that stopped it, or what failed.
const char kClient[] = R"PY(
import smtplib, ssl, sys
from email.message import EmailMessage
how, port, cafile, mechanism, password = sys.argv[1], int(sys.argv[2]), *sys.argv[3:6]
msg = EmailMessage()
msg["From"] = "office@tenbrook.test"
msg["To"] = "guest@example.test"
msg["Bcc"] = "owner@example.test"
msg["Subject"] = "Booking confirmed \u2013 Caf\u00e9 Rose"
msg.set_content("Dear Zo\u00eb,\nSee you on Saturday.\n")
msg.add_attachment(bytes(range(256)), maintype="application", subtype="pdf",
                   filename="Rechnung \u00fc.pdf")
context = ssl.create_default_context(cafile=cafile)
try:
    if how == "implicit":
        s = smtplib.SMTP_SSL("127.0.0.1", port, context=context, timeout=10)
    else:
        s = smtplib.SMTP("127.0.0.1", port, timeout=10)
        if how == "starttls":
            s.starttls(context=context)
    s.ehlo_or_helo_if_needed()
    s.user, s.password = "office", password
    s.auth(mechanism, getattr(s, "auth_" + mechanism.lower()))
    s.send_message(msg)
    s.quit()
    print("sent")
except smtplib.SMTPRecipientsRefused as e:
    print(list(e.recipients.values())[0][0])
except smtplib.SMTPResponseException as e:
    print(e.smtp_code)
except smtplib.SMTPNotSupportedError:
    print("unsupported")
except ssl.SSLCertVerificationError:
    print("untrusted")
)PY";

std::string Send(const SmtpTestServer& server, const std::string& connection, const std::string& mechanism = "PLAIN",
                 const std::string& password = "s3cret pw") {
  ChildProcess client = ChildProcess::Run(
      "/usr/bin/python3",
      {"-c", kClient, connection, std::to_string(server.Port()), TestCertificate(), mechanism, password}, {}, 30);
  std::string out = client.Output();
  while (!out.empty() && out.back() == '\n') out.pop_back();
  return out.empty() ? "exit " + std::to_string(client.exitCode) + ": " + client.Errors() : out;
}

struct Case {
  const char* name;
  Mode mode;
  bool untrusted;
  const char* connection;
  const char* mechanism;
  const char* password;
  const char* outcome;
  Strings commands;
  const char* auth;  // fields the AUTH record must have, as JSON; "" when no AUTH
};

class SmtpTestServerTest : public ::testing::TestWithParam<Case> {};

TEST_P(SmtpTestServerTest, RecordsWhatTheClientSent) {
  const Case& c = GetParam();
  SmtpTestServer server(c.mode, c.untrusted);
  ASSERT_TRUE(server.Started()) << server.Log();

  EXPECT_EQ(Send(server, c.connection, c.mechanism, c.password), c.outcome) << server.Log();
  EXPECT_EQ(server.Commands(), c.commands);

  for (const nlohmann::json& r : server.Records()) {
    if (r.value("command", "") != "AUTH") continue;
    const nlohmann::json want = nlohmann::json::parse(c.auth);
    for (const auto& [key, value] : want.items()) EXPECT_EQ(r[key], value) << key;
  }
  // Neither the password nor its base64 forms (AUTH LOGIN, AUTH PLAIN).
  std::string all;
  for (const nlohmann::json& r : server.Records()) all += r.dump();
  for (const char* secret : {"s3cret", "czNjcmV0IHB3", "AG9mZmljZQBzM2NyZXQgcHc", c.password})
    EXPECT_EQ(all.find(secret), std::string::npos) << secret;

  if (c.outcome == std::string("sent")) {
    ASSERT_TRUE(server.WaitForMessages(1));
    EXPECT_EQ(server.Messages()[0]["mail_from"], "office@tenbrook.test");
    EXPECT_EQ(server.Messages()[0]["rcpt_tos"], nlohmann::json({"guest@example.test", "owner@example.test"}));
  } else {
    EXPECT_TRUE(server.Messages().empty());
  }
}

const Strings kStartTlsSession = {"EHLO", "STARTTLS", "EHLO", "AUTH", "MAIL", "RCPT", "RCPT", "DATA", "QUIT"};
const Strings kDirectSession = {"EHLO", "AUTH", "MAIL", "RCPT", "RCPT", "DATA", "QUIT"};

INSTANTIATE_TEST_SUITE_P(
    Modes, SmtpTestServerTest,
    ::testing::Values(
        Case{"StartTlsPlain", Mode::StartTlsAuth, false, "starttls", "PLAIN", "s3cret pw", "sent", kStartTlsSession,
             R"({"mechanism": "PLAIN", "user": "office", "ok": true, "tls": true, "reply": 235})"},
        Case{"StartTlsLogin", Mode::StartTlsAuth, false, "starttls", "LOGIN", "s3cret pw", "sent", kStartTlsSession,
             R"({"mechanism": "LOGIN", "user": "office", "ok": true, "tls": true})"},
        Case{"WrongPassword", Mode::StartTlsAuth, false, "starttls", "LOGIN", "wrong", "535",
             {"EHLO", "STARTTLS", "EHLO", "AUTH"}, R"({"user": "office", "ok": false, "reply": 535})"},
        Case{"AuthBeforeStartTls", Mode::StartTlsAuth, false, "plain", "PLAIN", "s3cret pw", "538", {"EHLO", "AUTH"},
             R"({"user": null, "ok": false, "tls": false, "reply": 538})"},
        Case{"UntrustedCertificate", Mode::StartTlsAuth, true, "starttls", "PLAIN", "s3cret pw", "untrusted",
             {"EHLO", "STARTTLS"}, ""},
        Case{"ImplicitTls", Mode::ImplicitTls, false, "implicit", "LOGIN", "s3cret pw", "sent", kDirectSession,
             R"({"user": "office", "ok": true, "tls": true})"},
        Case{"PlainAuthInClear", Mode::Plain, false, "plain", "PLAIN", "s3cret pw", "sent", kDirectSession,
             R"({"user": "office", "ok": true, "tls": false})"},
        Case{"PlainOffersNoStartTls", Mode::Plain, false, "starttls", "PLAIN", "s3cret pw", "unsupported", {"EHLO"},
             ""},
        Case{"Refuse", Mode::Refuse, false, "starttls", "PLAIN", "s3cret pw", "550",
             {"EHLO", "STARTTLS", "EHLO", "AUTH", "MAIL", "RCPT", "RCPT", "RSET"}, R"({"ok": true})"}),
    [](const ::testing::TestParamInfo<Case>& param) { return std::string(param.param.name); });

TEST(SmtpTestServerMessage, RecordsTheMessageParsed) {
  SmtpTestServer server(Mode::StartTlsAuth);
  ASSERT_TRUE(server.Started()) << server.Log();
  ASSERT_EQ(Send(server, "starttls"), "sent");
  ASSERT_TRUE(server.WaitForMessages(1));
  const nlohmann::json m = server.Messages()[0];

  const nlohmann::json& headers = m["headers"];
  EXPECT_NE(std::find(headers.begin(), headers.end(), nlohmann::json({"Subject", "Booking confirmed – Café Rose"})),
            headers.end())
      << headers;
  for (const nlohmann::json& h : headers) EXPECT_NE(h[0], "Bcc");
  // The Bcc recipient is in the envelope only.
  EXPECT_EQ(m["raw"].get<std::string>().find("owner@"), std::string::npos);
  EXPECT_EQ(m["defects"], nlohmann::json::array());

  const nlohmann::json& parts = m["parts"];
  ASSERT_EQ(parts.size(), 3u) << parts;
  EXPECT_EQ(parts[0]["content_type"], "multipart/mixed");
  EXPECT_EQ(parts[1]["content_type"], "text/plain");
  EXPECT_EQ(parts[1]["charset"], "utf-8");
  EXPECT_EQ(parts[1]["text"], "Dear Zoë,\nSee you on Saturday.\n");
  EXPECT_EQ(parts[2]["content_type"], "application/pdf");
  EXPECT_EQ(parts[2]["disposition"], "attachment");
  EXPECT_EQ(parts[2]["filename"], "Rechnung ü.pdf");
  EXPECT_EQ(parts[2]["transfer_encoding"], "base64");
  EXPECT_EQ(parts[2]["size"], 256);
  EXPECT_EQ(parts[2]["sha256"], "40aff2e9d2d8922e47afd4648e6967497158785fbd1da870e7110266bf944880");
  EXPECT_EQ(parts[2]["text"], nullptr);
}

}  // namespace
}  // namespace tb::test

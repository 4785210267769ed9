#include "correspondence/MailSend.h"

#include "platform/Cp1252.h"
#include "platform/Escape.h"
#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "platform/Text.h"
#include "store/ScrambledPassword.h"
#include "store/Session.h"

namespace tb {

namespace {

constexpr int kEmailHelp = 720;
constexpr size_t kLongestAttachmentLine = 999;
const char* const kPlainAlternative = "This is an HTML Email - use a suitable client to read";

// Addresses of a Windows-1252 text, as UTF-8.
bool Addresses(const std::string& ansi, std::vector<MailAddress>& out, std::string& error) {
  return ParseAddressList(Cp1252ToUtf8(ansi), out, error);
}

void SendError(Session& s, const std::string& why) {
  s.dialogs.Beep();
  s.dialogs.Message("Error sending email\rCheck email settings (Try later if you have a timeout)\r" + why,
                    MsgIcon::Error, MsgButton::Abort | MsgButton::Help, kEmailHelp);
}

}  // namespace

AttachmentLine TakeAttachmentLine(std::string& body) {
  AttachmentLine line;
  const std::string start = "<!-- Attach ";
  const size_t at = body.find(start);
  if (at == std::string::npos) return line;
  const size_t listAt = at + start.size();
  const size_t end = body.find(" -->", listAt);
  if (end == std::string::npos || end + 4 > listAt + kLongestAttachmentLine) {
    line.tooLong = true;
    body.erase(at, 17);
    return line;
  }
  const std::string list = body.substr(listAt, end - listAt);
  for (size_t from = 0;;) {
    const size_t semi = list.find(';', from);
    const std::string name = Trim(list.substr(from, semi == std::string::npos ? std::string::npos : semi - from));
    if (name.empty()) break;
    line.names.push_back(name);
    if (semi == std::string::npos) break;
    from = semi + 1;
  }
  // The comment goes with the line break after it: CR LF as Windows writes it, or a
  // lone LF or CR; never text that happens to follow on the same line.
  size_t after = end + 4;
  if (body.compare(after, 2, "\r\n") == 0) after += 2;
  else if (after < body.size() && (body[after] == '\n' || body[after] == '\r')) after += 1;
  body.erase(at, after - at);
  return line;
}

std::string FindAttachment(const Session& s, int n, const std::string& entry) {
  const std::string path = PathFromText(entry);
  if (path.find('/') != std::string::npos) return FileReadable(path) ? path : std::string();
  std::vector<std::string> folders;
  if (n >= 1 && n <= s.NumProps()) folders.push_back(s.Prop(n).Folder + "Attachments/");
  folders.push_back(s.common.RootFolder + "Attachments/");
  for (const std::string& folder : folders)
    if (FileReadable(folder + path)) return folder + path;
  return {};
}

SmtpServer SmtpServerFromSettings(const CommonSettings& c) {
  SmtpServer server;
  server.host = Trim(c.eHost);
  server.port = c.Port;
  server.user = c.eUser;
  server.password = server.user.empty() ? std::string() : Cp1252ToUtf8(DescramblePassword(c.ePC));
  if (c.eSSL > 0) {
    server.security = c.eExpTLS ? SmtpSecurity::StartTls : SmtpSecurity::ImplicitTls;
  } else {
    // A password never crosses the network in clear: with a login, TLS is required.
    server.security = server.user.empty() ? SmtpSecurity::Plain : SmtpSecurity::StartTls;
  }
  // The old methods are all broken; "6" asks for TLS 1.2 alone.
  server.versions = c.eSSL == 6 ? TlsVersions::Tls12Only : TlsVersions::Tls12OrNewer;
  return server;
}

bool SendHTMLMail(Session& s, const HtmlMail& mail) {
  const CommonSettings& c = s.common;
  if (Trim(c.eAddr).empty() || Trim(c.eHost).empty()) {
    s.dialogs.Message("EMail client not configured correctly\rSee Help", MsgIcon::Error,
                      MsgButton::Abort | MsgButton::Help, kEmailHelp);
    return false;
  }
  MailMessage m;
  m.from = {Cp1252ToUtf8(Trim(c.eFrom)), Cp1252ToUtf8(Trim(c.eAddr))};
  m.replyTo.address = Cp1252ToUtf8(Trim(c.eRep));
  m.subject = Cp1252ToUtf8(mail.subject);
  m.text = kPlainAlternative;
  m.html = Cp1252ToUtf8(mail.body);
  m.attachments = mail.attachments;
  m.mailer = "Cotlyn";
  std::string error;
  if (!Addresses(mail.to, m.to, error) || !Addresses(mail.cc, m.cc, error) || !Addresses(mail.bcc, m.bcc, error)) {
    SendError(s, Utf8ToCp1252(error));
    return false;
  }
  const SmtpResult result = SendMail(SmtpServerFromSettings(c), m);
  const std::string why = Utf8ToCp1252(result.error);
  switch (result.outcome) {
    case SmtpOutcome::Sent: return true;
    case SmtpOutcome::Invalid:
    case SmtpOutcome::SendFailed: SendError(s, why); break;
    case SmtpOutcome::ConnectFailed:
      s.dialogs.Beep();
      s.dialogs.Message("Unable to connect to SMTP Server\r" + why, MsgIcon::None, MsgButton::OK);
      break;
    case SmtpOutcome::LoginFailed:
      s.dialogs.Beep();
      s.dialogs.Message("Logon failure. Check user/password\r" + why, MsgIcon::None, MsgButton::OK);
      break;
  }
  return false;
}

int HandOverToMailClient(Session& s, const std::string& to, const std::string& subject, const std::string& body,
                         const std::string& cc) {
  // xdg-open would start a browser or nothing at all without a mail client: that is
  // a failure, not a message handed over.
  std::string handler;
  s.processes.Capture("xdg-mime", {"query", "default", "x-scheme-handler/mailto"}, handler);
  if (Trim(handler).empty()) return 31;
  return s.processes.ShellOpen(MailtoLink(to, subject, cc, body)) ? 0 : 2;
}

}  // namespace tb

#pragma once
// Sending one e-mail message to an SMTP server: the envelope, the headers and a MIME
// body of an HTML text with its plain-text alternative and file attachments. Texts are
// UTF-8. Nothing is sent when a header would hold a line break or there is no one to
// send to.

#include <string>
#include <vector>

#include "platform/NetTransfer.h"

namespace tb {

struct MailAddress {
  std::string name;     // display name, may be empty
  std::string address;  // "someone@example.com"
};

struct MailMessage {
  MailAddress from;
  std::vector<MailAddress> to, cc, bcc;  // Bcc goes to the envelope only, never a header
  MailAddress replyTo;                   // none when its address is empty
  std::string subject;
  std::string text;  // the plain-text alternative
  std::string html;
  std::vector<std::string> attachments;  // file paths; each is sent under its base name
  std::string mailer;                    // the X-Mailer header
};

enum class SmtpSecurity { Plain, StartTls, ImplicitTls };

struct SmtpServer {
  std::string host;
  int port = 25;
  SmtpSecurity security = SmtpSecurity::Plain;  // StartTls: nothing is sent unless TLS starts
  TlsVersions versions = TlsVersions::Tls12OrNewer;
  std::string user;  // empty: no authentication
  std::string password;
};

enum class SmtpOutcome { Sent, Invalid, ConnectFailed, LoginFailed, SendFailed };
struct SmtpResult {
  SmtpOutcome outcome = SmtpOutcome::Invalid;
  std::string error;  // why, in words (curl's, or the refusal's)
};

SmtpResult SendMail(const SmtpServer& server, const MailMessage& message);

// The addresses of a text such as `Ann Grey <ann@example.com>, bob@example.com`
// (commas inside quotes or angle brackets do not separate); an empty text gives none.
// False, with the reason, when an entry is not an address.
bool ParseAddressList(const std::string& text, std::vector<MailAddress>& out, std::string& error);
// A header's text: as it is when plain ASCII, else as RFC 2047 encoded words.
std::string EncodeHeaderText(const std::string& utf8);
// "Name <address>" for a header, the name quoted or encoded as it needs.
std::string HeaderAddress(const MailAddress& a);
// The MIME type a file is sent as, from its extension.
std::string MimeTypeOf(const std::string& fileName);

}  // namespace tb

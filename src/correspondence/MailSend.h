#pragma once
// E-mail as the program sends it: HTML messages straight to the SMTP server the
// settings name, plain text handed to the user's own mail client as a "mailto:" link.
// Texts are Windows-1252 as everywhere in the engine; they leave as UTF-8.

#include <string>
#include <vector>

#include "platform/SmtpClient.h"

namespace tb {

class Session;
struct CommonSettings;

// The names in a body's attachment line ("<!-- Attach a.pdf;b.jpg -->"), taken out of
// the body with the line break after it. An end not within 999 characters: tooLong,
// no names, and the line's first 17 characters are what is taken out.
struct AttachmentLine {
  std::vector<std::string> names;
  bool tooLong = false;
};
AttachmentLine TakeAttachmentLine(std::string& body);
// Where an attachment entry is: a path as it is; a bare name in property n's
// "Attachments/", then the root folder's. "" when there is no such file or it cannot
// be read.
std::string FindAttachment(const Session& s, int n, const std::string& entry);

// The server, its security and the login the settings describe.
SmtpServer SmtpServerFromSettings(const CommonSettings& c);

struct HtmlMail {
  std::string to, cc, bcc;  // each may hold several addresses
  std::string subject, body;
  std::vector<std::string> attachments;  // paths of files found
};
// Sends an HTML message with its plain-text alternative. Shows why when it is not sent;
// true only when the server accepted it.
bool SendHTMLMail(Session& s, const HtmlMail& mail);

// Hands a plain-text message to the user's mail client: 0, or an error number (31: the
// desktop has no mail client; 2: the desktop's opener cannot be started).
int HandOverToMailClient(Session& s, const std::string& to, const std::string& subject, const std::string& body,
                         const std::string& cc = "");

}  // namespace tb

#pragma once
// How an e-mail letter leaves: an HTML one through the HTML e-mail window (sent by
// SMTP), a plain-text one handed to the user's mail client. The e-mail subsystem
// provides the real ones; tests provide their own.

#include <string>

namespace tb {

enum class HtmlSendResult { Sent, Cancelled, Failed };

class LetterDelivery {
 public:
  virtual ~LetterDelivery() = default;
  // Shows the HTML e-mail window on the message. Sent: `body` is the body as it finally
  // stood (edited there, its attachment line removed). Failed: its message was shown.
  virtual HtmlSendResult SendHtml(const std::string& to, const std::string& subject, std::string& body) = 0;
  // Hands a plain-text message to the mail client: 0, or the error number.
  virtual int HandOver(const std::string& to, const std::string& subject, const std::string& body) = 0;
};

}  // namespace tb

#pragma once
// E-mail letters leaving for real: HTML through the "Send HTML EMail" window, plain
// text handed to the user's mail client.

#include <functional>

#include "correspondence/LetterDelivery.h"

class QWidget;

namespace tb {

class Session;
class TEmailForm;

class EmailDelivery : public LetterDelivery {
 public:
  // n: the property whose attachments are looked for first.
  EmailDelivery(Session& s, int n, QWidget* parent) : s_(s), n_(n), parent_(parent) {}
  HtmlSendResult SendHtml(const std::string& to, const std::string& subject, std::string& body) override;
  int HandOver(const std::string& to, const std::string& subject, const std::string& body) override;

  // Shows the window (tests replace it); unset: modally.
  std::function<void(TEmailForm&)> showEmail;

 private:
  Session& s_;
  int n_;
  QWidget* parent_;
};

}  // namespace tb

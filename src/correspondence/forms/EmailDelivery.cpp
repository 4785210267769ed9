#include "correspondence/forms/EmailDelivery.h"

#include "correspondence/MailSend.h"
#include "correspondence/forms/TEmailForm.h"

namespace tb {

HtmlSendResult EmailDelivery::SendHtml(const std::string& to, const std::string& subject, std::string& body) {
  TEmailForm form(s_, n_, parent_);
  form.Load(to, subject, body);
  if (showEmail) showEmail(form);
  else form.exec();
  // Sent: the letter keeps what went; failed: the draft keeps the user's edits.
  if (form.Result() != HtmlSendResult::Cancelled) body = form.Body();
  return form.Result();
}

int EmailDelivery::HandOver(const std::string& to, const std::string& subject, const std::string& body) {
  return HandOverToMailClient(s_, to, subject, body);
}

}  // namespace tb

// cotlynctl sendmail: one HTML message sent with the settings' SMTP server, as the
// e-mail window sends it: a check of the mail settings for scripts and cron jobs.

#include "correspondence/MailSend.h"
#include "ctl/CtlOptions.h"
#include "ctl/CtlSession.h"
#include "platform/Cp1252.h"
#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "store/Session.h"

namespace tb {

int CtlSendmail(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const char* usage =
      "usage: cotlynctl sendmail ROOT --to ADDR --subject S --html FILE [--cc A] [--bcc A] [--attach FILE]...";
  // --attach may be given again and again.
  std::vector<std::string> rest, attachments;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--attach" && i + 1 < args.size()) attachments.push_back(args[++i]);
    else rest.push_back(args[i]);
  }
  const CtlOptions o = ParseCtlOptions(rest, {"--to", "--subject", "--html", "--cc", "--bcc"});
  if (!o.ok || o.positional.size() != 1 || o.Get("--to").empty() || !o.named.count("--subject") ||
      o.Get("--html").empty())
    return CtlUsage(err, usage);
  std::string error;
  std::unique_ptr<CtlSession> ctl = CtlSession::Open(o.positional[0], "", error);
  if (!ctl) {
    err << error << "\n";
    return 1;
  }
  Session& s = ctl->session();
  HtmlMail mail;
  if (!ReadWholeFile(o.Get("--html"), mail.body)) {
    err << "Cannot read " << o.Get("--html") << "\n";
    return 1;
  }
  for (const std::string& path : attachments) {
    if (!FileExists(path)) {
      err << "Error - Attachment not found: " << PathText(path) << "\n";
      return 1;
    }
    mail.attachments.push_back(path);
  }
  // Texts from the command line are the console's UTF-8; the engine's are Windows-1252.
  mail.to = Utf8ToCp1252(o.Get("--to"));
  mail.cc = Utf8ToCp1252(o.Get("--cc"));
  mail.bcc = Utf8ToCp1252(o.Get("--bcc"));
  mail.subject = Utf8ToCp1252(o.Get("--subject"));
  if (!SendHTMLMail(s, mail)) return 1;
  out << "sent\n";
  return 0;
}

}  // namespace tb

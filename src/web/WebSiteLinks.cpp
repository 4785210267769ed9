#include "web/WebSiteLinks.h"

#include <string>

#include "store/Session.h"
#include "store/Settings.h"

namespace tb {

namespace {

// A web address from the settings, opened with the shell; its message when it is not set.
void OpenConfigured(Session& s, const std::string& address, const std::string& page, const char* missing, int help) {
  if (address.empty()) {
    s.dialogs.Beep();
    s.dialogs.Message(missing, MsgIcon::Error, MsgButton::Abort | MsgButton::Help, help);
    return;
  }
  s.processes.ShellOpen(address + page);
}

}  // namespace

void ViewLocalWebsite(Session& s, int n) {
  if (n < 1 || n > s.NumProps()) return;
  s.processes.ShellOpen(LocalIndexPage(s, n));
}

void ViewRemoteWebsite(Session& s) {
  OpenConfigured(s, s.common.SiteURL, "", "Cannot open web site - URL not configured", 715);
}

void ListWebForms(Session& s) {
  OpenConfigured(s, s.common.FormData, "xlistforms.php", "URL of Booking data folder not defined", 717);
}

}  // namespace tb

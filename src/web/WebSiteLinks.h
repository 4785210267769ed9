#pragma once
// The web site's pages opened with the desktop: the commands of the Web menu that the
// main window and the booking window both have.

namespace tb {

class Session;

// "View Local Website": property n's local index page (nothing for another n).
void ViewLocalWebsite(Session& s, int n);
// "View Remote Website": SiteURL, or "Cannot open web site - URL not configured".
void ViewRemoteWebsite(Session& s);
// "List/view web forms": FormData + "xlistforms.php", or "URL of Booking data folder
// not defined".
void ListWebForms(Session& s);

}  // namespace tb

#pragma once
// The three files the user's web site reads: the property information script
// "propinfo.php" (names, availability codes for the coming days, departures for the
// cleaners), each AS property's agency calendar "P<n>-cal-json.txt", and the rates
// query "ratequery.php" (one SQL INSERT of every property's weekly rates). Texts are
// built from the week tables and rates files as of the session's today, lines end
// with CR LF, and every file is written whole or not at all.

#include <string>

namespace tb {

class Session;

// The local folder HS_LDIR names, ending with "/": a relative one is taken from the
// root folder, and an empty one is the root folder.
std::string HelperFolder(const Session& s);

// propinfo.php as bytes.
std::string PropInfoText(Session& s);
// Writes propinfo.php to path and logs "CreateWebData created file <path> Elapsed=<n> mS".
// When it cannot be written: logs "QZ1080J Should not occur. Cannot write to file <path>",
// leaves the old file and returns false.
bool CreateWebData(Session& s, const std::string& path);

// Where propinfo.php goes for an upload, and the file written there: the list line
// "Site=CotlynData File=<path>", or the error text that says why nothing was written.
struct PublishResult {
  std::string listLine;
  std::string error;
};
PublishResult PublishPHPWebData(Session& s);

// "P" + n + "-cal-json.txt".
std::string AgencyCalendarName(int n);
// Property n's agency calendar as bytes (whatever its AS).
std::string AgencyCalendarText(Session& s, int n);
// Writes it to path; on failure logs the QZ1080J line and returns false.
bool CreateAgencyCalendar(Session& s, int n, const std::string& path);

// ratequery.php as bytes; rows gets the number of rate rows in it.
std::string RateQueryText(Session& s, int& rows);
// Writes it to path; on failure logs the QZ1080J line and returns false.
bool CreateRateQuery(Session& s, const std::string& path, int& rows);

}  // namespace tb

#pragma once
// What the Web commands, the booking save and the auto-upload timer do with the web
// files: build them, send them through the helper script (or hand them to Ferrit), and
// tell the user how it went. Each returns true only when the data went up.

#include <string>

namespace tb {

class Session;

// "Upload Web Data": propinfo.php to the helper script, or without one listed for Ferrit
// and Ferrit started.
bool UploadWebData(Session& s);

// The online rates database brought up to date: ratequery.php built, sent and run by
// "insertrates.php". From the menu it asks first and reports success; from the timer
// only a failure is shown. Success clears the rates mark.
bool SynchRatesDatabase(Session& s, bool fromMenu);

// "Synch Agency" for property n; nothing happens (true) for a property without AS.
bool SynchAgency(Session& s, int n);

// After property n's booking file was written with changed dates: the calendar of an AS
// property built and sent. The mark stays when the file could not be made, so that the
// next save tries again; otherwise it is cleared whatever the upload did.
void AgencyCalendarAfterSave(Session& s, int n);
// Makes every booking-file write of s run AgencyCalendarAfterSave.
void InstallAgencyCalendarHook(Session& s);

// One tick of the auto-upload timer: the property data when due (its mark kept on failure
// so that the next tick tries again), then the rates when due.
void AutoUploadTick(Session& s);

// Where Ferrit is: "Ferrit/Ferrit" in the parent of the program's folder.
std::string FerritPath(const Session& s);
// True (after the beep and "Ferrit not found at ...") when Ferrit is not in its place.
bool FerritMissing(Session& s);
// The upload list "PubWebList.txt" written whole in the root folder and Ferrit started on
// it without waiting; false after its box when either fails.
bool StartFerritOn(Session& s, const std::string& listText);
inline constexpr const char* kFerritList = "PubWebList.txt";

// A file sent through the helper-script channel with the settings' address and password.
bool SendToHelper(Session& s, const std::string& path, bool compress, const std::string& script = "");

}  // namespace tb

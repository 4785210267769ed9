#pragma once
// Several users on one root folder: the user control file "$users.txt" (one line per
// running copy), the start-up checks and the LAN or Cloud decision, the conflicted
// copies cloud services leave, and the refresh of data other users changed.

#include <string>
#include <vector>

namespace tb {

class Session;

// The lines of the user control file (Windows-1252, CR LF); false when it cannot be read.
bool ReadUserLines(const std::string& path, std::vector<std::string>& lines);
bool WriteUserLines(const std::string& path, const std::vector<std::string>& lines);
// A line's user name: the text between its first and second ";".
std::string UserNameOf(const std::string& line);

// The name of a conflicted copy of the user control file in the root folder; "" when none.
std::string ConflictedCopy(const Session& s);

// The start-up checks: conflicted copies (Cloud), leftovers of this installation,
// other users, then the LAN or Cloud decision for this computer's address `ip`. May end
// the process, make the run read-only or change the configured mode.
void CheckUsersAtStart(Session& s, const std::string& ip);
// Adds this run's line; removes it at close (only the first line of this computer
// and user, as one user may run several windows).
void RegisterUser(Session& s);
void UnregisterUser(Session& s);
// Logs the change and stores it as the configured mode ('L' or 'C').
void ForceModeChange(Session& s, char mode);
// "List users": the mode and the running copies.
std::string UsersText(const Session& s);

// The refresh timer. First: a conflicted copy in a writing Cloud run is reported; true
// when the user chose to abort (the main window then closes).
bool RefreshFindsConflict(Session& s);
// Then, unless an editing window is open, re-reads what other users changed; true when
// anything was re-read.
bool RefreshFromOtherUsers(Session& s);

}  // namespace tb

#pragma once
// The start of a run, up to the main window: the command line, the root folder, the
// settings, the version check, the property on show or the booking file to edit.

#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "platform/SystemInfo.h"

namespace tb {

struct Prop_Rec;
class Session;

// What start-up needs from the machine, gathered by the program's main() so tests
// can supply their own.
struct StartupEnvironment {
  std::vector<std::string> args;
  std::string programFolder;  // ends with "/"
  std::string dataFolder;     // where "Local.ini" lives, ends with "/"
  std::string tempFolder;     // ends with "/"
  std::string helpFolder;     // ends with "/"
  std::string programPath;    // this executable, for starting further copies
  std::string computerName;
  std::string userName = "Unknown";
  std::string ipAddress;
  OsVersion os;
  std::string version;      // "4.4"
  std::string fullVersion;  // "4.4.0.1 09/12/2026 23:00:00"
};

inline constexpr const char* kAllPropertiesTitle = "Cotlyn 4.4";

// Copies what the settings say about a property, not its run-time state (its bookings,
// rates and file times), as a booking file of that property opened by name is edited.
void CopyConfiguration(const Prop_Rec& from, Prop_Rec& to);

// What the single-instance check answers to: the root folder (however it was written)
// and the window's application title (UTF-8).
std::string InstanceKey(const std::string& rootFolder, const std::string& title);
// The key of the window a start with these parameters would show, whatever their
// order: the property named, else property 1 ("C") or the all-properties window
// ("M", from the settings file), or the booking file (its whole path). `localRoot` is
// the root folder "Local.ini" names.
std::string StartInstanceKey(const std::vector<std::string>& args, const std::string& localRoot);
// What this run's window answers to (UTF-8): the booking file's whole path, else the
// application title: the property's name ("C") or "Cotlyn 4.4" ("M").
std::string InstanceTitle(const Session& s);

// The parameters of another copy of the program for property n: its name, the
// switches this run was given (read-only, forced mode, settings file) and the root
// folder when it came from the command line.
std::vector<std::string> PropertyCopyArgs(const Session& s, int n);

// Reads Local.ini and the command line, checks the root folder and the settings file,
// loads the settings, checks the version and decides what the run shows. On a
// start-up error shows the coded message and ends the process (s.exitProcess, 1220).
CommandLine PrepareSession(Session& s, const StartupEnvironment& env);

// "LAN " or "Cloud " + the IP address, + " ReadOnly" in a read-only run.
std::string NetworkModeText(const Session& s, const std::string& ip);
// The start line of the diagnostic log.
std::string StartLine(const Session& s, const StartupEnvironment& env);
// Rotates the log (unless read-only) and writes the start line.
void LogStart(Session& s, const StartupEnvironment& env);

}  // namespace tb

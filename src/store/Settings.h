#pragma once
// The settings file ("Cotlyn.ini" in the root folder), the property table built from
// it, and the per-user values kept in the registry.

#include <string>
#include <vector>

#include "platform/DateTime.h"

namespace tb {

class Session;
class IniFile;

// Reads the settings file at s.common.SettingsPath into the common settings and the
// property table (entries 0..NumProps), then "UPrefs", "BUP" and "AupFREQ" from the
// registry. Missing keys and values of the wrong type take their defaults.
void LoadSettings(Session& s);
// The same from an already loaded file (used by tests and by the configuration program).
void LoadSettingsFrom(Session& s, const IniFile& ini);
// The section name of property n: "Prop01", "Prop10", "Prop123".
std::string PropertySection(int n);

// The lock that serialises the read-change-write of a settings file between this
// program and the configuration program (in the user's private temporary folder).
std::string SettingsLockPath(const std::string& tempFolder, const std::string& settingsPath);
// Writes "CloudData" into section "Common" and updates the value in memory.
bool SaveCloudMode(Session& s, bool cloud);
// Writes "wCWks", "wLDts", "wMSep", "wYSep", "wOLet" into section "Common".
bool SaveWebOptions(Session& s);
// Writes "UPrefs" (39 bytes) and "BUP".
bool SaveUserPrefs(Session& s);
// Reads and writes "SWin<n>": top, left, height, width as four little-endian 16-bit values.
void ReadWindowPos(Session& s, int n);
bool SaveWindowPos(Session& s, int n);

// "Property: " + name, with ".  Owner: " + first name + " " + surname for a property
// let for an owner whose record exists.
std::string PropertyTitle(const Session& s, int n);
// The property's local web folder ("WebFolder", else "LocSite"); relative paths are
// taken from the root folder, and with neither set it is the root folder. Ends with "/".
std::string LocalWebFolder(const Session& s, int n);
// The property's index page ("WebIndex", else "LocIndex"); relative paths are taken
// from the local web folder.
std::string LocalIndexPage(const Session& s, int n);
// A configured path: relative ones are taken from base (a folder ending with "/").
std::string ResolvePath(const std::string& configured, const std::string& base);

// One row of a property picker.
struct PropertyListRow {
  int propNo = 0;
  std::string text;     // "1    Name", "10  Name"
  bool selected = false;  // in a multi-selection list
};
std::vector<PropertyListRow> PropertyListRows(const Session& s, bool agencyOnly);

// The help pages that are not topics: the contents, the index of topics, the topic
// search and how to use help.
inline constexpr int kHelpContents = 0;
inline constexpr int kHelpIndex = -1;
inline constexpr int kHelpSearch = -2;
inline constexpr int kHelpOnHelp = 98;
// The windows' own topics, where F1 leads.
inline constexpr int kMainWindowHelp = 100;
inline constexpr int kPropertyPickerHelp = 110;
inline constexpr int kMemoryWindowHelp = 120;
inline constexpr int kBookingWindowHelp = 200;
inline constexpr int kCancellationHelp = 267;
inline constexpr int kSurchargeHelp = 268;
inline constexpr int kDiscountHelp = 490;
inline constexpr int kRatesWindowHelp = 400;
inline constexpr int kLetterWindowHelp = 350;
inline constexpr int kProformaWindowHelp = 785;
inline constexpr int kHtmlEditHelp = 970;
inline constexpr int kEmailWindowHelp = 975;
// The help page of a context number in the help folder ("<n>.html"); the contents are
// "index.html", the index "keywords.html", the search "search.html".
std::string HelpPagePath(const std::string& helpFolder, int context);
// Opens that page with the shell.
void OpenHelp(const Session& s, int context);

// "yymmdd" as a date; 0 when the text is not one.
TDateTime ParseYYMMDD(const std::string& text);

}  // namespace tb

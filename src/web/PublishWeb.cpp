#include "web/PublishWeb.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "bookings/Rates.h"
#include "platform/Cp1252.h"
#include "platform/Format.h"
#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "platform/Text.h"
#include "store/Session.h"
#include "store/Settings.h"
#include "web/WebCommands.h"
#include "web/WebFiles.h"

namespace tb {

namespace {

constexpr int kHelpPage = 550;
constexpr int kHelpUpload = 1250;

int CurrentYear(const Session& s) { return DecodeDate(s.clock.Today()).year; }

std::string TimeText(const Session& s) { return FormatDateTime("hh:mm:ss dd/mm/yy", s.clock.Now()); }

}  // namespace

std::vector<int> PublishYears(const Session& s) {
  const int year = CurrentYear(s);
  return {year, year + 1, year + 2, year + 3};
}

int EarliestStartWeek(const Session& s, int year) {
  if (year != CurrentYear(s) || s.NumProps() < 1) return 1;
  const double weeks = (s.clock.Today() - WeekStart(year, 1, s.Prop(1))) / 7.0;
  return std::max(1, static_cast<int>(RoundHalfEven(weeks)) + 1);
}

PubRange InitialPubRange(const Session& s) {
  const UserPrefs& u = s.prefs;
  PubRange r{u.PublishFirstYear(), u.PublishFirstWeek(), u.PublishLastYear(), u.PublishLastWeek()};
  const int year = CurrentYear(s);
  if (r.startYear == 0 && r.endYear == 0) {  // nothing kept yet: to the end of next year
    r.endYear = year + 1;
    r.endWeek = 53;
  }
  if (r.startYear < year) r.startYear = year;
  if (r.endYear < r.startYear) {
    r.endYear = r.startYear;
    r.endWeek = 53;
  }
  r.startWeek = std::clamp(r.startWeek, EarliestStartWeek(s, r.startYear), 53);
  r.endWeek = std::clamp(r.endWeek, 1, 53);
  return r;
}

PubRange StartYearChosen(const Session& s, PubRange r, int year) {
  if (year > r.startYear) r.startWeek = 1;
  r.startYear = year;
  if (year > r.endYear) {
    r.endYear = year;
    r.endWeek = 53;
  }
  r.startWeek = std::max(r.startWeek, EarliestStartWeek(s, year));
  return r;
}

PubRange EndYearChosen(const Session& s, PubRange r, int year) {
  r.endYear = year;
  r.endWeek = 53;
  if (year < r.startYear) {
    r.startYear = year;
    r.startWeek = std::max(r.startWeek, EarliestStartWeek(s, year));
  }
  return r;
}

bool StorePubRange(Session& s, const PubRange& r) {
  s.prefs.SetPublishFirstYear(static_cast<uint16_t>(r.startYear));
  s.prefs.SetPublishLastYear(static_cast<uint16_t>(r.endYear));
  s.prefs.SetPublishFirstWeek(static_cast<uint8_t>(r.startWeek));
  s.prefs.SetPublishLastWeek(static_cast<uint8_t>(r.endWeek));
  return SaveUserPrefs(s);
}

void ViewSelectedPages(Session& s, const std::vector<int>& properties) {
  std::set<std::string> opened;
  for (const int n : properties) {
    if (n < 1 || n > s.NumProps()) continue;
    const std::string path = AvailabilityPagePath(s, n);
    if (!opened.insert(path).second) continue;
    if (s.Prop(n).WebAvail.empty() || !FileExists(path)) {
      s.dialogs.Message("Error: Availability/Rates file = " + PathText(path) + " not found\rCheck configuration.",
                        MsgIcon::Error, MsgButton::OK, kHelpPage);
      continue;
    }
    s.processes.ShellOpen(path);
  }
}

std::vector<PaneLine> UploadSelectedPages(Session& s, const std::vector<int>& properties) {
  std::vector<PaneLine> pane;
  if (s.common.Site.empty()) return pane;
  if (s.dialogs.Message("Upload rates/availability files for specified properties to Web Server?\rNB Ensure you are "
                        "connected to the Internet before replying YES",
                        MsgIcon::Information, MsgButton::Yes | MsgButton::Cancel) != MsgButton::Yes)
    return pane;
  if (FerritMissing(s)) return pane;

  std::string infoLine;
  if (s.common.NAvDays > 0) {
    pane.push_back({"Creating and uploading Property Information file propinfo.php", PaneStyle::Blue});
    const PublishResult published = PublishPHPWebData(s);
    if (!published.error.empty()) {
      pane.push_back({published.error + "\r\nUnable to upload propinfo.php", PaneStyle::Red});
    } else if (s.common.HS_URL.empty()) {
      infoLine = published.listLine;
    } else if (SendToHelper(s, HelperFolder(s) + "propinfo.php", s.common.HS_Compress)) {
      pane.push_back({"Created in " + s.common.HS_LDIR + " and uploaded by Helper Script with URL=" + s.common.HS_URL,
                      PaneStyle::BoldBlue});
    } else {
      pane.push_back({"Unable to upload propinfo.php - see diagnostic log", PaneStyle::Red});
      s.dialogs.Message("XHR-Error (in Publish To Web). Upload of propinfo.php failed\rCheck diagnostic log",
                        MsgIcon::Error, MsgButton::OK | MsgButton::Help, kHelpUpload);
    }
  }

  std::vector<std::string> lines;
  for (const int n : properties) {
    if (n < 1 || n > s.NumProps() || s.Prop(n).WebAvail.empty()) continue;
    const std::string path = AvailabilityPagePath(s, n);
    if (!FileExists(path)) continue;
    std::string site = Trim(s.Prop(n).Site);
    if (site.empty()) site = s.common.Site;
    lines.push_back("Site=" + site + " File=" + PathText(path));
  }
  if (lines.empty()) {
    s.dialogs.Beep();
    s.dialogs.Message("No files to publish for selected properties", MsgIcon::Error, MsgButton::Abort);
    return pane;
  }
  std::stable_sort(lines.begin(), lines.end(),
                   [](const std::string& a, const std::string& b) { return CompareText1252(a, b) < 0; });
  if (!infoLine.empty()) lines.insert(lines.begin(), infoLine);
  pane.push_back({"Launching Program Ferrit to upload following file(s) to specified site(s)\rTime " + TimeText(s),
                  PaneStyle::BoldBlue});
  std::string list;
  for (const std::string& line : lines) {
    pane.push_back({line, PaneStyle::SmallBlue});
    list += line + "\r\n";
  }
  if (StartFerritOn(s, list))
    pane.push_back({"Ferrit will report progress. This form can now be closed", PaneStyle::BoldBlue});
  return pane;
}

}  // namespace tb

#pragma once
// The availability pages: for each chosen property the rows of its page's table are
// made again from the web week table and the row template "$RowProforma.txt", the date
// line is stamped, and the page is put in place with the previous one kept as ".bak".
// The publishing window and `cotlynctl publish` hand in a PageRun and show what comes
// back; boxes and the beep go through the session's Dialogs.

#include <string>
#include <vector>

namespace tb {

class Session;

struct PageRun {
  std::vector<int> properties;  // property numbers, taken in property order
  int startYear = 0;            // 0: no start year chosen
  int startWeek = 1;
  int endYear = 0;
  int endWeek = 53;             // cut to the end year's number of weeks
  bool wCWks = false;           // "Compress weeks"
  bool wLDts = false;           // "Long dates (dd month yyyy)"
  bool wMSep = false;           // "Include month separator row"
  bool wYSep = false;           // "Include year separator row"
  bool wOLet = false;           // "Omit rate if week fully let"
};

// How a message-pane line is painted.
enum class PaneStyle { Blue, BoldBlue, SmallBlue, Red };

struct PaneLine {
  std::string text;  // Windows-1252; a path in it as PathText gives it
  PaneStyle style = PaneStyle::Blue;
  bool operator==(const PaneLine&) const = default;
};

enum class PageOutcome {
  Written,     // the new page is in place, the previous one is its ".bak"
  NoPage,      // the page does not exist: skipped
  NotWritten,  // bookings unreadable or the write failed: page and ".bak" as they were
  Stopped,     // an error stopped the run at this property: page untouched
};

struct PageResult {
  int property = 0;
  std::string path;  // native
  PageOutcome outcome = PageOutcome::Stopped;
  int linesRead = 0;
  int linesWritten = 0;
};

struct PageRunResult {
  std::vector<PaneLine> pane;      // in order; the window clears its pane first
  std::vector<PageResult> pages;   // one per property reached
  bool stopped = false;            // an error ended the run early
  // Every chosen property's page was written (what a cron job wants to know).
  bool AllWritten() const;
};

// Property n's page: its local web folder + "WebAvail" (native).
std::string AvailabilityPagePath(const Session& s, int n);

// "Update selected".
PageRunResult UpdateAvailabilityPages(Session& s, const PageRun& run);

inline constexpr const char* kRowTemplateFile = "$RowProforma.txt";

}  // namespace tb

#include "web/AvailabilityPages.h"

#include <algorithm>
#include <cerrno>

#include "bookings/Rates.h"
#include "bookings/WeekTable.h"
#include "platform/DateTime.h"
#include "platform/FileSystem.h"
#include "platform/Format.h"
#include "platform/PathText.h"
#include "reports/BookingReports.h"
#include "store/DiagnosticLog.h"
#include "store/Session.h"
#include "store/Settings.h"
#include "web/AvailabilityRows.h"

namespace tb {

namespace {

constexpr const char* kDateMarker = "<!--PubDate-->";
constexpr size_t kDateLineMax = 48;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Where `what` starts in text at or after `from`, ignoring letter case; npos when absent.
size_t FindNoCase(const std::string& text, const std::string& what, size_t from = 0) {
  if (from > text.size()) return std::string::npos;
  const auto at = std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), what.begin(), what.end(),
                              [](char a, char b) { return Lower(a) == Lower(b); });
  return at == text.end() ? std::string::npos : static_cast<size_t>(at - text.begin());
}

// A marker's line is ended right after it (spaces there dropped, a break added when
// text follows on that line); returns where the next line starts.
size_t EndLineAfter(std::string& page, size_t pos, const std::string& eol) {
  const size_t text = page.find_first_not_of(' ', pos);
  page.erase(pos, (text == std::string::npos ? page.size() : text) - pos);
  if (page.compare(pos, 2, "\r\n") == 0) return pos + 2;
  if (pos < page.size() && page[pos] == '\n') return pos + 1;
  page.insert(pos, eol);
  return pos + eol.size();
}

int LineCount(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1; }

// The page path with the extension ".bak".
std::string BackupPath(const std::string& page) {
  const size_t name = page.rfind('/') + 1;  // npos + 1 == 0
  const size_t dot = page.rfind('.');
  return (dot == std::string::npos || dot < name ? page : page.substr(0, dot)) + ".bak";
}

// The new page goes in place only when it and the backup are written whole: both are
// made under work names first, so a failure at any step leaves the page and its
// backup as they were. False with errno saying why.
bool PutPageInPlace(const std::string& path, const std::string& oldImage, const std::string& newImage) {
  const std::string bak = BackupPath(path);
  RemoveWorkFilesOfEndedProcesses(path);
  RemoveWorkFilesOfEndedProcesses(bak);
  std::string oldBak;
  const bool hadBak = FileExists(bak) && ReadWholeFile(bak, oldBak);
  const std::string newWork = WorkFileFor(path, "new");
  const std::string bakWork = WorkFileFor(bak, "new");
  bool ok = WriteWholeFile(newWork, newImage) && WriteWholeFile(bakWork, oldImage) && ReplaceFileAt(bakWork, bak);
  int why = errno;
  if (ok && !ReplaceFileAt(newWork, path)) {
    ok = false;
    why = errno;
    // The page stayed: so does its old backup.
    if (hadBak)
      WriteWholeFile(bak, oldBak);
    else
      DeleteFileAt(bak);
  }
  if (!ok) {
    DeleteFileAt(newWork);
    DeleteFileAt(bakWork);
    errno = why;
  }
  return ok;
}

// Weeks from the start week to the end week, the end cut to its year's weeks.
int RangeWeeks(const PageRun& run, const Prop_Rec& p) {
  int count = 0;
  for (int year = run.startYear; year <= run.endYear; ++year) {
    const int weeks = WeeksInYear(year, p);
    const int from = year == run.startYear ? std::max(1, run.startWeek) : 1;
    const int to = year == run.endYear ? std::min(run.endWeek, weeks) : weeks;
    count += std::max(0, to - from + 1);
  }
  return count;
}

class PageUpdate {
 public:
  PageUpdate(Session& s, const PageRun& run, PageRunResult& result) : s_(s), run_(run), r_(result) {}

  // False when an error stops the whole run.
  bool Update(int n) {
    PageResult& page = r_.pages.emplace_back();
    page.property = n;
    const Prop_Rec& p = s_.Prop(n);
    const std::string folder = LocalWebFolder(s_, n);
    const std::string templatePath = folder + kRowTemplateFile;
    std::string templateText;
    if (folder.empty() || !FileExists(templatePath) || !ReadWholeFile(templatePath, templateText)) {
      s_.dialogs.Beep();
      Line("Table proforma " + PathText(templatePath) + " not found. Create it.", PaneStyle::Red);
      return false;
    }
    const RowTemplate rowTemplate = MakeRowTemplate(templateText);
    page.path = AvailabilityPagePath(s_, n);
    std::string oldImage;
    if (p.WebAvail.empty() || !FileExists(page.path) || !ReadWholeFile(page.path, oldImage)) {
      s_.dialogs.Beep();
      Line("Input file " + PathText(page.path) + " not found. Cannot update", PaneStyle::Red);
      page.outcome = PageOutcome::NoPage;
      return true;
    }
    // A booking file that cannot be read (its message shown) would publish as free.
    if (!ReadReportBookings(s_, {n})) {
      Line("Bookings of " + p.PropName + " could not be read. " + PathText(page.path) + " not updated",
           PaneStyle::Red);
      page.outcome = PageOutcome::NotWritten;
      return true;
    }
    page.linesRead = LineCount(oldImage);
    Line("Updating " + PathText(page.path) + " at " + FormatDateTime("hh:mm:ss dd/mm/yy", s_.clock.Now()),
         PaneStyle::BoldBlue);

    // A page written with LF alone keeps it in what is added.
    const std::string eol = oldImage.find("\r\n") == std::string::npos && oldImage.find('\n') != std::string::npos
                                ? "\n"
                                : "\r\n";
    std::string image = oldImage;
    if (!StampDate(image, eol, page.path)) return false;

    size_t marker = FindNoCase(image, "<!--RateLines-->");
    size_t markerLength = 16;
    if (marker == std::string::npos) {
      const std::string own = "<!-- LinesForProp" + std::to_string(n) + " -->";
      marker = FindNoCase(image, own);
      markerLength = own.size();
    }
    if (marker == std::string::npos || FindNoCase(image, "</table>", marker + markerLength) == std::string::npos) {
      s_.dialogs.Beep();
      s_.dialogs.Message(
          "Error: Table delimiters (eg <!--RateLines-->) not found. Cannot update\r"
          "Correct Input file, then rerun (Press F1 for Help)",
          MsgIcon::Error, MsgButton::OK, 510);
      return false;
    }

    TStArray weeks(static_cast<size_t>(RangeWeeks(run_, p)));
    BuildWeekTable(s_, n, weeks, run_.startYear, std::max(1, run_.startWeek), true);
    const PageRows rows = MakePageRows(s_, n, weeks, rowTemplate, run_, eol);
    if (!rows.badField.empty()) {
      s_.dialogs.Beep();
      s_.dialogs.Message("Error: Invalid @string=" + rows.badField + " in Table Row proforma " +
                             PathText(templatePath) + "\r(Press F1 for Help)",
                         MsgIcon::Error, MsgButton::OK, 550);
      return false;
    }
    const size_t body = EndLineAfter(image, marker + markerLength, eol);
    const size_t tableEnd = FindNoCase(image, "</table>", body);
    image.replace(body, tableEnd - body, rows.text + eol);

    if (!PutPageInPlace(page.path, oldImage, image)) {
      const std::string why = "Unable to write " + PathText(page.path) + ": " + SystemErrorText(errno) +
                              ". Page and backup left as they were";
      Line(why, PaneStyle::Red);
      WriteLog(s_, why);
      page.outcome = PageOutcome::NotWritten;
      return true;
    }
    page.linesWritten = LineCount(image);
    page.outcome = PageOutcome::Written;
    Line(Format("Update complete. Read %d records. Written %d records.", {page.linesRead, page.linesWritten}),
         PaneStyle::Blue);
    return true;
  }

 private:
  void Line(std::string text, PaneStyle style) { r_.pane.push_back({std::move(text), style}); }

  // The line after the date marker becomes "Last updated" and today. False when that
  // line is too long to be the date line (the run stops).
  bool StampDate(std::string& image, const std::string& eol, const std::string& path) {
    const size_t marker = FindNoCase(image, kDateMarker);
    if (marker == std::string::npos) {
      Line("No comment found =\"<!--PubDate-->\"  Publish date not set", PaneStyle::SmallBlue);
      return true;
    }
    const size_t line = EndLineAfter(image, marker + std::char_traits<char>::length(kDateMarker), eol);
    size_t end = image.find('\n', line);
    if (end != std::string::npos && end > line && image[end - 1] == '\r') --end;
    if (end == std::string::npos || end - line > kDateLineMax) {
      s_.dialogs.Beep();
      s_.dialogs.Message("HTML Format error in file " + PathText(path) + "\rLine following " + kDateMarker +
                             " too long\rFile in wrong format?",
                         MsgIcon::Error, MsgButton::Abort | MsgButton::Help, 510);
      return false;
    }
    image.replace(line, end - line, "Last updated " + FormatDateTime("dddd d mmm yyyy", s_.clock.Today()));
    return true;
  }

  Session& s_;
  const PageRun& run_;
  PageRunResult& r_;
};

}  // namespace

std::string AvailabilityPagePath(const Session& s, int n) {
  const std::string folder = LocalWebFolder(s, n);
  return folder + NativePath(PathFromText(s.Prop(n).WebAvail));
}

bool PageRunResult::AllWritten() const {
  return !stopped && !pages.empty() &&
         std::all_of(pages.begin(), pages.end(), [](const PageResult& p) { return p.outcome == PageOutcome::Written; });
}

PageRunResult UpdateAvailabilityPages(Session& s, const PageRun& run) {
  PageRunResult r;
  std::vector<int> chosen;
  for (const int n : run.properties)
    if (n >= 1 && n <= s.NumProps()) chosen.push_back(n);
  std::sort(chosen.begin(), chosen.end());
  chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
  const auto refuse = [&](const char* text) {
    s.dialogs.Beep();
    r.pane.push_back({text, PaneStyle::Red});
    r.stopped = true;
    return r;
  };
  if (chosen.empty()) return refuse("No properties selected");
  // A range ending before it starts holds no weeks: nothing is written for it.
  const bool yearsValid = run.startYear >= 1900 && run.endYear <= 9999;
  if (!yearsValid || run.endYear < run.startYear || (run.endYear == run.startYear && run.endWeek < run.startWeek))
    return refuse("Invalid dates");
  // Week 53 of a year of 52 weeks, say: the end cut to the year leaves nothing.
  for (const int n : chosen)
    if (RangeWeeks(run, s.Prop(n)) == 0) return refuse("Invalid dates");
  PageUpdate update(s, run, r);
  for (const int n : chosen)
    if (!update.Update(n)) {
      r.stopped = true;
      break;
    }
  return r;
}

}  // namespace tb

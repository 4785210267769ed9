#include "maintenance/ImportBookings.h"

#include <algorithm>
#include <cerrno>
#include <map>

#include "maintenance/ImportCsv.h"
#include "platform/FileSystem.h"
#include "platform/FormatSettings.h"
#include "platform/PathText.h"
#include "store/BookingFile.h"
#include "store/DiagnosticLog.h"
#include "store/Session.h"

namespace tb {

namespace {

// The property's bookings as the overlap rule walks them (list order, counted from 1,
// whatever their status): the first whose departure is after the new arrival decides.
// That one is found by binary search over the latest departure so far, which only grows.
class ExistingStays {
 public:
  explicit ExistingStays(const BookingList& list) {
    starts_.reserve(static_cast<size_t>(list.Count()));
    reach_.reserve(static_cast<size_t>(list.Count()));
    TDateTime reach = -1e300;
    for (const Book_Buffer* b = list.First(); b; b = b->Next) {
      reach = std::max(reach, b->Rec.EndD);
      starts_.push_back(b->Rec.StartD);
      reach_.push_back(reach);
    }
  }
  // The position of the booking the stay overlaps; 0 when none.
  int Overlapped(TDateTime start, TDateTime end) const {
    const auto it = std::upper_bound(reach_.begin(), reach_.end(), start);
    if (it == reach_.end()) return 0;
    const size_t i = static_cast<size_t>(it - reach_.begin());
    return end > starts_[i] ? static_cast<int>(i) + 1 : 0;
  }

 private:
  std::vector<TDateTime> starts_, reach_;
};

// The stays of the lines already accepted, by arrival. They never overlap each other,
// so departures run in the same order and only the last arrival before a new departure
// can reach into the new stay.
class EarlierLines {
 public:
  // The line the stay overlaps; 0 when none.
  int Overlapped(TDateTime start, TDateTime end) const {
    auto it = stays_.lower_bound(end);
    if (it == stays_.begin()) return 0;
    --it;
    return it->second.end > start ? it->second.line : 0;
  }
  void Add(TDateTime start, TDateTime end, int line) { stays_[start] = {end, line}; }

 private:
  struct Stay {
    TDateTime end;
    int line;
  };
  std::map<TDateTime, Stay> stays_;
};

void Show(Session& s, const std::string& text, MsgIcon icon, MsgButtons buttons) {
  s.dialogs.Message(text, icon, buttons);
}

}  // namespace

ImportCheck CheckImport(std::string_view data, const Prop_Rec& p, TDateTime today, const FormatSettings& fs) {
  ImportCheck check;
  const std::vector<std::string_view> lines = ImportLines(data);
  check.lines = static_cast<int>(lines.size());
  check.bookings.reserve(lines.size());
  const ExistingStays existing(p.Bookings);
  EarlierLines earlier;
  for (size_t i = 0; i < lines.size(); ++i) {
    const int line = static_cast<int>(i) + 1;
    Book_Rec rec;
    std::string reason;
    if (ParseImportLine(lines[i], p, today, fs, rec, reason)) {
      if (const int at = existing.Overlapped(rec.StartD, rec.EndD))
        reason = "Imported Booking overlaps existing booking " + std::to_string(at);
      else if (const int other = earlier.Overlapped(rec.StartD, rec.EndD))
        reason = "Imported Booking overlaps line " + std::to_string(other);
    }
    if (!reason.empty()) {
      check.badLine = line;
      check.reason = reason;
      check.bookings.clear();
      return check;
    }
    earlier.Add(rec.StartD, rec.EndD, line);
    check.bookings.push_back(std::move(rec));
  }
  return check;
}

ImportOutcome ImportBookings(Session& s, int n, const std::string& path, bool checkOnly,
                             const std::function<void(const std::string&)>& log) {
  ImportOutcome outcome;
  if (!FileExists(path)) {
    Show(s, "File " + PathText(path) + " does not exist.", MsgIcon::Error, MsgButton::Abort);
    s.dialogs.Beep();
    return outcome;
  }
  if (n < 1 || n > s.NumProps()) {
    s.dialogs.Beep();
    Show(s, "No property selected", MsgIcon::Error, MsgButton::Abort);
    return outcome;
  }
  std::string data;
  if (!ReadWholeFile(path, data)) {
    Show(s, OpeningFileError(errno, PathText(path)), MsgIcon::Error, MsgButton::Abort);
    return outcome;
  }
  Prop_Rec& p = s.Prop(n);
  if (checkOnly) {
    ReadBookings(s, n, false, false);
  } else {
    // The file is held from here to the end, as the booking window holds it, so that
    // the check and the write see the same bookings and nobody saves in between.
    if (s.ReadOnly || s.BookFormOpen) {
      Show(s, s.ReadOnly ? "Read only mode" : "Data being updated - try later", MsgIcon::Information, MsgButton::OK);
      return outcome;
    }
    // A list read afresh must be drawn afresh, imported or not.
    if (ReadBookings(s, n, true, false)) p.ImportSel = 1;
    if (s.FileReadOnly) {
      ReleaseBookingFile(s);
      Show(s, "Data being updated - try later", MsgIcon::Information, MsgButton::OK);
      return outcome;
    }
    // A file that could not be read and held (its message shown) is not imported into.
    if (!s.BookFile.IsOpen() && FileExists(BookingFilePath(s, n))) {
      ReleaseBookingFile(s);
      return outcome;
    }
  }

  ImportCheck check = CheckImport(data, p, s.clock.Today(), SystemFormatSettings());
  outcome.lines = check.lines;
  if (check.badLine) {
    outcome.result = ImportResult::Invalid;
    outcome.badLine = check.badLine;
    outcome.reason = check.reason;
    if (!checkOnly) ReleaseBookingFile(s);
    Show(s, "Data Error: CSV file invalid. Line " + std::to_string(check.badLine) + "\r" + check.reason,
         MsgIcon::Error, MsgButton::Abort);
    return outcome;
  }
  if (checkOnly) {
    outcome.result = ImportResult::Valid;
    return outcome;
  }
  if (s.dialogs.Message("CSV File is valid\rContinue?", MsgIcon::Confirmation, MsgButton::Yes | MsgButton::Cancel) !=
      MsgButton::Yes) {
    ReleaseBookingFile(s);
    outcome.result = ImportResult::Cancelled;
    return outcome;
  }

  // The change log holds every booking that entered the file, so that a recovery from it
  // does not lose what an import brought.
  if (!AppendBookings(s, check.bookings, ArchiveLogPath(p, "Changed"))) {
    ReleaseBookingFile(s);
    outcome.result = ImportResult::NotWritten;
    return outcome;
  }
  for (Book_Rec& rec : check.bookings) p.Bookings.Append(std::move(rec));
  SortBookings(s, n);
  p.ListModified = 1;
  p.DatesChanged = 1;  // the agency calendar must learn of the new lets
  p.ImportSel = 1;
  if (!WriteBookings(s, n)) {
    // Bookings that were not written must not stay in memory for the next save to write.
    RestoreBookings(s, n);
    ReleaseBookingFile(s);
    outcome.result = ImportResult::NotWritten;
    return outcome;
  }
  ReleaseBookingFile(s);
  s.WebDataDue = true;
  const std::string line = "Imported " + std::to_string(check.lines) + " lines for Property " + p.PropName;
  WriteLog(s, line);
  if (log) log(line);
  outcome.result = ImportResult::Imported;
  return outcome;
}

}  // namespace tb

#include "store/BookingFile.h"


#include "platform/FileSystem.h"
#include "platform/Format.h"
#include "platform/PathText.h"
#include "store/DiagnosticLog.h"
#include "store/Session.h"

namespace tb {

namespace {

const MsgButtons kAbortHelp = MsgButton::Abort | MsgButton::Help;

[[noreturn]] void Corrupt(Session& s, const std::string& logLine, const std::string& message) {
  WriteLog(s, logLine);
  FatalError(s, message, 1220);
}

// Status changes that follow from time passing, made as each record is read; they
// reach the file at the next write.
void CompleteIfOver(Book_Rec& r, const Prop_Rec& p, TDateTime today) {
  if (!(today > r.EndD && r.Status == Paid)) return;
  r.Status = Complete;
  if (p.RetDepChg >= 1 && p.RetDepChg <= 3) {
    if (r.Money(p.RetDepChg) != 0) r.Status = RepayDeposit;
    else r.DateR = r.EndD;
  }
}

// The length of the whole records at the start of a file of this format: an append cut
// short leaves a part of one at the end.
size_t WholeRecords(const std::string& data) {
  size_t pos = 0, whole = 0;
  Book_Rec rec;
  bool textFault = false;
  while (pos < data.size() && ParseBookRecord(data, pos, rec, textFault) && !textFault) whole = pos;
  return whole;
}

// Bytes after the whole records that an append cut short leaves: less than the largest
// record the windows can make. Anything more is damage.
constexpr size_t kCutShortLimit = 4096;

// The image without a record an interrupted append left at its end (logged), for the
// files that are appended to: logs, archives, copies. The image as it is otherwise.
std::string WithoutCutShortRecord(Session& s, const std::string& path, const std::string& data) {
  const size_t whole = WholeRecords(data);
  if (whole == data.size() || data.size() - whole >= kCutShortLimit) return data;
  WriteLog(s, "QZ1220F Record cut short at the end of " + PathText(path) + " left out: " +
                  std::to_string(data.size() - whole) + " bytes");
  return data.substr(0, whole);
}

// Whether a file image holds exactly the list's bookings, as reading it would make them.
bool ListMatches(const BookingList& list, const std::string& data, TDateTime today, const Prop_Rec& p) {
  size_t pos = 0;
  Book_Rec rec;
  const Book_Buffer* b = list.First();
  for (; b && pos < data.size(); b = b->Next) {
    bool textFault = false;
    // rec's texts point into data, which outlives it.
    if (!ParseBookRecordViews(data, pos, rec, textFault) || textFault) return false;
    CompleteIfOver(rec, p, today);
    if (!SameBooking(rec, b->Rec)) return false;
  }
  return !b && pos == data.size();
}

// Parses a whole booking file image into property n's list. False when a refresh
// found an empty file (the list is kept).
bool ParseBookings(Session& s, int n, const std::string& path, const std::string& whole, TDateTime age,
                   bool refresh) {
  // A property's live file is only ever replaced whole; a file named on the command
  // line may be one that is appended to.
  const std::string trimmed = n == 0 ? WithoutCutShortRecord(s, path, whole) : std::string();
  const std::string& data = n == 0 ? trimmed : whole;
  const std::string shown = PathText(path);
  if (refresh && data.empty()) {
    WriteLog(s, "QZ1220E File " + shown + " returned size=0. Possible corrupt data ignored");
    return false;
  }
  if (data.size() < 100)
    Corrupt(s, "QZ1220A File " + shown + " corrupt. Size =" + std::to_string(data.size()) + " bytes. DIE",
            "Error 1220. Corrupt Data file=" + shown + "\r" +
                "Please investigate and recover lost data before continuing - see Help.");

  Prop_Rec& p = s.Prop(n);
  p.BookFileAge = age;
  FreeBookings(s, n);
  const TDateTime today = s.clock.Today();
  size_t pos = 0;
  int position = 0;
  while (pos < data.size()) {
    if (data.size() - pos < kBookMinSize)
      Corrupt(s, "QZ1220C File " + shown + " corrupt - short on bytes",
              "Error 1220. Corrupt data. File=" + shown + "\r" +
                  "Investigate and recover lost data before continuing - see Help.");
    // Parsed straight into its node: a file holds years of bookings.
    bool textFault = false;
    Book_Rec& rec = p.Bookings.AppendFromFile(data, pos, textFault)->Rec;
    if (textFault)
      Corrupt(s, "QZ1220B File " + shown + " corrupt structure.",
              "Error 1220. Corrupt data in file=" + shown + "\r" +
                  "Please investigate and recover lost data before continuing - see Help.");
    ++position;
    CompleteIfOver(rec, p, today);
    // Not NaN-safe as "<" would be: a damaged date also gets reported.
    if (!(rec.EndD - rec.StartD >= 1))
      s.dialogs.Message("Booking file error: Property " + p.PropName + "\r" +
                            Format("Start Date >= End date. Booking %d starting ", {position}) +
                            ShortDateText(rec.StartD) + "\r" + "Make a note. Page through file to locate",
                        MsgIcon::Error, MsgButton::OK);
  }
  CheckBookingList(s, p.Bookings.First(), p.Bookings.Last(), p.Bookings.Count());
  return true;
}

bool HandleHolds(const Session& s, const std::string& path) {
  return s.BookFile.IsOpen() && s.BookFile.Path() == path;
}

// Replaces the file the handle holds with the image, whole or not at all (the old
// content stays on a failure, with its message).
bool WriteImage(Session& s, SharedFile& f, const std::string& image) {
  size_t written = 0;
  if (f.Replace(image, written)) return true;
  if (written != image.size()) {
    const std::string text = "QZ1080 Should not occur. Wrote " + std::to_string(written) + " bytes v. req=" +
                             std::to_string(image.size());
    WriteLog(s, text + " " + f.ErrorText());
    s.dialogs.Message(text + "\r" + "Try again?", MsgIcon::Error, kAbortHelp, 1080);
    return false;
  }
  WriteLog(s, "QZ1080 Should not occur. Cannot flush " + PathText(f.Path()) + " " + f.ErrorText());
  s.dialogs.Message("QZ1080 Should not occur. Cannot flush " + PathText(f.Path()) + "\r" + "Try again?",
                    MsgIcon::Error, kAbortHelp, 1080);
  return false;
}

[[noreturn]] void TooFewBytes(Session& s, const std::string& path, size_t count) {
  Corrupt(s, "QZ1220B. Corrupt Data. F=" + PathText(path) + " Read too few bytes =" + std::to_string(count) + ". DIE",
          "Error 1220. Corrupt data. File=" + PathText(path) + "\r" +
              "Please investigate and recover lost data before continuing - see Help.");
}

}  // namespace

bool SafetyCopy(Session& s, int n, const std::string& path) {
  const std::string& folder = s.common.TempFolder;
  const std::string copy = folder + "P" + std::to_string(n) + "-" + ExtractFileName(path);
  // Customers' names and addresses: readable by this user only.
  if (!folder.empty() && CopyFileOverwrite(path, copy, FileAccess::Private)) return true;
  WriteLog(s, "QZ1015 Cannot write safety copy " + PathText(copy) + " of " + PathText(path));
  return false;
}

std::string BookingFilePath(const Session& s, int n) {
  return n == 0 ? s.DirectFile : s.Prop(n).Folder + "Data/Bookings.bks";
}

std::string BookingsImage(const BookingList& list) {
  std::string image;
  size_t size = 0;
  for (const Book_Buffer* b = list.First(); b; b = b->Next) size += BookRecordSize(b->Rec);
  image.reserve(size);
  for (const Book_Buffer* b = list.First(); b; b = b->Next) AppendBookRecord(image, b->Rec);
  return image;
}

bool ReadBookings(Session& s, int n, bool lock, bool refresh) {
  Prop_Rec& p = s.Prop(n);
  const std::string path = BookingFilePath(s, n);
  // One look at the file answers both questions when it is there (the usual case).
  const TDateTime age = FileTimeAsDateTime(path);
  if (age < 0) {
    if (n >= 1 && !DirectoryExists(p.Folder))
      FatalError(s, "E1020 No Property Folder " + PathText(p.Folder) + "\r" + "Major error - Data lost? Read Help",
                 1020);
    if (p.Bookings.Empty()) return false;
    FreeBookings(s, n);
    return true;
  }
  if (lock && s.ReadOnly) {
    lock = false;
    s.FileReadOnly = true;
  }

  if (lock) {
    s.FileReadOnly = false;
    s.BookFile.Close();
    s.BookFileProp = n;
    if (s.BookFile.OpenReadWriteDenyWriters(path) != SharedFile::Result::Ok) {
      if (s.BookFile.OpenReadShareAll(path) != SharedFile::Result::Ok) {
        WriteLog(s, "QZ1080A Should not occur. Reading " + PathText(path));
        s.dialogs.Message("QZ1080 Should not occur. Reading " + PathText(path), MsgIcon::Error, kAbortHelp, 1080);
        return false;
      }
      s.FileReadOnly = true;
    }
    // File times are coarse (a few milliseconds): two writes can leave one time. Before
    // an edit the bytes decide, so that it never starts from a list older than the file.
    std::string data;
    if (!s.BookFile.ReadAll(data)) TooFewBytes(s, path, data.size());
    if (age == p.BookFileAge && ListMatches(p.Bookings, data, s.clock.Today(), p)) return false;
    return ParseBookings(s, n, path, data, age, refresh);
  }

  if (age == p.BookFileAge) return false;
  SharedFile f;
  if (f.OpenReadShareAll(path) != SharedFile::Result::Ok) {
    WriteLog(s, "QZ1080B Should not occur. TFilestream.Create error F=" + PathText(path) + "\r\n" +
                    "  Exception: " + f.ErrorText());
    s.dialogs.Beep();
    s.dialogs.Message("QZ1080 Should not occur. Cannot read " + PathText(path), MsgIcon::Error, kAbortHelp, 1080);
    return false;
  }
  std::string data;
  if (!f.ReadAll(data)) TooFewBytes(s, path, data.size());
  f.Close();
  return ParseBookings(s, n, path, data, age, refresh);
}

void RestoreBookings(Session& s, int n) {
  Prop_Rec& p = s.Prop(n);
  const std::string path = BookingFilePath(s, n);
  p.ListModified = 0;
  p.BookingChanged = 0;
  if (!FileExists(path)) {
    FreeBookings(s, n);
    return;
  }
  std::string data;
  bool read = false;
  if (HandleHolds(s, path)) {
    read = s.BookFile.ReadAll(data);
  } else {
    SharedFile f;
    read = f.OpenReadShareAll(path) == SharedFile::Result::Ok && f.ReadAll(data);
  }
  if (!read) TooFewBytes(s, path, data.size());
  ParseBookings(s, n, path, data, FileTimeAsDateTime(path), false);
}

bool WriteBookings(Session& s, int n) {
  Prop_Rec& p = s.Prop(n);
  if (!p.ListModified) return false;
  const std::string path = BookingFilePath(s, n);
  const std::string tag = "P" + std::to_string(n) + "-";

  if (FileExists(path)) {
    if (!HandleHolds(s, path) || s.FileReadOnly) {
      WriteLog(s, "QZ1080C Should not occur: " + tag + " booking file not open");
      s.dialogs.Message("QZ1080 Should not occur: " + tag + " booking file not open", MsgIcon::Error, kAbortHelp,
                        1080);
      return false;
    }
    SafetyCopy(s, n, path);
    if (!p.Bookings.Empty()) {
      if (!WriteImage(s, s.BookFile, BookingsImage(p.Bookings))) return false;
    } else {
      // Deleted while still held, so that a failure leaves the file and the lock as they were.
      if (!DeleteFileAt(path)) {
        WriteLog(s, "Cannot delete file " + PathText(path));
        s.dialogs.Message("Cannot delete file " + PathText(path), MsgIcon::Error, MsgButton::OK);
        return false;
      }
      s.BookFile.Close();
    }
  } else {
    if (s.BookFile.IsOpen()) {
      WriteLog(s, "QZ1080D Should not occur. FSBook not nil for new file");
      s.dialogs.Message("QZ1080 Should not occur. New file locked", MsgIcon::Error, kAbortHelp, 1080);
      s.BookFile.Close();
    }
    if (p.Bookings.Empty()) {
      // Nothing to write and no file to delete.
      p.ListModified = p.BookingChanged = 0;
      return true;
    }
    // Made whole and held in one step; another user making the file meanwhile keeps it.
    if (s.BookFile.CreateDenyWriters(path, BookingsImage(p.Bookings)) != SharedFile::Result::Ok) {
      s.dialogs.Message("Cannot open booking file" + PathText(path) + "\r" + "File in use - try again?",
                        MsgIcon::Error, MsgButton::Abort, 900);
      return false;
    }
    s.BookFileProp = n;
    s.FileReadOnly = false;
  }

  p.ListModified = 0;
  p.BookingChanged = 0;
  if (n >= 1 && FileExists(path)) p.BookFileAge = FileTimeAsDateTime(path);
  s.dialogs.Beep();

  if (n >= 1 && p.DatesChanged) {
    if (s.agencyCalendarUpload) s.agencyCalendarUpload(s, n);
    else p.DatesChanged = 0;
  }
  return true;
}

std::string ArchiveLogPath(const Prop_Rec& p, const char* name) { return p.Folder + "Archive/" + name + ".bks"; }

bool AppendBooking(Session& s, const Book_Rec& rec, const std::string& path) { return AppendBookings(s, {rec}, path); }

bool AppendBookings(Session& s, const std::vector<Book_Rec>& recs, const std::string& path) {
  std::string bytes;
  for (const Book_Rec& rec : recs) AppendBookRecord(bytes, rec);
  SharedFile f;
  if (FileExists(path)) {
    while (f.OpenReadWriteDenyWriters(path) != SharedFile::Result::Ok) {
      s.dialogs.Beep();
      const MsgButton answer = s.dialogs.Message(
          "E1015 Cannot write to file " + PathText(path) + "\r" + "In use? Try again" + "\r" + "Also check permissions",
          MsgIcon::Error, MsgButton::Abort | MsgButton::Retry | MsgButton::Help, 1015);
      if (answer != MsgButton::Retry) return false;
    }
  } else if (f.OpenOrCreateDenyWriters(path) != SharedFile::Result::Ok) {
    s.dialogs.Beep();
    CannotWriteFileMessage(s, path);
    return false;
  }
  const bool ok = f.AppendRecords(bytes, WholeRecords);
  f.Close();
  if (!ok) {
    s.dialogs.Beep();
    CannotWriteFileMessage(s, path);
  }
  return ok;
}

void CannotWriteFileMessage(Session& s, const std::string& path) {
  s.dialogs.Message("E1015 Cannot write to file " + PathText(path) + "\r" + "Check folder permissions",
                    MsgIcon::Error, kAbortHelp, 1015);
}

void ReleaseBookingFile(Session& s) {
  // Only a holder for writing knows that nobody wrote meanwhile. A read-only holder
  // keeps the time it last read: a save by the user who held the file is picked up
  // by the next read.
  if (s.BookFile.IsOpen() && !s.FileReadOnly && s.BookFileProp >= 0 && s.BookFileProp <= s.NumProps()) {
    const std::string path = BookingFilePath(s, s.BookFileProp);
    if (FileExists(path)) s.Prop(s.BookFileProp).BookFileAge = FileTimeAsDateTime(path);
  }
  s.BookFile.Close();
  s.BookFileProp = -1;
  s.FileReadOnly = false;
}

LoadedList LoadBookingList(Session& s, const std::string& path, bool appendedTo) {
  LoadedList loaded;
  if (!FileExists(path)) return loaded;
  std::string data;
  if (loaded.handle.OpenReadWriteDenyWriters(path) != SharedFile::Result::Ok || !loaded.handle.ReadAll(data)) {
    loaded.handle.Close();
    loaded.count = -1;
    return loaded;
  }
  if (appendedTo) data = WithoutCutShortRecord(s, path, data);
  auto corrupt = [&s, &path]() {
    WriteLog(s, "QZ1220D ReadS found Corrupt File " + PathText(path));
    FatalError(s, "Error 1220. Corrupt structure in Booking file =" + PathText(path) + "\r" + "Read Help", 1220);
  };
  if (!appendedTo && data.empty()) corrupt();
  size_t pos = 0;
  while (pos < data.size()) {
    Book_Rec rec;
    bool textFault = false;
    if (!ParseBookRecord(data, pos, rec, textFault) || textFault) corrupt();
    loaded.list.Append(std::move(rec));
  }
  loaded.count = loaded.list.Count();
  return loaded;
}

bool SaveBookingList(Session& s, SharedFile& handle, BookingList& list, int n, const std::string& path) {
  if (list.Empty()) {
    handle.Close();
    return true;
  }
  const std::string image = BookingsImage(list);
  const bool held = handle.IsOpen();
  const bool exists = held || FileExists(path);
  if (held) SafetyCopy(s, n, path);
  const SharedFile::Result r = held     ? SharedFile::Result::Ok
                               : exists ? handle.OpenReadWriteDenyWriters(path)
                                        : handle.CreateDenyWriters(path, image);
  if (r != SharedFile::Result::Ok) {
    s.dialogs.Beep();
    s.dialogs.Message("Error 1150. Cannot write to: " + PathText(path), MsgIcon::Error, kAbortHelp, 1150);
    return false;
  }
  const bool ok = !exists || WriteImage(s, handle, image);
  handle.Close();
  if (ok) list.Clear();
  return ok;
}

bool SortBookings(Session& s, int n) { return s.Prop(n).Bookings.SortByStart(); }

void CheckBookingList(Session& s, const Book_Buffer* first, const Book_Buffer* last, int count) {
  auto report = [&s](int position, const char* what) {
    s.dialogs.Beep();
    s.dialogs.Message(Format("E1005 Rec=%d ", {position}) + what + " error", MsgIcon::Error, MsgButton::Ignore, 1005);
  };
  if (!first) {
    if (last) report(0, "LIC not nil");
    if (count != 0) s.dialogs.Message("Count Disparity.", MsgIcon::Error, MsgButton::Abort);
    return;
  }
  if (first->Prev) report(0, "PrevPtr");
  int walked = 0;
  for (const Book_Buffer* b = first; b; b = b->Next) {
    ++walked;
    if (b->Next && b->Next->Prev != b) report(walked, "PrevPtr");
    if (!b->Next && b != last) report(walked, "LICPtr");
    if (walked > count + 1) break;  // a loop in the links must not hang the check
  }
  if (walked != count) s.dialogs.Message("Count Disparity.", MsgIcon::Error, MsgButton::Abort);
}

void FreeBookings(Session& s, int n) {
  s.Prop(n).Bookings.Clear();
  ++s.BookingsFreed;
}

std::pair<Book_Buffer*, int> FindBookingAt(const Session& s, int n, TDateTime date) {
  int position = 0;
  for (Book_Buffer* b = s.Prop(n).Bookings.First(); b; b = b->Next) {
    ++position;
    if (b->Rec.StartD <= date && date < b->Rec.EndD && b->Rec.Status != Cancelled) return {b, position};
  }
  return {nullptr, 0};
}

}  // namespace tb

#include "bookings/Recovery.h"

#include <cmath>

#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "platform/Text.h"
#include "store/BookingFile.h"
#include "store/Session.h"

namespace tb {

namespace {

std::string DateTimeText(TDateTime dt) { return FormatDateTime("ddddd hh:nn:ss", dt); }

bool IsCancelled(const Book_Rec& r) { return r.Status == Cancelled; }

// The record is the last save for its start date, or a cancellation that stays beside
// the booking that replaced it.
bool TakenFromLog(const Book_Rec& r, const Book_Rec* next) {
  if (!next) return true;
  if (r.StartD < next->StartD) return true;
  if (IsCancelled(r) && !IsCancelled(*next)) return true;
  return IsCancelled(r) && IsCancelled(*next) && r.Surname != next->Surname;
}

// A record followed by one with the same or an earlier start is an older version of it,
// unless it is a cancellation kept beside a different booking.
bool Superseded(const Book_Rec& r, const Book_Rec* next) {
  if (!next || r.StartD < next->StartD) return false;
  return !(IsCancelled(r) && (!IsCancelled(*next) || r.Surname != next->Surname));
}

// The same customer booking on the same day: their short date of booking, surname and
// first names are one text. Compared by the day's number, not the text: pass 2 looks at
// every pair of a years-long list.
bool SameIdentity(const Book_Rec& a, const Book_Rec& b) {
  return std::floor(a.DateB) == std::floor(b.DateB) && a.Surname == b.Surname && a.Fnames == b.Fnames;
}

std::string Description(const Book_Rec& r) {
  return " Name=" + r.Surname + " Start:" + ShortDateText(r.StartD) + " End:" + ShortDateText(r.EndD) +
         " Booked:" + ShortDateText(r.DateB) + " Last update=" + DateTimeText(r.DateUpD);
}

std::string Details(const Book_Rec& r) {
  return r.Surname + " Booking start=" + ShortDateText(r.StartD) + " L.Update=" + DateTimeText(r.DateUpD);
}

// Asks whether a customer moved a booking; Yes gives the older save, to be removed.
Book_Buffer* AskDateChange(Session& s, Book_Buffer* r, Book_Buffer* later) {
  s.dialogs.Beep();
  const MsgButton answer =
      s.dialogs.Message("2 bookings from same person found. Did they change dates?\r1" + Description(r->Rec) + "\r" +
                            "2" + Description(later->Rec) + "\r" + "Remove oldest booking? (NO keeps both)",
                        MsgIcon::Confirmation, MsgButton::Yes | MsgButton::No);
  if (answer != MsgButton::Yes) return nullptr;
  return r->Rec.DateUpD >= later->Rec.DateUpD ? later : r;
}

// Pass 2: bookings of one customer with different dates, one of them newer than the
// cut-off. Returns how many were discarded.
int DropMovedBookings(Session& s, BookingList& work, TDateTime cutOff, const RecoveryLog& log) {
  int discarded = 0;
  for (Book_Buffer* r = work.First(); r;) {
    Book_Buffer* nextR = nullptr;
    bool rGone = false;
    for (Book_Buffer* later = r->Next; later;) {
      Book_Buffer* following = later->Next;
      const bool moved = r->Rec.StartD != later->Rec.StartD || r->Rec.EndD != later->Rec.EndD;
      const bool recent = r->Rec.DateUpD > cutOff || later->Rec.DateUpD > cutOff;
      Book_Buffer* older = moved && recent && SameIdentity(r->Rec, later->Rec)
                               ? AskDateChange(s, r, later)
                               : nullptr;
      if (older) {
        log("Discarded booking (date change): Surname=" + Details(older->Rec));
        ++discarded;
        if (older == r) {
          nextR = r->Next;
          rGone = true;
          work.Remove(r);
          break;
        }
        work.Remove(later);
      }
      later = following;
    }
    r = rGone ? nextR : r->Next;
  }
  return discarded;
}

}  // namespace

std::string RecoveryFilePath(const Session& s) { return s.common.RootFolder + "Recovered.bks"; }

RecoveryOutcome RecoverFromChangeLog(Session& s, const BookingList& changeLog, const std::string& backupPath,
                                     const RecoveryLog& log) {
  const std::string path = RecoveryFilePath(s);
  const std::string shown = PathText(path);
  const bool replace = FileExists(path);
  if (replace && s.dialogs.Message("Recovery File exists = " + shown + "\r" + "Delete it?", MsgIcon::Confirmation,
                                   MsgButton::Yes | MsgButton::Cancel) != MsgButton::Yes)
    return RecoveryOutcome::Stopped;

  // The backup's records first: a change-log record with the same start comes after
  // them and so wins in pass 3.
  BookingList work;
  TDateTime cutOff = 0;
  const std::string backup = Trim(backupPath);
  if (!backup.empty()) {
    if (!FileExists(backup)) {
      s.dialogs.Message("Specified file to merge does not exist", MsgIcon::Error, MsgButton::OK);
      return RecoveryOutcome::Stopped;
    }
    LoadedList loaded = LoadBookingList(s, backup, false);
    loaded.handle.Close();
    if (loaded.count <= 0) {
      s.dialogs.Message("Error 1150. Cannot lock: " + PathText(backup), MsgIcon::Error,
                        MsgButton::OK | MsgButton::Help, 1150);
      return RecoveryOutcome::Stopped;
    }
    work = std::move(loaded.list);
    for (const Book_Buffer* b = work.First(); b; b = b->Next)
      if (b->Rec.DateUpD > cutOff) cutOff = b->Rec.DateUpD;
    log("Loaded backup file. " + std::to_string(work.Count()) + " records. Most recent update=" +
        DateTimeText(cutOff));
  }
  // Only now that the run can go on does an earlier result go, as the user agreed.
  if (replace && !DeleteFileAt(path)) {
    s.dialogs.Message("Cannot delete file " + shown, MsgIcon::Error, MsgButton::OK);
    return RecoveryOutcome::Stopped;
  }

  log("");
  log("-----Starting pass 1. Extracting records from Change Log");
  int taken = 0;
  for (const Book_Buffer* b = changeLog.First(); b; b = b->Next) {
    const Book_Rec& r = b->Rec;
    if (!(r.DateUpD > cutOff) || !TakenFromLog(r, b->Next ? &b->Next->Rec : nullptr)) continue;
    work.Append(r);
    ++taken;
    log("Recovered booking. Surname=" + Details(r));
  }
  if (taken == 0) {
    log("No records in change log more recent than in backup file. Nothing to recover");
    return RecoveryOutcome::NothingToRecover;
  }
  log("Recovered " + std::to_string(taken) + " records from change log");

  log("");
  log("-----Starting pass 2. Checking for bookings where dates have changed");
  const int discarded = DropMovedBookings(s, work, cutOff, log);
  log("End of check for bookings where date changed. Total discarded = " + std::to_string(discarded));
  work.SortByStart();

  log("");
  log("-----Starting pass 3. Checking for superceded bookings and deleted bookings etc");
  std::string image;
  int written = 0;
  for (const Book_Buffer* b = work.First(); b; b = b->Next) {
    const Book_Rec& r = b->Rec;
    if (Superseded(r, b->Next ? &b->Next->Rec : nullptr)) {
      log("Dropped superceded booking: Name " + Details(r));
    } else if (r.Status == Deleted) {
      log("Dropped deleted booking: Name " + Details(r));
    } else {
      AppendBookRecord(image, r);
      ++written;
    }
  }
  // Built whole and written once, so a failure leaves no part of a file that could be
  // taken for the result. With every record dropped there is nothing to write, as
  // appending none would make no file.
  if (!image.empty() && !WriteWholeFile(path, image)) {
    s.dialogs.Message("Unable to write to recovery file = " + shown, MsgIcon::Error, MsgButton::OK);
    return RecoveryOutcome::Stopped;
  }
  log("Written " + std::to_string(written) + " bookings to recovery file: " + shown);
  s.dialogs.Beep();
  log("--------RECOVERY COMPLETE-----------");
  return RecoveryOutcome::Written;
}

}  // namespace tb

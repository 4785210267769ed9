// Saving, closing and deleting the booking of a BookingEditor.

#include "bookings/BookingEditor.h"
#include "bookings/WeekTable.h"
#include "platform/FileSystem.h"
#include "platform/Format.h"
#include "platform/PathText.h"
#include "platform/Text.h"
#include "store/BookingFile.h"
#include "store/DiagnosticLog.h"
#include "store/Session.h"

namespace tb {

namespace {

// "Num visits": digits only; anything else (or too large to keep) counts as 0.
uint16_t Visits(const std::string& text) {
  const std::string_view t = TrimView(text);
  if (t.empty() || t.size() > 5) return 0;
  unsigned v = 0;
  for (char c : t) {
    if (c < '0' || c > '9') return 0;
    v = v * 10 + static_cast<unsigned>(c - '0');
  }
  return v <= 0xFFFF ? static_cast<uint16_t>(v) : 0;
}

}  // namespace

// The fields into a record (which keeps what the window does not show). False when an
// amount is not a number.
bool BookingEditor::FillRecord(Book_Rec& rec) const {
  const Prop_Rec& p = Prop();
  const BookingForm& f = fields.form;
  rec.Surname = Trim(f.surname);
  rec.Fnames = Trim(fields.fnames);
  rec.Address = fields.address;
  rec.Phone = Trim(fields.phone);
  rec.Email = Trim(fields.email);
  rec.Special = fields.special;
  rec.Comments = fields.comments;
  rec.Source = Trim(fields.source);
  rec.NumV = Visits(fields.visits);
  rec.Set(DepAck, fields.depAck);
  rec.Set(BalAck, fields.balAck);
  rec.Set(OmitM, fields.omitM);
  rec.Set(OmitSName, fields.omitSName);
  rec.Set(FlagSp, fields.flagSp);
  rec.Set(ShowAsLet, fields.showAsLet);
  rec.Set(NoClean, f.noClean);
  if (!ParseAmount(f.rent, rec.Rent)) return false;
  for (int i = 1; i <= 3; ++i) {
    rec.Money(i) = 0;
    if (i <= p.ChargeCount && !ParseAmount(f.charge[static_cast<size_t>(i)], rec.Money(i))) return false;
  }
  if (!ParseAmount(f.total, rec.Total) || !ParseAmount(f.deposit, rec.Deposit) ||
      !ParseAmount(f.balance, rec.Balance) || !ParseAmount(fields.refund, rec.Refund))
    return false;
  rec.StartD = f.startD;
  rec.EndD = f.endD;
  rec.DateB = fields.dateB;
  rec.DateD = f.dateD;
  rec.DateP = f.dateP;
  rec.DateR = f.dateR;
  rec.Status = SettledStatus(f.status, f.depositPaid, f.balancePaid);
  return true;
}

void BookingEditor::Redraw() {
  if (mode_ == EditorMode::File || n_ < 1) return;
  BuildWeekTable(s_, n_, false);
  if (s_.chartChanged) s_.chartChanged(n_);
}

bool BookingEditor::Save(const std::string& tag) {
  focus = EditorFocus::None;
  Prop_Rec& p = Prop();
  if (!p.BookingChanged) return true;
  if (readOnly_) return false;

  // Every check made on leaving a field runs here too: Save, Save / Exit and the close
  // box move no focus, so the field being typed into has not been left.
  std::string error = CheckDates();
  if (!error.empty()) {
    focus = EditorFocus::StartDate;
  } else {
    const AmountField checked[] = {AmountField::Rent, AmountField::Deposit, AmountField::Charge1,
                                   AmountField::Charge2, AmountField::Charge3};
    for (AmountField a : checked) {
      if (a >= AmountField::Charge1 && static_cast<int>(a) > p.ChargeCount) continue;
      double value = 0;
      if (ParseAmount(*Amount(a), value) && value >= 0) continue;
      s_.dialogs.Beep();
      error = "Invalid amount";
      focus = static_cast<EditorFocus>(static_cast<int>(EditorFocus::Rent) + static_cast<int>(a));
      break;
    }
  }
  if (error.empty() && fields.form.status == Cancelled) {
    error = CancellationChargeError();
    if (!error.empty()) focus = EditorFocus::Total;
  }
  if (!error.empty()) {
    s_.dialogs.Message(error + "\r" + "Cannot save", MsgIcon::Error, MsgButton::OK);
    return false;
  }
  // What a cancelled booking keeps and what it pays back always add up to what was paid.
  if (fields.form.status == Cancelled) SettleRefund();

  // The record is made whole before the list is touched, so a failure leaves no
  // half-filled booking behind.
  Book_Rec rec = node_ ? node_->Rec : Book_Rec{};
  if (!FillRecord(rec)) {
    s_.dialogs.Message("Invalid amount", MsgIcon::Error, MsgButton::OK);
    return false;
  }
  rec.DateUpD = s_.clock.Now();

  if (mode_ == EditorMode::New || !node_) {
    node_ = p.Bookings.Append(rec);
    p.DatesChanged = 1;
    // From here the booking is in the list: a save retried after a failure below
    // updates it rather than adding it again.
    if (mode_ == EditorMode::New) mode_ = EditorMode::Edit;
  } else {
    const Book_Rec& before = node_->Rec;
    // Whatever moved the booking on the calendar reaches the agency calendar, however
    // the dates were changed.
    if (rec.StartD != before.StartD || rec.EndD != before.EndD ||
        (rec.Status == Cancelled) != (before.Status == Cancelled))
      p.DatesChanged = 1;
    if (mode_ == EditorMode::Edit && (rec.StartD != before.StartD || rec.Surname != before.Surname))
      RenameBookingDocuments(s_, n_, before, rec);
    if (mode_ == EditorMode::File && unwritten_ != node_) beforeUnwritten_ = before;
    node_->Rec = rec;
  }
  fields.form.status = rec.Status;
  p.ListModified = 1;
  SortBookings(s_, n_);

  if (mode_ != EditorMode::File && !AppendBooking(s_, rec, ArchiveLogPath(p, "Changed"))) return false;
  if (!WriteBookings(s_, n_)) {
    if (mode_ == EditorMode::File) unwritten_ = node_;
    return false;
  }
  unwritten_ = nullptr;
  if (mode_ != EditorMode::File) s_.WebDataDue = true;

  panel[0] = Format("Rec %d of %d", {Position(), p.Bookings.Count()});
  panel[1] = "Updated " + FormatDateTime("ddddd hh:nn:ss", rec.DateUpD);
  Redraw();
  if (mode_ != EditorMode::File && s_.bookingsWritten) s_.bookingsWritten(n_);
  WriteLog(s_, Format("%s P=%d %s Name=%s S=%s SD=",
                      {tag, n_, p.PropName, fields.form.surname, StatusTag(rec.Status)}) +
                   FormatDateTime("yymmdd", rec.StartD));
  return true;
}

bool BookingEditor::SaveExit() {
  focus = EditorFocus::None;
  if (TrimView(fields.form.surname).empty()) {
    s_.dialogs.Message("Must specify Surname", MsgIcon::Error, MsgButton::OK);
    focus = EditorFocus::Surname;
    return false;
  }
  return Save("EXIT");
}

void BookingEditor::Discard() {
  Prop_Rec& p = Prop();
  p.BookingChanged = 0;
  if (mode_ == EditorMode::File) {
    // Only the booking whose save failed gets its record back (it is the one on show:
    // nothing else can be reached while it is changed).
    if (unwritten_ && unwritten_ == node_) {
      node_->Rec = beforeUnwritten_;
      SortBookings(s_, n_);
    }
    unwritten_ = nullptr;
    return;
  }
  // A save or deletion whose write failed left the list unlike the file: given up, it
  // must not live on in memory, where the next save of any booking would write it.
  if (!p.ListModified) return;
  RestoreBookings(s_, n_);
  node_ = nullptr;
  Redraw();
}

bool BookingEditor::Quit() {
  if (Changed() &&
      s_.dialogs.Message("Quit and lose changes?", MsgIcon::Confirmation, MsgButton::Yes | MsgButton::No) !=
          MsgButton::Yes)
    return false;
  Discard();
  return true;
}

bool BookingEditor::Close() {
  if (!open_) return true;
  if (!readOnly_ && Changed()) {
    const MsgButton answer = s_.dialogs.Message(
        "Save changes before closing?\r(Cancel returns to editing, No discards changes)", MsgIcon::Confirmation,
        MsgButton::Yes | MsgButton::No | MsgButton::Cancel);
    if (answer == MsgButton::Cancel) return false;
    if (answer == MsgButton::Yes) {
      if (!Save("BF-CLOSE")) return false;
    } else {
      Discard();
    }
  } else if (!readOnly_ && mode_ != EditorMode::File) {
    Discard();  // a deletion that could not be written
  }
  // Booking-file mode writes its deletions and order now; a failure must not pass unseen.
  // Unless the user says otherwise, the window stays open with the changes.
  while (mode_ == EditorMode::File && !readOnly_ && Prop().ListModified && !WriteBookings(s_, 0)) {
    const MsgButton answer = s_.dialogs.Message(
        "The booking file could not be written: " + PathText(BookingFilePath(s_, 0)) + "\r" +
            "Retry: write it again\rCancel: keep the window open\rIgnore: close it and lose the changes",
        MsgIcon::Warning, MsgButton::Cancel | MsgButton::Retry | MsgButton::Ignore);
    if (answer == MsgButton::Ignore) break;
    if (answer != MsgButton::Retry) return false;
  }
  Finish();
  return true;
}

void BookingEditor::Finish() {
  if (!open_) return;
  ReleaseBookingFile(s_);
  s_.BookFormOpen = false;
  open_ = false;
}

bool BookingEditor::Delete() {
  focus = EditorFocus::None;
  if (mode_ == EditorMode::New) {
    s_.dialogs.Message("New booking - not yet saved. Quit without saving to remove", MsgIcon::Information,
                       MsgButton::OK);
    return false;
  }
  if (!node_) return false;
  Prop_Rec& p = Prop();
  const Book_Rec old = node_->Rec;
  const std::string line =
      Format("DELETE. Prop=%d Name=%s Start=", {n_, old.Surname.view()}) + FormatDateTime("yymmdd", old.StartD);
  if (!s_.BookFile.IsOpen() || s_.FileReadOnly || s_.BookFileProp != n_) {
    s_.dialogs.Message("QZ1080 Should not occur. File not locked - cannot delete", MsgIcon::Error, MsgButton::OK);
    WriteLog(s_, "QZ1080 File not locked. CANNOT " + line);
    return false;
  }
  if (s_.dialogs.Message("Delete Booking?\r\rProperty: " + p.PropName + "\r" + "Booking: " + old.Surname + "  " +
                             ShortDateText(old.StartD) + " to " + ShortDateText(old.EndD),
                         MsgIcon::Confirmation, MsgButton::Yes | MsgButton::No) != MsgButton::Yes)
    return false;

  if (mode_ != EditorMode::File) {
    const std::string deletions = ArchiveLogPath(p, "Deleted");
    if (!AppendBooking(s_, old, deletions)) {
      s_.dialogs.Message("Cannot log deletion to " + PathText(deletions) + "\r" +
                             "Booking not deleted, archive in use? Try again",
                         MsgIcon::Error, MsgButton::OK);
      return false;
    }
    if (old.Status != Cancelled) p.DatesChanged = 1;
    // Logged as deleted; the node itself is left as it is until it is unlinked, so a
    // failed append leaves nothing marked deleted in the booking file.
    Book_Rec gone = old;
    gone.Status = Deleted;
    gone.DateUpD = s_.clock.Now();
    if (!AppendBooking(s_, gone, ArchiveLogPath(p, "Changed"))) return false;
  }

  Book_Buffer* next = node_->Next ? node_->Next : node_->Prev;
  if (unwritten_ == node_) unwritten_ = nullptr;  // its failed save goes with it
  p.Bookings.Remove(node_);
  ++s_.BookingsFreed;
  node_ = nullptr;
  p.ListModified = 1;
  p.BookingChanged = 0;  // the fields were the deleted booking's

  if (mode_ == EditorMode::File) {
    if (next) {
      Display(next, false);
      panel[2] = "Deleted";
      return false;
    }
    s_.dialogs.Message("All records deleted. Closing", MsgIcon::Warning, MsgButton::OK);
    const std::string path = BookingFilePath(s_, 0);
    // Deleted while still held; a file that stays keeps every booking it had.
    if (!DeleteFileAt(path)) {
      WriteLog(s_, "Cannot delete file " + PathText(path));
      s_.dialogs.Message("Cannot delete file " + PathText(path), MsgIcon::Error, MsgButton::OK);
    }
    p.ListModified = 0;
    Finish();
    return true;
  }
  if (!WriteBookings(s_, n_)) {
    // Written by the next save; given up when the window closes without one.
    if (next) Display(next, false);
    return false;
  }
  s_.WebDataDue = true;
  Redraw();
  if (s_.bookingsWritten) s_.bookingsWritten(n_);
  WriteLog(s_, line);
  Finish();
  return true;
}

}  // namespace tb

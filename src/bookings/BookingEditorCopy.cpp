// Copies of the booking in a BookingEditor: temporary storage, another booking file,
// the clipboard, an e-mail, the stored booking form and the history search.

#include "bookings/BookingEditor.h"
#include "platform/Escape.h"
#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "platform/Text.h"
#include "store/BookingFile.h"
#include "store/Session.h"

namespace tb {

namespace {

std::string TempStoragePath(const Session& s) { return s.common.RootFolder + "~copy.bks"; }

}  // namespace

void TakeCustomer(BookingFields& f, const Book_Rec& r, int visits) {
  f.form.surname = r.Surname;
  f.fnames = r.Fnames;
  f.address = r.Address;
  f.phone = r.Phone;
  f.email = r.Email;
  f.special = r.Special;
  f.comments = r.Comments;
  f.source = r.Source;
  f.visits = std::to_string(visits);
  f.omitM = r.Has(OmitM);
  f.omitSName = r.Has(OmitSName);
  f.flagSp = r.Has(FlagSp);
  f.showAsLet = r.Has(ShowAsLet);
  f.form.noClean = r.Has(NoClean);
}

// The copies act on the saved booking, not on fields still being typed.
bool BookingEditor::SavedNodeNeeded() {
  if (node_) return true;
  s_.dialogs.Message("Cannot save booking - no data\rSave booking first?", MsgIcon::Error, MsgButton::OK);
  return false;
}

bool CopyToTempStorage(Session& s, const Book_Rec& r) {
  const std::string path = TempStoragePath(s);
  std::string bytes;
  AppendBookRecord(bytes, r);
  if (!WriteWholeFile(path, bytes)) {
    CannotWriteFileMessage(s, path);
    return false;
  }
  return true;
}

bool BookingEditor::CopyToTemp() {
  if (!SavedNodeNeeded() || !CopyToTempStorage(s_, node_->Rec)) return false;
  panel[2] = "Copied";
  return true;
}

bool BookingEditor::PasteFromTemp() {
  if (readOnly_) return false;
  std::string data;
  Book_Rec r;
  size_t pos = 0;
  bool textFault = false;
  if (!ReadWholeFile(TempStoragePath(s_), data) || !ParseBookRecord(data, pos, r, textFault) || textFault) {
    s_.dialogs.Beep();
    s_.dialogs.Beep();
    s_.dialogs.Message("No booking found in temporary storage", MsgIcon::Error, MsgButton::OK);
    return false;
  }
  if (s_.dialogs.Message("Replace data in the form (except rates and dates)?", MsgIcon::Confirmation,
                         MsgButton::Yes | MsgButton::No) != MsgButton::Yes)
    return false;
  TakeCustomer(fields, r, r.NumV);
  FieldChanged();
  panel[2] = "Pasted data into form.";
  return true;
}

bool BookingEditor::CopyToFile(const std::string& path) {
  if (!SavedNodeNeeded() || !AppendBooking(s_, node_->Rec, path)) return false;
  panel[2] = "Booking copied to " + PathText(path);
  return true;
}

std::string BookingEditor::ClipboardText() {
  if (!SavedNodeNeeded()) return {};
  const Book_Rec& r = node_->Rec;
  const std::string text = Trim(Trim(r.Fnames + " " + r.Surname) + "\r\n" + Trim(Trim(r.Address) + "\r\n" + r.Phone) +
                                "\r\n" + r.Email);
  panel[2] = "Name/Address copied to clipboard";
  return text;
}

bool BookingEditor::WriteEmail() {
  const std::string address = Trim(fields.email);
  if (address.empty()) {
    s_.dialogs.Message("No email address", MsgIcon::Error, MsgButton::OK);
    return false;
  }
  const BookingForm& f = fields.form;
  const std::string subject = Prop().PropName + ", " + FormatDateTime("dddd d mmmm", f.startD) + " - " +
                              FormatDateTime("dddd d mmmm yyyy", f.endD) + " ";
  return s_.processes.ShellOpen(MailtoLink(address, subject, "", ""));
}

BookingFormLookup BookingEditor::FindBookingForm() {
  if (mode_ == EditorMode::File) return {};
  return tb::FindBookingForm(s_, n_, fields.form.startD, fields.form.surname);
}

bool BookingEditor::IsChangeLog() const {
  return mode_ == EditorMode::File && MatchesWildcard(ExtractFileName(s_.DirectFile), "Changed.bks");
}

bool BookingEditor::MayExtractFromChangeLog() {
  if (!IsChangeLog()) return false;
  if (Changed()) {
    s_.dialogs.Message("Booking record changed.\rSave and rerun", MsgIcon::Error, MsgButton::OK);
    return false;
  }
  return true;
}

void BookingEditor::TakeFromHistory(Book_Buffer& found, bool ofThisProperty) {
  const Book_Rec& r = found.Rec;
  TakeCustomer(fields, r, r.NumV + 1);
  // A discount allowed in this window still stands for the new customer details.
  if (!discountComment_.empty()) AddComment(discountComment_);
  // The earlier booking stops getting mailshots: the customer is reached through this one.
  if (ofThisProperty) found.Rec.Set(OmitM, true);
  FieldChanged();
}

}  // namespace tb

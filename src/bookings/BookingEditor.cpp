#include "bookings/BookingEditor.h"

#include <algorithm>

#include "bookings/BookingSources.h"
#include "bookings/BookingStatus.h"
#include "platform/Cp1252.h"
#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "platform/Format.h"
#include "platform/Text.h"
#include "store/BookingFile.h"
#include "store/DiagnosticLog.h"
#include "store/Session.h"

namespace tb {

namespace {

int Nights(const BookingForm& f) {
  const double d = RoundHalfEven(f.endD - f.startD);
  return d > -1e6 && d < 1e6 ? static_cast<int>(d) : 0;  // damaged dates must not overflow
}

std::string DateTimeText(TDateTime dt) { return FormatDateTime("ddddd hh:nn:ss", dt); }

// The searchable texts of a booking, joined by a character nobody can type.
std::string SearchText(const Book_Rec& r) {
  const std::string sep(1, '\x01');
  return UpperCase1252(r.Surname + sep + r.Fnames + sep + r.Address + sep + r.Phone + sep + r.Email + sep + r.Special +
               sep + r.Comments + sep + r.Source);
}

int LineBreaks(const std::string& text) {
  int breaks = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') ++breaks;
    else if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) ++breaks;
  }
  return breaks;
}

// The first booking the let [start, end) would run into, walking in start order and
// skipping `self` and cancelled bookings; with its 1-based position.
std::pair<const Book_Buffer*, int> FirstReached(const BookingList& list, const Book_Buffer* self, TDateTime start) {
  int position = 0;
  for (const Book_Buffer* b = list.First(); b; b = b->Next) {
    ++position;
    if (b == self || b->Rec.Status == Cancelled) continue;
    if (b->Rec.EndD > start) return {b, position};
  }
  return {nullptr, 0};
}

}  // namespace

BookingEditor::BookingEditor(Session& s) : s_(s) {}

Prop_Rec& BookingEditor::Prop() const { return s_.Prop(n_); }

bool BookingEditor::Changed() const { return Prop().BookingChanged != 0; }

int BookingEditor::Position() const { return node_ ? Prop().Bookings.Position(node_) : 0; }

std::string BookingEditor::Caption() const {
  std::string caption = "Cotlyn Booking Window.";
  if (mode_ == EditorMode::File) return caption + "     File: " + PathText(s_.DirectFile);
  return caption + "   Property " + std::to_string(n_) + ": " + Prop().PropName;
}

BookingView BookingEditor::View() const {
  const Prop_Rec& p = Prop();
  const BookingForm& f = fields.form;
  BookingView v;
  if (mode_ == EditorMode::New && f.status == Hold) v.statusText = "New Booking - complete details";
  else if (f.status == Paid && !fields.balAck) v.statusText = "PAID";
  else v.statusText = StatusText(f.status);
  v.noDays = std::to_string(nights_);
  v.depositDetailsShown = f.depositPaid;
  v.balanceDetailsShown = f.balancePaid;
  const bool retDeposit = ChargeIndex(p, p.RetDepChg) != 0;
  v.refundShown = f.status == Cancelled || (f.status == Complete && retDeposit);
  v.refundDateShown = v.refundShown && fields.refundPaid;
  v.repayShown = f.status == RepayDeposit && retDeposit;
  v.showAsLetShown = f.status == Hold;
  v.totalEditable = f.status == Cancelled && !readOnly_;
  v.totalCaption = f.status == Cancelled ? "Can.Chg.--" : "TOTAL-----";
  v.navigationEnabled = mode_ != EditorMode::New && !Changed() && node_ != nullptr;
  v.findEnabled = v.navigationEnabled;
  v.findNextEnabled = v.findEnabled && !findText_.empty();
  v.readOnly = readOnly_;
  return v;
}

// ---- Opening ------------------------------------------------------------------------

void BookingEditor::Begin(int n, EditorMode mode) {
  n_ = n;
  mode_ = mode;
  readOnly_ = s_.ReadOnly || s_.FileReadOnly;
  open_ = true;
  s_.BookFormOpen = true;
  discountComment_.clear();
  unwritten_ = nullptr;
  panel = {};
  focus = EditorFocus::None;
}

// The caller holds the booking file for writing; when it does not, take it now (and
// note it: the flow that opened the window has a fault).
void BookingEditor::EnsureFileHeld() {
  if (mode_ == EditorMode::File || readOnly_) return;
  if (s_.BookFile.IsOpen() && s_.BookFileProp == n_) return;
  if (mode_ == EditorMode::New && !FileExists(BookingFilePath(s_, n_))) return;
  const int state = s_.BookFileProp;  // whose file the handle held: -1 for none
  const int position = Position();
  // A file changed meanwhile is read afresh: the node handed in is then gone, and the
  // booking at its place is the one to show.
  if (ReadBookings(s_, n_, true, false) && node_) node_ = Prop().Bookings.At(position);
  WriteLog(s_, Format("Should not occur. P=%d %s. BookForm.FormShow. File read. S=%d", {n_, Prop().PropName, state}));
  readOnly_ = s_.ReadOnly || s_.FileReadOnly;
}

void BookingEditor::OpenNew(int n, TDateTime start) {
  Begin(n, EditorMode::New);
  node_ = nullptr;
  EnsureFileHeld();
  Prop_Rec& p = Prop();
  fields = BookingFields{};
  BookingForm& f = fields.form;
  f.status = Hold;
  fields.dateB = s_.clock.Today();
  f.startD = start;
  f.endD = start + 7;
  // Up to the next booking when it begins within the week.
  if (const Book_Buffer* next = FirstReached(p.Bookings, nullptr, start).first;
      next && next->Rec.StartD > start && next->Rec.StartD < f.endD)
    f.endD = next->Rec.StartD;
  nights_ = Nights(f);
  const NewBookingResult charges = NewBookingCharges(s_, n, f);
  panel = {"New record", "Created " + DateTimeText(s_.clock.Now()), charges.Panel()};
  focus = EditorFocus::Surname;
  p.BookingChanged = p.DatesChanged = 0;
}

void BookingEditor::OpenEdit(int n, Book_Buffer* node) {
  Begin(n, EditorMode::Edit);
  node_ = node;
  EnsureFileHeld();
  if (node_) Display(node_, false);
  Prop().BookingChanged = Prop().DatesChanged = 0;
}

void BookingEditor::OpenFile() {
  Begin(0, EditorMode::File);
  node_ = Prop().Bookings.First();
  if (node_) Display(node_, false);
  Prop().BookingChanged = Prop().DatesChanged = 0;
}

void BookingEditor::Display(Book_Buffer* node, bool keepFocus) {
  node_ = node;
  const Prop_Rec& p = Prop();
  const Book_Rec& r = node->Rec;
  BookingFields out;
  BookingForm& f = out.form;
  f.status = r.Status;
  f.surname = r.Surname;
  f.rent = MoneyText(r.Rent);
  for (int i = 1; i <= 3; ++i) f.charge[static_cast<size_t>(i)] = MoneyText(r.Money(i));
  f.total = MoneyText(r.Total);
  f.deposit = MoneyText(r.Deposit);
  f.balance = MoneyText(r.Balance);
  f.reserved = r.Status == Reserved;
  if (r.Status == Cancelled) {
    f.depositPaid = r.DateD > kNotPaid;
    f.balancePaid = r.DateP > kNotPaid;
  } else {
    f.depositPaid = r.Status > Hold;
    f.balancePaid = r.Status > DepositPaid;
  }
  f.noClean = r.Has(NoClean);
  f.startD = r.StartD;
  f.endD = r.EndD;
  f.dateD = r.DateD;
  f.dateP = r.DateP;
  f.dateR = r.DateR == 0 ? kNotPaid : r.DateR;
  out.fnames = r.Fnames;
  out.address = r.Address;
  out.phone = r.Phone;
  out.email = r.Email;
  out.special = r.Special;
  out.comments = r.Comments;
  out.source = r.Source;
  out.visits = std::to_string(r.NumV);
  out.dateB = r.DateB;
  out.refund = MoneyText(r.Refund);
  if (r.Status == Cancelled) out.refundPaid = r.DateR > kNotPaid;
  else out.refundPaid = r.Status == Complete && ChargeIndex(p, p.RetDepChg) != 0;
  out.depAck = r.Has(DepAck);
  out.balAck = r.Has(BalAck);
  out.omitM = r.Has(OmitM);
  out.omitSName = r.Has(OmitSName);
  out.flagSp = r.Has(FlagSp);
  out.showAsLet = r.Has(ShowAsLet);
  fields = std::move(out);
  nights_ = Nights(f);
  panel = {Format("Rec %d of %d", {Position(), p.Bookings.Count()}), "Updated " + DateTimeText(r.DateUpD),
           DueText(r, p, s_.clock.Today())};
  focus = keepFocus ? EditorFocus::None : EditorFocus::Surname;
  // The fields are the node's again.
  Prop().BookingChanged = 0;
}

// ---- Navigation and find ---------------------------------------------------------------

bool BookingEditor::Go(Book_Buffer* to, const char* endText, bool beepAtEnd) {
  focus = EditorFocus::None;
  if (!View().navigationEnabled) return false;
  if (!to) {
    panel[2] = endText;
    if (beepAtEnd) s_.dialogs.Beep();
    return false;
  }
  Display(to, false);
  return true;
}

bool BookingEditor::Next() { return Go(node_ ? node_->Next : nullptr, "Bottom of File", true); }
bool BookingEditor::Prev() { return Go(node_ ? node_->Prev : nullptr, "Top of File", true); }

bool BookingEditor::Top() {
  if (!Go(Prop().Bookings.First(), "Top of File", false)) return false;
  panel[2] = "Top of File";
  return true;
}

bool BookingEditor::Bottom() {
  if (!Go(Prop().Bookings.Last(), "Bottom of File", false)) return false;
  panel[2] = "Bottom of File";
  return true;
}

bool BookingEditor::Find(const std::string& text, bool down) {
  focus = EditorFocus::None;
  if (!View().findEnabled || text.empty()) return false;
  const BookingList& list = Prop().Bookings;
  Book_Buffer* from;
  if (text != findText_) {
    // A new text searches the whole file from its start (or end when going up).
    findText_ = text;
    from = down ? list.First() : list.Last();
  } else {
    from = down ? node_->Next : node_->Prev;
  }
  findDown_ = down;
  if (!from) {
    panel[2] = down ? "Bottom of File" : "Top of File";
    s_.dialogs.Beep();
    return false;
  }
  const std::string wanted = UpperCase1252(text);
  for (Book_Buffer* b = from; b; b = down ? b->Next : b->Prev) {
    if (SearchText(b->Rec).find(wanted) != std::string::npos) {
      Display(b, true);
      return true;
    }
  }
  s_.dialogs.Message("String " + text + " not found", MsgIcon::Warning, MsgButton::OK);
  return false;
}

bool BookingEditor::FindNext() { return Find(findText_, findDown_); }

// ---- Field changes ------------------------------------------------------------------------

void BookingEditor::FieldChanged() {
  if (readOnly_) return;
  Prop().BookingChanged = 1;
}

void BookingEditor::SurnameChanged() {
  FieldChanged();
  BookingForm& f = fields.form;
  // A new reservation given a customer's name is a waiting-list booking with charges.
  if (mode_ == EditorMode::New && f.status == Reserved && TrimView(f.surname) != kReservedSurname)
    RecomputeTotals(s_.dialogs, Prop(), f);
}

bool BookingEditor::AddressChanged(const std::string& previous) {
  focus = EditorFocus::None;
  // Labels and envelopes have room for five lines, and a fifth line must not end in
  // a break.
  if (LineBreaks(fields.address) >= static_cast<int>(kAddressLines)) {
    fields.address = previous;
    s_.dialogs.Beep();
    panel[2] = "Reached max. number of lines";
    return false;
  }
  FieldChanged();
  return true;
}

std::string* BookingEditor::Amount(AmountField which) {
  BookingForm& f = fields.form;
  switch (which) {
    case AmountField::Rent: return &f.rent;
    case AmountField::Charge1: return &f.charge[1];
    case AmountField::Charge2: return &f.charge[2];
    case AmountField::Charge3: return &f.charge[3];
    case AmountField::Total: return &f.total;
    case AmountField::Deposit: return &f.deposit;
  }
  return &f.rent;
}

void BookingEditor::AmountChanged(AmountField which) {
  FieldChanged();
  const Prop_Rec& p = Prop();
  BookingForm& f = fields.form;
  double total = 0, deposit = 0;
  switch (which) {
    case AmountField::Total:
      // A cancelled booking's cancellation charge: what is not kept is refunded.
      if (f.status == Cancelled && ParseAmount(f.total, total) && total >= 0 && total <= PaidByDates())
        fields.refund = MoneyText(PaidByDates() - total);
      return;
    case AmountField::Deposit:
      if (ParseAmount(f.total, total) && ParseAmount(f.deposit, deposit)) f.balance = MoneyText(total - deposit);
      return;
    default:
      break;
  }
  if (!RecomputeTotals(s_.dialogs, p, f)) return;
  const int retDeposit = ChargeIndex(p, p.RetDepChg);
  const bool isRetDeposit = retDeposit != 0 && Amount(which) == &f.charge[static_cast<size_t>(retDeposit)];
  // What was paid beyond the new total goes back.
  if (f.status == Complete && isRetDeposit && ParseAmount(f.total, total))
    fields.refund = MoneyText(PaidByDates() - total);
}

bool BookingEditor::AmountLeft(AmountField which) {
  double value = 0;
  if (which == AmountField::Total && fields.form.status == Cancelled) return CancellationChargeLeft();
  if (ParseAmount(*Amount(which), value) && value >= 0) return true;
  s_.dialogs.Message("Invalid amount", MsgIcon::Error, MsgButton::OK);
  focus = static_cast<EditorFocus>(static_cast<int>(EditorFocus::Rent) + static_cast<int>(which));
  return false;
}

void BookingEditor::ReservedTicked() {
  if (tb::ReservedTickChanged(s_, n_, fields.form)) FieldChanged();
}
void BookingEditor::DepositTicked() {
  if (tb::DepositTickChanged(s_, n_, fields.form)) FieldChanged();
}
void BookingEditor::BalanceTicked() {
  if (tb::BalanceTickChanged(s_, n_, fields.form)) FieldChanged();
}

void BookingEditor::DatesPicked() {
  const int nights = Nights(fields.form);
  if (nights == nights_) return;
  nights_ = nights;
  FieldChanged();
  panel[2] = ComputeRent(s_, n_, fields.form).message;
  if (panel[2].empty()) panel[2] = "Dates changed - charges recalculated";
}

std::string BookingEditor::CheckDates() {
  const BookingForm& f = fields.form;
  if (!(f.endD - f.startD >= 1)) return "Error: Booking end date must be later than start date";
  if (f.status == Cancelled) return {};
  const auto [b, position] = FirstReached(Prop().Bookings, mode_ == EditorMode::New ? nullptr : node_, f.startD);
  // The list is in start order: the first booking still running at the start decides.
  if (!b || !(f.endD > b->Rec.StartD)) return {};
  const std::string start = ShortDateText(b->Rec.StartD);
  WriteLog(s_, Format("DATE OVERLAP. P=%d Booking=%d starts %s", {n_, position, start}));
  return Format("Error - dates overlap booking %d which starts %s", {position, start});
}

bool BookingEditor::DateLeft(EditorFocus picker) {
  focus = EditorFocus::None;
  if (fields.form.status == Cancelled) return true;
  const std::string error = CheckDates();
  if (!error.empty()) {
    s_.dialogs.Message(error, MsgIcon::Error, MsgButton::OK);
    focus = picker;
    return false;
  }
  Prop().DatesChanged = 1;
  return true;
}

std::vector<std::string> BookingEditor::SourceList() const { return tb::SourceList(Prop().Bookings); }

}  // namespace tb

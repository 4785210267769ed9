#pragma once
// Everything the booking window decides, without the window: one editing session on
// one booking of property n (n = 0 for a booking file named on the command line).
// The window copies its controls into `fields`, calls an operation, and copies
// `fields`, `panel`, View() and `focus` back. Messages and questions go through the
// session's Dialogs; nothing here knows a widget.

#include <array>
#include <string>
#include <vector>

#include "bookings/BookingDocuments.h"
#include "bookings/Cancellation.h"
#include "bookings/Charges.h"
#include "bookings/Discount.h"
#include "bookings/Surcharge.h"
#include "store/BookingList.h"

namespace tb {

class Session;
struct Prop_Rec;

enum class EditorMode { New, Edit, File };

// The control that should take the focus after an operation (None: leave it).
enum class EditorFocus { None, Surname, Address, StartDate, EndDate, Rent, Charge1, Charge2, Charge3, Total, Deposit };

// The amount fields the user types into.
enum class AmountField { Rent, Charge1, Charge2, Charge3, Total, Deposit };

// What may be typed into the window's texts (bytes), and the address's lines: labels
// and envelopes have room for five.
inline constexpr size_t kFnamesLimit = 60, kAddressLimit = 140, kAddressLines = 5, kPhoneLimit = 56,
                        kEmailLimit = 50, kCommentsLimit = 800, kSourceLimit = 25;

// The window's fields. `form` holds the money, the status, the dates, the surname and
// the ticks the charge rules work on; the rest are the other texts and ticks.
struct BookingFields {
  BookingForm form;
  std::string fnames, address, phone, email, special, comments, source;
  std::string visits = "1";  // digits
  TDateTime dateB = 0;
  std::string refund = "0";
  bool refundPaid = false;
  bool depAck = false, balAck = false;
  bool omitM = false, omitSName = false, flagSp = false, showAsLet = false;  // noClean is in form
};

// The customer's details and option ticks of a booking, not its dates or money.
void TakeCustomer(BookingFields& f, const Book_Rec& r, int visits);
// Writes booking r alone to the temporary storage "~copy.bks" in the root folder, from
// which "Paste booking from temp store" takes it; false (the message shown) when it
// cannot be written.
bool CopyToTempStorage(Session& s, const Book_Rec& r);

// What the window shows besides the fields, worked out from them and the session.
struct BookingView {
  std::string statusText;
  std::string noDays;
  bool depositDetailsShown = false;  // the deposit's paid date and Ack
  bool balanceDetailsShown = false;  // the balance's paid date and Ack
  bool refundShown = false;          // refund amount and tick
  bool refundDateShown = false;      // the refund's date, once it is paid
  bool repayShown = false;           // the Repay button
  bool showAsLetShown = false;
  bool totalEditable = false;  // a cancelled booking's total is its cancellation charge
  std::string totalCaption;
  bool navigationEnabled = false;
  bool findEnabled = false;
  bool findNextEnabled = false;
  bool readOnly = false;
};

class BookingEditor {
 public:
  explicit BookingEditor(Session& s);

  // Opening. Each marks the window open (Session::BookFormOpen), checks that the
  // booking file is held, fills the fields and clears BookingChanged and DatesChanged.
  void OpenNew(int n, TDateTime start);
  void OpenEdit(int n, Book_Buffer* node);
  void OpenFile();  // booking-file mode: property 0, its first booking

  BookingFields fields;
  std::array<std::string, 3> panel;       // status bar panels 1..3
  EditorFocus focus = EditorFocus::None;  // set by the last operation

  BookingView View() const;
  EditorMode Mode() const { return mode_; }
  int Property() const { return n_; }
  bool ReadOnly() const { return readOnly_; }
  Book_Buffer* Node() const { return node_; }
  int Position() const;
  bool Changed() const;  // Prop_Rec::BookingChanged
  const std::string& FindText() const { return findText_; }
  std::string Caption() const;

  // Navigation; false when nothing moved (the end was reached or navigation is off).
  bool Next();
  bool Prev();
  bool Top();
  bool Bottom();
  // Searches one booking on from the current one (a new text starts again at the
  // first booking, or the last when searching up); true when found and shown.
  bool Find(const std::string& text, bool down);
  bool FindNext();

  // Field changes, called after the window copied the new value into `fields`.
  void FieldChanged();    // any text or tick without a rule of its own
  void SurnameChanged();
  // False when the address would get too many lines: the previous text is restored.
  bool AddressChanged(const std::string& previous);
  void AmountChanged(AmountField which);
  // Leaving an amount field: false ("Invalid amount") when it is not a number >= 0.
  bool AmountLeft(AmountField which);
  void ReservedTicked();
  void DepositTicked();
  void BalanceTicked();
  // A date picker changed (not while its calendar is down).
  void DatesPicked();
  // The focus left a date picker for another control than the pickers and Quit;
  // false when the dates are refused (the focus goes back to `picker`).
  bool DateLeft(EditorFocus picker);
  // "" when the dates are acceptable, else the error text (an overlap is also logged).
  std::string CheckDates();

  // Save with the caller's tag ("SAVE", "EXIT", "BF-CLOSE"); true when saved or
  // nothing needed saving. A save that wrote the file calls Session::bookingsWritten,
  // through which the main window refreshes the overdue list.
  bool Save(const std::string& tag);
  bool SaveExit();  // true: the window closes (then call Close)
  bool Quit();      // true: the window closes (then call Close)
  // Asks about unsaved changes, writes the file in booking-file mode and lets the
  // booking file go. False: the window stays open.
  bool Close();
  // True when the window must now close (everything is already let go: do not call
  // Close). False: the window stays open. A deletion written calls bookingsWritten too.
  bool Delete();

  // Temporary storage ("~copy.bks" in the root folder) and the other copies.
  bool CopyToTemp();
  bool PasteFromTemp();
  bool CopyToFile(const std::string& path);
  std::string ClipboardText();  // "" when there is nothing to copy
  bool WriteEmail();
  std::vector<std::string> SourceList() const;
  // Show Booking Form: where the stored form is, or that it is missing.
  BookingFormLookup FindBookingForm();
  // "Extract data from change log": only on a change log opened as a booking file, and
  // not while its booking has unsaved changes (with the message).
  bool IsChangeLog() const;
  bool MayExtractFromChangeLog();
  // The history search found a booking: its customer details are taken over.
  void TakeFromHistory(Book_Buffer& found, bool ofThisProperty);

  // "Cancel booking": false, with its message, when this booking cannot be cancelled now.
  bool MayCancel();
  double AmountPaid() const { return tb::AmountPaid(fields.form); }
  enum class CancelResult { Unchanged, Cancelled, Deleted };
  // The cancellation dialog's choice applied to the fields (Deleted: the window must
  // close, everything is let go).
  CancelResult Cancel(CancelOption option, double charge);
  // The refund's "Paid" tick changed (the fields hold its new state).
  void RefundTicked();
  // "Repay": the returnable deposit repaid today, less what is retained.
  bool Repay();
  // "calculate" beside the surcharge: false, with its message, in a status that cannot
  // take one.
  bool MaySurcharge();
  void ApplySurcharge(const SurchargeModel& m);
  // A line of the discount calculator chosen: asks, then takes it off the rent.
  bool ApplyDiscount(const DiscountLine& line);
  std::string Currency() const;

 private:
  Prop_Rec& Prop() const;
  void Begin(int n, EditorMode mode);
  void EnsureFileHeld();
  void Display(Book_Buffer* node, bool keepFocus);
  bool Go(Book_Buffer* to, const char* endText, bool beepAtEnd);
  bool SavedNodeNeeded();
  bool FillRecord(Book_Rec& rec) const;
  void AddComment(const std::string& line);
  // The deposit and the balance that have paid dates.
  double PaidByDates() const;
  // Whether the booking's fee is more than a cancellation charge would keep.
  bool FeeExceeds(double charge) const;
  // "" when a cancelled booking's charge can stand, else the message.
  std::string CancellationChargeError() const;
  // A cancelled booking's refund: what was paid less the charge.
  void SettleRefund();
  bool CancellationChargeLeft();
  // Puts the list back as it was before changes that could not be written, when the
  // user gives them up.
  void Discard();
  void Redraw();
  void Finish();
  std::string* Amount(AmountField which);

  Session& s_;
  int n_ = 0;
  EditorMode mode_ = EditorMode::New;
  bool readOnly_ = false;
  bool open_ = false;
  Book_Buffer* node_ = nullptr;
  int nights_ = 0;
  std::string findText_;
  std::string discountComment_;  // added again when a history search replaces the comments
  bool findDown_ = true;
  // Booking-file mode: the booking as it was before a save whose write failed (its
  // other changes, deletions among them, are written when the window closes).
  Book_Buffer* unwritten_ = nullptr;
  Book_Rec beforeUnwritten_;
};

}  // namespace tb

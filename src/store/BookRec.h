#pragma once
// One booking: 144 bytes of fixed fields and 9 texts, as the booking files hold it.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/DateTime.h"
#include "store/BookText.h"

namespace tb {

// Status codes. 7 and 8 are only ever shown (never stored); 10 is only in the change log.
enum BookStatus : uint8_t {
  Free = 0,
  Reserved = 1,
  Hold = 2,
  DepositPaid = 3,
  Paid = 4,
  RepayDeposit = 5,
  Complete = 6,
  DepositOverdue = 7,
  BalanceOverdue = 8,
  Cancelled = 9,
  Deleted = 10,
};
inline constexpr int kStatusCount = 11;

// Bits of Book_Rec::Flag.
enum BookFlag : uint8_t {
  OmitM = 1,      // leave out of mailshots
  DepAck = 2,     // deposit acknowledged
  BalAck = 4,     // balance acknowledged
  FlagSp = 8,     // the let has special instructions
  OmitSName = 16, // letters use first names only
  ShowAsLet = 32, // a hold shown as unavailable on the web
  NoClean = 64,   // no clean required after the let
};

// The short tag used in log lines ("F", "Res", "H", ...) and the display text.
const char* StatusTag(int status);
const char* StatusText(int status);

// A payment date of 1.0 means "not paid".
inline constexpr TDateTime kNotPaid = 1.0;

struct Book_Rec {
  uint8_t Status = Hold;
  uint8_t Flag = 0;
  uint16_t NumV = 1;
  std::array<uint8_t, 4> Spare1{};  // reserved, carried unchanged
  double Rent = 0;
  double Chg1 = 0, Chg2 = 0, Chg3 = 0;
  double Spare2 = 0;  // reserved money slot, carried unchanged
  double Total = 0;
  double Deposit = 0;
  double Balance = 0;
  double Refund = 0;
  TDateTime StartD = 0;
  TDateTime EndD = 0;
  TDateTime DateB = 0;
  TDateTime DateD = kNotPaid;
  TDateTime DateP = kNotPaid;
  TDateTime DateR = kNotPaid;
  TDateTime DateUpD = 0;
  std::array<uint8_t, 8> Spare3{};  // reserved, carried unchanged

  BookText Surname;
  BookText Fnames;
  BookText SpareText;  // reserved, carried unchanged
  BookText Address;    // lines separated by CR LF
  BookText Phone;
  BookText Email;
  BookText Special;
  BookText Comments;
  BookText Source;

  // Rent, Chg1, Chg2, Chg3, Spare2 as an array 0..4 (the charge roles index it).
  double& Money(int i);
  double Money(int i) const;
  bool Has(BookFlag f) const { return (Flag & f) != 0; }
  void Set(BookFlag f, bool on) { Flag = static_cast<uint8_t>(on ? (Flag | f) : (Flag & ~f)); }
};

// The nine texts in file order.
template <typename R>  // Book_Rec or const Book_Rec
auto BookTexts(R& r) {
  return std::array{&r.Surname, &r.Fnames, &r.SpareText, &r.Address, &r.Phone,
                    &r.Email,   &r.Special, &r.Comments, &r.Source};
}

// The same booking, byte for byte as a file would hold it.
bool SameBooking(const Book_Rec& a, const Book_Rec& b);

inline constexpr size_t kBookFixedSize = 144;
inline constexpr size_t kBookTextCount = 9;
inline constexpr size_t kBookMinSize = kBookFixedSize + 2 * kBookTextCount;  // 162

// The record as the file holds it: 144 bytes, then 9 texts with 16-bit lengths.
// Texts longer than 65535 bytes are cut (the editors keep them far shorter).
void AppendBookRecord(std::string& out, const Book_Rec& r);
size_t BookRecordSize(const Book_Rec& r);
// Reads one record at pos. Returns false when the 144 bytes do not fit; textFault is
// set when a text's length and bytes do not fit in what remains (that text and the
// ones after it are then empty). pos moves past what was read.
bool ParseBookRecord(const std::string& data, size_t& pos, Book_Rec& r, bool& textFault);
// The same, but the texts point into data instead of copying it: for a record that
// lives no longer than data.
bool ParseBookRecordViews(std::string_view data, size_t& pos, Book_Rec& r, bool& textFault);

}  // namespace tb

#include "store/BookRec.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>
#include <type_traits>

namespace tb {

namespace {

const char* const kTags[kStatusCount] = {"F", "Res", "H", "D", "Pd", "Repay", "Comp", "DepO", "BalO", "Can", "Del"};
const char* const kTexts[kStatusCount] = {"Free",     "Reserved",        "Hold",           "Deposit Paid",
                                          "Paid, sent instructions", "Repay Deposit", "Complete",
                                          "Deposit overdue", "Balance overdue", "Cancelled", "Deleted"};

// The fixed fields sit in memory exactly as in the file (little-endian, no padding),
// so the 144 bytes are copied in one piece. These checks keep it that way.
static_assert(std::is_standard_layout_v<Book_Rec>);
static_assert(offsetof(Book_Rec, Status) == 0 && offsetof(Book_Rec, Flag) == 1 && offsetof(Book_Rec, NumV) == 2 &&
              offsetof(Book_Rec, Spare1) == 4 && offsetof(Book_Rec, Rent) == 8 && offsetof(Book_Rec, Chg1) == 16 &&
              offsetof(Book_Rec, Chg2) == 24 && offsetof(Book_Rec, Chg3) == 32 && offsetof(Book_Rec, Spare2) == 40 &&
              offsetof(Book_Rec, Total) == 48 && offsetof(Book_Rec, Deposit) == 56 &&
              offsetof(Book_Rec, Balance) == 64 && offsetof(Book_Rec, Refund) == 72 &&
              offsetof(Book_Rec, StartD) == 80 && offsetof(Book_Rec, EndD) == 88 && offsetof(Book_Rec, DateB) == 96 &&
              offsetof(Book_Rec, DateD) == 104 && offsetof(Book_Rec, DateP) == 112 &&
              offsetof(Book_Rec, DateR) == 120 && offsetof(Book_Rec, DateUpD) == 128 &&
              offsetof(Book_Rec, Spare3) == 136 && offsetof(Book_Rec, Surname) >= kBookFixedSize);
static_assert(std::endian::native == std::endian::little, "the files are little-endian");
// A list holds years of records: each is its file bytes and a word per text.
static_assert(sizeof(Book_Rec) == kBookFixedSize + kBookTextCount * sizeof(void*));

}  // namespace

const char* StatusTag(int status) { return status >= 0 && status < kStatusCount ? kTags[status] : "?"; }
const char* StatusText(int status) { return status >= 0 && status < kStatusCount ? kTexts[status] : "?"; }

double& Book_Rec::Money(int i) {
  switch (i) {
    case 1: return Chg1;
    case 2: return Chg2;
    case 3: return Chg3;
    case 4: return Spare2;
    default: return Rent;
  }
}

double Book_Rec::Money(int i) const { return const_cast<Book_Rec*>(this)->Money(i); }

bool SameBooking(const Book_Rec& a, const Book_Rec& b) {
  if (std::memcmp(&a, &b, kBookFixedSize) != 0) return false;
  const auto ta = BookTexts(a), tb = BookTexts(b);
  for (size_t i = 0; i < ta.size(); ++i)
    if (*ta[i] != *tb[i]) return false;
  return true;
}

size_t BookRecordSize(const Book_Rec& r) {
  size_t size = kBookMinSize;
  for (const BookText* t : BookTexts(r)) size += std::min<size_t>(t->size(), 0xFFFF);
  return size;
}

void AppendBookRecord(std::string& out, const Book_Rec& r) {
  out.append(reinterpret_cast<const char*>(&r), kBookFixedSize);
  for (const BookText* t : BookTexts(r)) {
    const uint16_t len = static_cast<uint16_t>(std::min<size_t>(t->size(), 0xFFFF));
    out.push_back(static_cast<char>(len & 0xFF));
    out.push_back(static_cast<char>(len >> 8));
    out.append(t->data(), len);
  }
}

bool ParseBookRecordViews(std::string_view data, size_t& pos, Book_Rec& r, bool& textFault) {
  textFault = false;
  if (pos > data.size() || data.size() - pos < kBookFixedSize) return false;
  std::memcpy(reinterpret_cast<char*>(&r), data.data() + pos, kBookFixedSize);
  // Each text's place hangs on the length before it: these loads are the critical
  // path, so they are single 16-bit loads from a pointer kept in a register.
  const char* const end = data.data() + data.size();
  const char* at = data.data() + pos + kBookFixedSize;
  for (BookText* t : BookTexts(r)) {
    uint16_t len = 0;
    const bool fits = end - at >= 2 && (std::memcpy(&len, at, 2), end - at - 2 >= len);
    if (!fits) {  // this text and the ones after it stay empty
      textFault = true;
      at = end;
      t->Release();
      continue;
    }
    t->Point(at);
    at += 2 + len;
  }
  pos = static_cast<size_t>(at - data.data());
  return true;
}

bool ParseBookRecord(const std::string& data, size_t& pos, Book_Rec& r, bool& textFault) {
  const bool read = ParseBookRecordViews(data, pos, r, textFault);
  // Owned from here on: the record may outlive data.
  for (BookText* t : BookTexts(r)) *t = t->view();
  return read;
}

}  // namespace tb

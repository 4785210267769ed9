#pragma once
// One of a booking's nine texts (Windows-1252 bytes), held in one word.
//
// A list read from a booking file keeps its records' texts as the file has them (a
// 16-bit length, then the bytes) in blocks of its own, and each text points there:
// years of bookings are read without a heap block per text, and a record stays small.
// Every other text owns its bytes: whatever is assigned, and every copy and every move
// of a text that points, so a record taken out of a list stays whole after the list
// is read again or freed. Only the record parsers and the list make a text that points.
// Owners' records hold their texts the same way.

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

namespace tb {

struct Book_Rec;
class BookingList;

class BookText {
 public:
  BookText() noexcept = default;
  explicit BookText(std::string_view s) { Assign(s); }
  BookText(const BookText& other) { Assign(other.view()); }
  BookText(BookText&& other) { Take(other); }
  ~BookText() { Release(); }

  BookText& operator=(const BookText& other) { return *this = other.view(); }
  BookText& operator=(BookText&& other);
  BookText& operator=(std::string_view s) {
    Assign(s);
    return *this;
  }
  BookText& operator=(const std::string& s) { return *this = std::string_view(s); }
  BookText& operator=(const char* s) { return *this = std::string_view(s); }
  BookText& operator+=(std::string_view s);
  void clear() noexcept;

  size_t size() const noexcept {
    if (Owns()) return Block()->size;
    const auto* p = reinterpret_cast<const unsigned char*>(word_);
    return p ? static_cast<size_t>(p[0] | (p[1] << 8)) : 0;
  }
  const char* data() const noexcept {
    if (Owns()) return reinterpret_cast<const char*>(Block() + 1);
    return word_ ? reinterpret_cast<const char*>(word_) + 2 : "";
  }
  bool empty() const noexcept { return size() == 0; }
  const char* begin() const noexcept { return data(); }
  const char* end() const noexcept { return data() + size(); }
  char operator[](size_t i) const noexcept { return data()[i]; }
  std::string_view view() const noexcept { return {data(), size()}; }
  std::string str() const { return std::string(view()); }
  // Searched and cut as a std::string is.
  static constexpr size_t npos = std::string_view::npos;
  size_t find(std::string_view s, size_t pos = 0) const noexcept { return view().find(s, pos); }
  size_t rfind(std::string_view s, size_t pos = npos) const noexcept { return view().rfind(s, pos); }
  bool starts_with(std::string_view s) const noexcept { return view().starts_with(s); }
  bool ends_with(std::string_view s) const noexcept { return view().ends_with(s); }
  std::string substr(size_t pos, size_t n = npos) const { return std::string(view().substr(pos, n)); }
  operator std::string_view() const noexcept { return view(); }
  operator std::string() const { return str(); }

  friend bool operator==(const BookText& a, const BookText& b) noexcept { return a.view() == b.view(); }
  friend bool operator==(const BookText& a, std::string_view b) noexcept { return a.view() == b; }
  friend std::string operator+(const BookText& a, const BookText& b) { return Join(a.view(), b.view()); }
  friend std::string operator+(const BookText& a, std::string_view b) { return Join(a.view(), b); }
  friend std::string operator+(std::string_view a, const BookText& b) { return Join(a, b.view()); }

 private:
  friend bool ParseBookRecordViews(std::string_view data, size_t& pos, Book_Rec& r, bool& textFault);
  friend class BookingList;
  friend struct OwnerTextViews;

  // A text's own bytes follow this header in one heap block.
  struct Owned {
    uint32_t size;
    uint32_t capacity;
  };
  // word_: 0 for an empty text; with kOwnedBit, the address of an Owned block; else the
  // address of a 16-bit little-endian length followed by the bytes, kept by someone
  // else. User-space addresses never have the top bit set.
  static constexpr uintptr_t kOwnedBit = uintptr_t{1} << 63;
  static_assert(sizeof(uintptr_t) == 8, "the owned mark is the top bit of a 64-bit address");

  bool Owns() const noexcept { return (word_ & kOwnedBit) != 0; }
  Owned* Block() const noexcept { return reinterpret_cast<Owned*>(word_ & ~kOwnedBit); }
  char* OwnBytes() const noexcept { return reinterpret_cast<char*>(Block() + 1); }
  // Points at a length and its bytes that outlive this text.
  void Point(const char* lengthAt) noexcept {
    Release();
    word_ = reinterpret_cast<uintptr_t>(lengthAt);
  }
  // A text pointing into bytes that were copied from `from` to `to` points into the copy.
  void Rebase(const char* from, const char* to) noexcept {
    if (word_ && !Owns()) word_ = reinterpret_cast<uintptr_t>(to + (reinterpret_cast<const char*>(word_) - from));
  }
  static uintptr_t Allocate(size_t capacity);
  void Assign(std::string_view s);
  void Take(BookText& other);
  void Release() noexcept {
    if (Owns()) Free();
    word_ = 0;
  }
  void Free() noexcept;
  static std::string Join(std::string_view a, std::string_view b);

  uintptr_t word_ = 0;
};

std::ostream& operator<<(std::ostream& out, const BookText& t);

}  // namespace tb

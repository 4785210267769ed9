#include "store/BookText.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <stdexcept>

namespace tb {

namespace {

constexpr size_t kMaxSize = 0xFFFFFFF0;

}  // namespace

// An empty block for `capacity` bytes, marked as owned.
uintptr_t BookText::Allocate(size_t capacity) {
  if (capacity > kMaxSize) throw std::length_error("booking text too long");
  auto* block = static_cast<Owned*>(::operator new(sizeof(Owned) + capacity));
  block->size = 0;
  block->capacity = static_cast<uint32_t>(capacity);
  const auto word = reinterpret_cast<uintptr_t>(block);
  if (word & kOwnedBit) std::abort();  // not a user-space address: it would read as a view
  return word | kOwnedBit;
}

void BookText::Free() noexcept { ::operator delete(Block()); }

// s may lie inside this text's own bytes (an assignment of a part of itself).
void BookText::Assign(std::string_view s) {
  if (Owns() && s.size() <= Block()->capacity) {
    if (!s.empty()) std::memmove(OwnBytes(), s.data(), s.size());
    Block()->size = static_cast<uint32_t>(s.size());
    return;
  }
  if (s.empty()) {
    Release();
    return;
  }
  const uintptr_t word = Allocate(s.size());
  auto* block = reinterpret_cast<Owned*>(word & ~kOwnedBit);
  std::memcpy(block + 1, s.data(), s.size());
  block->size = static_cast<uint32_t>(s.size());
  Release();
  word_ = word;
}

void BookText::Take(BookText& other) {
  if (!other.Owns()) {
    Assign(other.view());
    return;
  }
  Release();
  word_ = other.word_;
  other.word_ = 0;
}

BookText& BookText::operator=(BookText&& other) {
  if (this != &other) Take(other);
  return *this;
}

BookText& BookText::operator+=(std::string_view s) {
  if (s.empty()) return *this;
  const size_t old = size();
  if (s.size() > kMaxSize - old) throw std::length_error("booking text too long");
  const size_t size = old + s.size();
  if (Owns() && size <= Block()->capacity) {
    std::memmove(OwnBytes() + old, s.data(), s.size());
    Block()->size = static_cast<uint32_t>(size);
    return *this;
  }
  // Both copied before the old bytes go: s may be this text itself.
  const uintptr_t word = Allocate(std::min(std::max(size, 2 * old), kMaxSize));
  auto* block = reinterpret_cast<Owned*>(word & ~kOwnedBit);
  char* bytes = reinterpret_cast<char*>(block + 1);
  std::memcpy(bytes, data(), old);
  std::memcpy(bytes + old, s.data(), s.size());
  block->size = static_cast<uint32_t>(size);
  Release();
  word_ = word;
  return *this;
}

void BookText::clear() noexcept {
  if (Owns()) Block()->size = 0;
  else word_ = 0;
}

std::string BookText::Join(std::string_view a, std::string_view b) {
  std::string out;
  out.reserve(a.size() + b.size());
  out.append(a);
  out.append(b);
  return out;
}

std::ostream& operator<<(std::ostream& out, const BookText& t) { return out << t.view(); }

}  // namespace tb

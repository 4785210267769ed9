#include "store/BookingList.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

namespace tb {

BookingList::BookingList(const BookingList& other) {
  for (const Book_Buffer* b = other.first_; b; b = b->Next) Append(b->Rec);
}

BookingList& BookingList::operator=(const BookingList& other) {
  if (this != &other) {
    BookingList copy(other);
    *this = std::move(copy);
  }
  return *this;
}

BookingList::BookingList(BookingList&& other) noexcept { *this = std::move(other); }

BookingList& BookingList::operator=(BookingList&& other) noexcept {
  if (this != &other) {
    Clear();
    first_ = std::exchange(other.first_, nullptr);
    last_ = std::exchange(other.last_, nullptr);
    count_ = std::exchange(other.count_, 0);
    chunks_ = std::move(other.chunks_);
    other.chunks_.clear();
    free_ = std::exchange(other.free_, nullptr);
    textBlocks_ = std::move(other.textBlocks_);
    other.textBlocks_.clear();
    textFree_ = std::exchange(other.textFree_, nullptr);
    textLeft_ = std::exchange(other.textLeft_, 0);
  }
  return *this;
}

Book_Buffer* BookingList::NewNode() {
  if (free_) {
    Book_Buffer* node = free_;
    free_ = node->Next;
    return node;
  }
  if (chunks_.empty() || chunks_.back().used == kChunkSize) chunks_.emplace_back();
  Chunk& c = chunks_.back();
  return new (c.Node(c.used++)) Book_Buffer;
}

BookingList::Chunk::Chunk()
    : storage(static_cast<std::byte*>(::operator new(kChunkSize * sizeof(Book_Buffer),
                                                       std::align_val_t{alignof(Book_Buffer)}))) {}

BookingList::Chunk::Chunk(Chunk&& other) noexcept
    : storage(std::exchange(other.storage, nullptr)), used(std::exchange(other.used, 0)) {}

BookingList::Chunk::~Chunk() {
  if (!storage) return;
  for (size_t i = 0; i < used; ++i) Node(i)->~Book_Buffer();
  ::operator delete(storage, std::align_val_t{alignof(Book_Buffer)});
}

void BookingList::Link(Book_Buffer* node, Book_Buffer* before) {
  node->Next = before;
  node->Prev = before ? before->Prev : last_;
  if (node->Prev) node->Prev->Next = node;
  else first_ = node;
  if (before) before->Prev = node;
  else last_ = node;
  ++count_;
}

Book_Buffer* BookingList::Append(Book_Rec rec) { return InsertBefore(nullptr, std::move(rec)); }

Book_Buffer* BookingList::AppendEmpty() {
  Book_Buffer* node = NewNode();
  Link(node, nullptr);
  return node;
}

const char* BookingList::KeepTexts(std::string_view bytes) {
  if (bytes.size() > textLeft_) {
    const size_t size = std::max(bytes.size(), kTextBlockSize);
    textBlocks_.push_back({std::make_unique_for_overwrite<char[]>(size), size});
    textFree_ = textBlocks_.back().bytes.get();
    textLeft_ = size;
  }
  char* kept = textFree_;
  std::memcpy(kept, bytes.data(), bytes.size());
  textFree_ += bytes.size();
  textLeft_ -= bytes.size();
  return kept;
}

Book_Buffer* BookingList::AppendFromFile(std::string_view data, size_t& pos, bool& textFault) {
  textFault = false;
  if (pos > data.size() || data.size() - pos < kBookFixedSize) return nullptr;
  Book_Buffer* node = AppendEmpty();
  Book_Rec& r = node->Rec;
  const size_t texts = pos + kBookFixedSize;
  ParseBookRecordViews(data, pos, r, textFault);
  if (textFault) {
    // Whatever was read owns its bytes: the image goes.
    for (BookText* t : BookTexts(r)) *t = t->view();
    return node;
  }
  // The nine texts lie together: one copy moves them all.
  const char* kept = KeepTexts(data.substr(texts, pos - texts));
  for (BookText* t : BookTexts(r)) t->Rebase(data.data() + texts, kept);
  return node;
}

Book_Buffer* BookingList::InsertBefore(Book_Buffer* before, Book_Rec rec) {
  Book_Buffer* node = NewNode();
  node->Rec = std::move(rec);
  Link(node, before);
  return node;
}

void BookingList::Remove(Book_Buffer* node) {
  if (!node) return;
  if (node->Prev) node->Prev->Next = node->Next;
  else first_ = node->Next;
  if (node->Next) node->Next->Prev = node->Prev;
  else last_ = node->Prev;
  --count_;
  node->Rec = Book_Rec{};  // its texts are freed now, the node when the list goes
  node->Prev = nullptr;
  node->Next = free_;
  free_ = node;
}

void BookingList::Clear() {
  chunks_.clear();
  free_ = nullptr;
  first_ = last_ = nullptr;
  count_ = 0;
  textBlocks_.clear();
  textFree_ = nullptr;
  textLeft_ = 0;
}

size_t BookingList::KeptTextBytes() const {
  size_t bytes = 0;
  for (const auto& b : textBlocks_) bytes += b.size;
  return bytes;
}

int BookingList::Position(const Book_Buffer* node) const {
  int k = 1;
  for (const Book_Buffer* b = first_; b; b = b->Next, ++k)
    if (b == node) return k;
  return 0;
}

Book_Buffer* BookingList::At(int position) const {
  if (position < 1) return nullptr;
  Book_Buffer* b = first_;
  for (int k = 1; b && k < position; ++k) b = b->Next;
  return b;
}

bool BookingList::SortByStart() {
  // A stable sort of the nodes gives the same order as swapping neighbours until
  // none is out of place, in n log n.
  std::vector<Book_Buffer*> nodes;
  nodes.reserve(static_cast<size_t>(count_));
  for (Book_Buffer* b = first_; b; b = b->Next) nodes.push_back(b);
  std::vector<Book_Buffer*> sorted = nodes;
  // A damaged date (NaN) must not break the ordering the sort relies on.
  auto key = [](const Book_Buffer* b) { return std::isnan(b->Rec.StartD) ? -HUGE_VAL : b->Rec.StartD; };
  std::stable_sort(sorted.begin(), sorted.end(),
                   [&key](const Book_Buffer* a, const Book_Buffer* b) { return key(a) < key(b); });
  if (sorted == nodes) return false;
  first_ = last_ = nullptr;
  count_ = 0;
  for (Book_Buffer* b : sorted) Link(b, nullptr);
  return true;
}

}  // namespace tb

#pragma once
// A property's bookings as a doubly linked list in start-date order. Nodes stay where
// they are while others are added, removed or sorted, so a window may hold on to one.

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

#include "store/BookRec.h"

namespace tb {

struct Book_Buffer {
  Book_Buffer* Next = nullptr;
  Book_Buffer* Prev = nullptr;
  Book_Rec Rec;
};

class BookingList {
 public:
  BookingList() = default;
  ~BookingList() { Clear(); }
  BookingList(const BookingList& other);  // a deep copy
  BookingList& operator=(const BookingList& other);
  BookingList(BookingList&& other) noexcept;
  BookingList& operator=(BookingList&& other) noexcept;

  Book_Buffer* First() const { return first_; }
  Book_Buffer* Last() const { return last_; }
  int Count() const { return count_; }
  bool Empty() const { return first_ == nullptr; }

  Book_Buffer* Append(Book_Rec rec);
  // A new node with an empty record at the end, for a reader to fill in place.
  Book_Buffer* AppendEmpty();
  // Reads the record at pos of a booking file image into a new node at the end, as
  // ParseBookRecord does (null, and nothing added, when its 144 bytes do not fit). Its
  // texts are kept in the list's own blocks, as the file has them, so the image may go.
  Book_Buffer* AppendFromFile(std::string_view data, size_t& pos, bool& textFault);
  // Inserts before `before` (at the end when null).
  Book_Buffer* InsertBefore(Book_Buffer* before, Book_Rec rec);
  // Unlinks and frees the node.
  void Remove(Book_Buffer* node);
  void Clear();
  // 1-based position of a node; 0 when it is not in the list.
  int Position(const Book_Buffer* node) const;
  // The node at a 1-based position, or null.
  Book_Buffer* At(int position) const;
  // Orders by StartD, keeping the order of equal start dates; true when any node moved.
  bool SortByStart();
  // The memory held for texts read from files (their blocks).
  size_t KeptTextBytes() const;

 private:
  // Nodes live in chunks owned by the list, handed out in order and reused after a
  // Remove: a whole file's worth is allocated in a few steps and freed in memory order.
  // Nodes are constructed only when handed out, so a chunk is written once.
  static constexpr size_t kChunkSize = 256;
  struct Chunk {
    Chunk();
    ~Chunk();
    Chunk(Chunk&& other) noexcept;
    Chunk& operator=(Chunk&&) = delete;
    Book_Buffer* Node(size_t i) { return reinterpret_cast<Book_Buffer*>(storage) + i; }
    std::byte* storage = nullptr;
    size_t used = 0;  // nodes constructed, from the start
  };
  Book_Buffer* NewNode();
  void Link(Book_Buffer* node, Book_Buffer* before);
  // A copy of a record's texts in the text blocks.
  const char* KeepTexts(std::string_view bytes);
  Book_Buffer* first_ = nullptr;
  Book_Buffer* last_ = nullptr;
  int count_ = 0;
  std::vector<Chunk> chunks_;
  Book_Buffer* free_ = nullptr;  // removed nodes, linked through Next
  // The texts of records read from a file, filled in order and freed with the nodes.
  static constexpr size_t kTextBlockSize = 64 * 1024;
  struct TextBlock {
    std::unique_ptr<char[]> bytes;
    size_t size;
  };
  std::vector<TextBlock> textBlocks_;
  char* textFree_ = nullptr;
  size_t textLeft_ = 0;
};

}  // namespace tb

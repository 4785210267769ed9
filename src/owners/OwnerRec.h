#pragma once
// One owner as "Owners.bko" and "Owner-archive.bko" hold it: 32 fixed bytes, then
// seven texts, each a 16-bit little-endian length and that many Windows-1252 bytes.
// Records follow each other with no header, count or terminator.
//
// The texts are BookTexts: read from the database file they point into the file's
// bytes that the database keeps, and own their bytes once assigned, copied or moved.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DateTime.h"
#include "store/BookText.h"

namespace tb {

struct Owner_Rec {
  TDateTime OwnerCreated = 0;  // date only
  TDateTime OwnerUpdated = 0;
  std::array<uint8_t, 8> OwnerSpare1{};  // carried unchanged
  uint16_t OwnerID = 0;
  std::array<uint8_t, 6> OwnerSpare2{};  // carried unchanged
  BookText OwnerSurname;
  BookText OwnerFName;
  BookText OwnerAddress;  // lines separated by CR LF
  BookText OwnerPhone;
  BookText OwnerEmail;
  BookText OwnerURL;
  BookText OwnerNotes;
};

// The seven texts in file order.
template <typename R>  // Owner_Rec or const Owner_Rec
auto OwnerTexts(R& r) {
  return std::array{&r.OwnerSurname, &r.OwnerFName, &r.OwnerAddress, &r.OwnerPhone,
                    &r.OwnerEmail,   &r.OwnerURL,   &r.OwnerNotes};
}

inline constexpr size_t kOwnerFixedSize = 32;
inline constexpr size_t kOwnerTextCount = 7;
inline constexpr size_t kOwnerMinSize = kOwnerFixedSize + 2 * kOwnerTextCount;  // 46

// What the editor lets a field hold, in file order. Every one is far below the 65535
// bytes a length can say, so nothing typed is ever cut when it is stored.
inline constexpr std::array<size_t, kOwnerTextCount> kOwnerTextLimits{40, 40, 160, 50, 90, 255, 400};

// Appends the record as the file holds it. A text longer than 65535 bytes (never one
// the editor made) is cut there rather than have its length wrap.
void AppendOwnerRecord(std::string& out, const Owner_Rec& r);
size_t OwnerRecordSize(const Owner_Rec& r);
std::string OwnersImage(const std::vector<Owner_Rec>& owners);

// What is wrong with an owner file's bytes, in the order the reader finds it.
enum class OwnerFileFault {
  None,
  TooSmall,     // cannot hold a single record
  ShortRecord,  // fewer than 46 bytes left for the next record
  TextPastEnd,  // a text's length runs past the end of the data
};
// Parses a whole owner file. On a fault `owners` holds the records before the bad one.
OwnerFileFault ParseOwners(std::string_view data, std::vector<Owner_Rec>& owners);
// The same with every text pointing into data, which must outlive the records it
// is in (copies and moves of them own their texts).
OwnerFileFault ParseOwnerViews(std::string_view data, std::vector<Owner_Rec>& owners);
// The length of the whole records at the start of data (an archive append cut short
// leaves part of one at its end).
size_t WholeOwnerRecords(const std::string& data);

}  // namespace tb

#include "owners/OwnerRec.h"

#include <bit>
#include <cstring>

namespace tb {

static_assert(std::endian::native == std::endian::little, "the owner files are little-endian");

// The one place besides the booking parsers that makes texts point into file bytes.
struct OwnerTextViews {
  static void Point(BookText& t, const char* lengthAt) { t.Point(lengthAt); }
};

namespace {

constexpr size_t kMaxText = 0xFFFF;

// Where one record's parts start: its fixed bytes, then each text's length.
using RecordPlaces = std::array<const char*, 1 + kOwnerTextCount>;

// Checks the record at pos and notes where its parts are; pos moves past it only
// when it fits.
OwnerFileFault FindOwnerRecord(std::string_view data, size_t& pos, RecordPlaces& places) {
  if (data.size() - pos < kOwnerMinSize) return OwnerFileFault::ShortRecord;
  const char* at = data.data() + pos;
  const char* const end = data.data() + data.size();
  places[0] = at;
  at += kOwnerFixedSize;
  for (size_t i = 0; i < kOwnerTextCount; ++i) {
    uint16_t len = 0;
    if (end - at < 2) return OwnerFileFault::TextPastEnd;
    std::memcpy(&len, at, 2);
    places[i + 1] = at;
    at += 2;
    if (end - at < len) return OwnerFileFault::TextPastEnd;
    at += len;
  }
  pos = static_cast<size_t>(at - data.data());
  return OwnerFileFault::None;
}

enum class Texts { Owned, Views };

// A record from the places FindOwnerRecord noted.
void ReadOwnerRecord(const RecordPlaces& places, Owner_Rec& r, Texts texts) {
  const char* at = places[0];
  std::memcpy(&r.OwnerCreated, at, 8);
  std::memcpy(&r.OwnerUpdated, at + 8, 8);
  std::memcpy(r.OwnerSpare1.data(), at + 16, 8);
  std::memcpy(&r.OwnerID, at + 24, 2);
  std::memcpy(r.OwnerSpare2.data(), at + 26, 6);
  const auto fields = OwnerTexts(r);
  for (size_t i = 0; i < kOwnerTextCount; ++i) {
    const char* lengthAt = places[i + 1];
    if (texts == Texts::Views) {
      OwnerTextViews::Point(*fields[i], lengthAt);
    } else {
      uint16_t len = 0;
      std::memcpy(&len, lengthAt, 2);
      *fields[i] = std::string_view(lengthAt + 2, len);
    }
  }
}

}  // namespace

size_t OwnerRecordSize(const Owner_Rec& r) {
  size_t size = kOwnerMinSize;
  for (const BookText* t : OwnerTexts(r)) size += std::min(t->size(), kMaxText);
  return size;
}

void AppendOwnerRecord(std::string& out, const Owner_Rec& r) {
  char fixed[kOwnerFixedSize];
  std::memcpy(fixed, &r.OwnerCreated, 8);
  std::memcpy(fixed + 8, &r.OwnerUpdated, 8);
  std::memcpy(fixed + 16, r.OwnerSpare1.data(), 8);
  std::memcpy(fixed + 24, &r.OwnerID, 2);
  std::memcpy(fixed + 26, r.OwnerSpare2.data(), 6);
  out.append(fixed, kOwnerFixedSize);
  for (const BookText* t : OwnerTexts(r)) {
    const size_t len = std::min(t->size(), kMaxText);
    out.push_back(static_cast<char>(len & 0xFF));
    out.push_back(static_cast<char>(len >> 8));
    out.append(t->data(), len);
  }
}

std::string OwnersImage(const std::vector<Owner_Rec>& owners) {
  size_t size = 0;
  for (const Owner_Rec& o : owners) size += OwnerRecordSize(o);
  std::string image;
  image.reserve(size);
  for (const Owner_Rec& o : owners) AppendOwnerRecord(image, o);
  return image;
}

namespace {

OwnerFileFault ParseOwnerTable(std::string_view data, std::vector<Owner_Rec>& owners, Texts texts) {
  owners.clear();
  if (data.size() < kOwnerMinSize) return OwnerFileFault::TooSmall;
  // The records are found first, so the table is allocated once and no record moves
  // after its texts are set; the places found spare a second walk along the lengths.
  std::vector<RecordPlaces> places;
  size_t pos = 0;
  OwnerFileFault fault = OwnerFileFault::None;
  while (pos < data.size()) {
    RecordPlaces p;
    if ((fault = FindOwnerRecord(data, pos, p)) != OwnerFileFault::None) break;
    places.push_back(p);
  }
  owners.resize(places.size());
  for (size_t i = 0; i < places.size(); ++i) ReadOwnerRecord(places[i], owners[i], texts);
  return fault;
}

}  // namespace

OwnerFileFault ParseOwners(std::string_view data, std::vector<Owner_Rec>& owners) {
  return ParseOwnerTable(data, owners, Texts::Owned);
}

OwnerFileFault ParseOwnerViews(std::string_view data, std::vector<Owner_Rec>& owners) {
  return ParseOwnerTable(data, owners, Texts::Views);
}

size_t WholeOwnerRecords(const std::string& data) {
  size_t pos = 0;
  RecordPlaces places;
  while (pos < data.size() && FindOwnerRecord(data, pos, places) == OwnerFileFault::None) {
  }
  return pos;
}

}  // namespace tb

#include "owners/OwnerRec.h"

#include <bit>
#include <cstring>

namespace tb {

static_assert(std::endian::native == std::endian::little, "the owner files are little-endian");

namespace {

constexpr size_t kMaxText = 0xFFFF;

// Reads one record at pos (into r unless null); pos moves past it only when it fits.
OwnerFileFault ParseOwnerRecord(std::string_view data, size_t& pos, Owner_Rec* r) {
  if (data.size() - pos < kOwnerMinSize) return OwnerFileFault::ShortRecord;
  const char* at = data.data() + pos;
  const char* const end = data.data() + data.size();
  if (r) {
    std::memcpy(&r->OwnerCreated, at, 8);
    std::memcpy(&r->OwnerUpdated, at + 8, 8);
    std::memcpy(r->OwnerSpare1.data(), at + 16, 8);
    std::memcpy(&r->OwnerID, at + 24, 2);
    std::memcpy(r->OwnerSpare2.data(), at + 26, 6);
  }
  at += kOwnerFixedSize;
  for (size_t i = 0; i < kOwnerTextCount; ++i) {
    uint16_t len = 0;
    if (end - at < 2) return OwnerFileFault::TextPastEnd;
    std::memcpy(&len, at, 2);
    at += 2;
    if (end - at < len) return OwnerFileFault::TextPastEnd;
    if (r) OwnerTexts(*r)[i]->assign(at, len);
    at += len;
  }
  pos = static_cast<size_t>(at - data.data());
  return OwnerFileFault::None;
}

}  // namespace

size_t OwnerRecordSize(const Owner_Rec& r) {
  size_t size = kOwnerMinSize;
  for (const std::string* t : OwnerTexts(r)) size += std::min(t->size(), kMaxText);
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
  for (const std::string* t : OwnerTexts(r)) {
    const size_t len = std::min(t->size(), kMaxText);
    out.push_back(static_cast<char>(len & 0xFF));
    out.push_back(static_cast<char>(len >> 8));
    out.append(*t, 0, len);
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

OwnerFileFault ParseOwners(std::string_view data, std::vector<Owner_Rec>& owners) {
  owners.clear();
  if (data.size() < kOwnerMinSize) return OwnerFileFault::TooSmall;
  // A first pass finds the count (and any fault) without copying, so the table is
  // allocated once.
  size_t pos = 0, count = 0;
  OwnerFileFault fault = OwnerFileFault::None;
  while (pos < data.size() && (fault = ParseOwnerRecord(data, pos, nullptr)) == OwnerFileFault::None) ++count;
  owners.resize(count);
  pos = 0;
  for (Owner_Rec& o : owners) ParseOwnerRecord(data, pos, &o);
  return fault;
}

size_t WholeOwnerRecords(const std::string& data) {
  size_t pos = 0;
  while (pos < data.size() && ParseOwnerRecord(data, pos, nullptr) == OwnerFileFault::None) {
  }
  return pos;
}

}  // namespace tb

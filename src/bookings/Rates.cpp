#include "bookings/Rates.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/FileSystem.h"
#include "platform/Text.h"
#include "store/Session.h"

namespace tb {

namespace {

// Settings keep ChangeDay in 1..7; a record that never saw them falls back to Saturday.
int ValidChangeDay(int changeDay) { return changeDay >= 1 && changeDay <= 7 ? changeDay : 7; }

// Reads little-endian fields from an image. Once a field does not fit, it and every
// field after it read as zero or empty, so a short file keeps what was complete.
class ImageReader {
 public:
  explicit ImageReader(const std::string& data) : data_(data) {}

  uint32_t Unsigned(size_t size) {
    if (!Fits(size)) return 0;
    uint32_t v = 0;
    for (size_t i = 0; i < size; ++i) v |= uint32_t{static_cast<unsigned char>(data_[pos_ + i])} << (8 * i);
    pos_ += size;
    return v;
  }
  int32_t Int32() { return static_cast<int32_t>(Unsigned(4)); }
  std::string Bytes(size_t size) {
    if (!Fits(size)) return {};
    std::string s = data_.substr(pos_, size);
    pos_ += size;
    return s;
  }
  // Every field fitted and nothing is left over.
  bool Exact() const { return ok_ && pos_ == data_.size(); }

 private:
  bool Fits(size_t size) {
    if (ok_ && data_.size() - pos_ < size) ok_ = false;
    return ok_;
  }
  const std::string& data_;
  size_t pos_ = 0;
  bool ok_ = true;
};

void PutLE(std::string& out, uint32_t v, size_t size) {
  for (size_t i = 0; i < size; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}
void PutInt32(std::string& out, int32_t v) { PutLE(out, static_cast<uint32_t>(v), 4); }

// The slot of the rate cache that holds `year` for property n, or null when the year
// is read from its file.
const Rate_Rec* CachedYear(const Session& s, int n, int year) {
  if (!s.common.AllPropertiesView() && n != s.CurrentProperty) return nullptr;
  for (size_t slot = 0; slot < 2; ++slot)
    if (s.SeasonYear[slot] == year) return &s.Prop(n).RateCache[slot];
  return nullptr;
}

}  // namespace

TDateTime WeekStart(int year, int week, int changeDay) {
  changeDay = ValidChangeDay(changeDay);
  // The first changeover day on or after 2 January (Thursday, Friday) or 3 January.
  const int anchorDay = changeDay == 5 || changeDay == 6 ? 2 : 3;
  const TDateTime anchor = EncodeDate(year, 1, anchorDay);
  const int d = DayOfWeek(anchor);
  const int ahead = d <= changeDay ? changeDay - d : 7 + changeDay - d;
  return anchor + ahead + 7.0 * (week - 1);
}

int WeeksInYear(int year, int changeDay) {
  return static_cast<int>(std::lround((WeekStart(year + 1, 1, changeDay) - WeekStart(year, 1, changeDay)) / 7));
}

std::string RatesFilePath(const Prop_Rec& p, int year) {
  char name[32];
  std::snprintf(name, sizeof name, "Rates%02d.bkc", std::abs(year % 100));
  return p.Folder + "Data/" + name;
}

Rate_Rec ParseRates(const std::string& data, bool* complete) {
  Rate_Rec r;
  ImageReader in(data);
  r.LinenCharge = in.Int32();
  r.MinCost = in.Int32();
  r.RateSpare = in.Int32();
  for (int32_t& c : r.BandCost) c = in.Int32();
  for (int32_t& c : r.FuelCost) c = in.Int32();
  for (WeekRate& w : r.WeekRates) {
    w.FuelBand = static_cast<char>(in.Unsigned(1));
    w.EntrySpare = static_cast<uint8_t>(in.Unsigned(1));
    w.CostOrBand = in.Int32();
    w.WeekComment = in.Bytes(in.Unsigned(2));
  }
  if (complete) *complete = in.Exact();
  return r;
}

std::string RatesImage(const Rate_Rec& r) {
  std::string out;
  out.reserve(kRateHeaderSize + r.WeekRates.size() * (kRateEntryFixedSize + 2 + 20));
  PutInt32(out, r.LinenCharge);
  PutInt32(out, r.MinCost);
  PutInt32(out, r.RateSpare);
  for (int32_t c : r.BandCost) PutInt32(out, c);
  for (int32_t c : r.FuelCost) PutInt32(out, c);
  for (const WeekRate& w : r.WeekRates) {
    out += w.FuelBand;
    out += static_cast<char>(w.EntrySpare);
    PutInt32(out, w.CostOrBand);
    std::string comment = Trim(w.WeekComment);
    if (comment.size() > 0xFFFF) comment.resize(0xFFFF);  // the length field is 16 bits
    PutLE(out, static_cast<uint32_t>(comment.size()), 2);
    out += comment;
  }
  return out;
}

bool ReadRatesFile(const std::string& path, Rate_Rec& r, bool* complete) {
  r = Rate_Rec{};
  if (complete) *complete = false;
  std::string data;
  if (!ReadWholeFile(path, data)) return false;
  r = ParseRates(data, complete);
  return true;
}

void LoadYearRates(const Session& s, int n, int year, Rate_Rec& r) {
  if (const Rate_Rec* cached = CachedYear(s, n, year)) {
    r = *cached;
    return;
  }
  ReadRatesFile(RatesFilePath(s.Prop(n), year), r);
}

bool RefreshRateCache(Session& s, int n) {
  Prop_Rec& p = s.Prop(n);
  bool changed = false;
  for (size_t slot = 0; slot < 2; ++slot) {
    const int year = s.SeasonYear[slot];
    const std::string path = RatesFilePath(p, year);
    TDateTime age = FileTimeAsDateTime(path);
    if (age < 0) age = 0;  // no file (or none we may read)
    // The year is compared too: after a change of the years on show the new year's file
    // may carry the very time stamp the slot was read at.
    if (age == p.RateCacheAge[slot] && year == p.RateCacheYear[slot]) continue;
    const bool hadFile = p.RateCacheAge[slot] != 0;
    p.RateCacheYear[slot] = year;
    if (ReadRatesFile(path, p.RateCache[slot])) {
      p.RateCacheAge[slot] = age;
      changed = true;
    } else {
      p.RateCacheAge[slot] = 0;
      // Prices that vanished with their file must disappear from the chart too.
      changed = changed || hadFile;
    }
  }
  return changed;
}

}  // namespace tb

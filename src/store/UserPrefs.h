#pragma once
// "UPrefs": the 39-byte block of window preferences kept in the registry, held as the
// bytes themselves so that what is written back is exactly what was read.

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/DateTime.h"

namespace tb {

class UserPrefs {
 public:
  static constexpr size_t kSize = 39;

  // A value absent or shorter than 39 bytes leaves the rest zero.
  void Assign(const std::vector<uint8_t>& data);
  std::vector<uint8_t> Bytes() const { return {bytes_.begin(), bytes_.end()}; }

  std::string CalcSpecial() const;  // up to 5 characters, length-prefixed at offset 0
  void SetCalcSpecial(const std::string& text);
  bool CalcUnrounded() const { return bytes_[6] != 0; }
  void SetCalcUnrounded(bool v) { bytes_[6] = v ? 1 : 0; }
  bool HistoryAllProperties() const { return bytes_[7] != 0; }
  void SetHistoryAllProperties(bool v) { bytes_[7] = v ? 1 : 0; }
  TDateTime LastOverdueCheck() const { return Get<double>(8); }
  void SetLastOverdueCheck(TDateTime v) { Set<double>(8, v); }
  uint16_t PublishFirstYear() const { return Get<uint16_t>(16); }
  void SetPublishFirstYear(uint16_t v) { Set<uint16_t>(16, v); }
  uint16_t PublishLastYear() const { return Get<uint16_t>(18); }
  void SetPublishLastYear(uint16_t v) { Set<uint16_t>(18, v); }
  uint8_t PublishFirstWeek() const { return bytes_[20]; }
  void SetPublishFirstWeek(uint8_t v) { bytes_[20] = v; }
  uint8_t PublishLastWeek() const { return bytes_[21]; }
  void SetPublishLastWeek(uint8_t v) { bytes_[21] = v; }
  // Surcharge percentage x 100; 0 or above 10000 reads as 250.
  uint16_t SurchargeHundredths() const;
  void SetSurchargeHundredths(uint16_t v) { Set<uint16_t>(22, v); }
  bool CsvHeader() const { return bytes_[24] != 0; }
  void SetCsvHeader(bool v) { bytes_[24] = v ? 1 : 0; }
  bool PaymentsOmitFuture() const { return bytes_[25] != 0; }
  void SetPaymentsOmitFuture(bool v) { bytes_[25] = v ? 1 : 0; }
  uint16_t ProformaWidth() const { return Get<uint16_t>(26); }
  void SetProformaWidth(uint16_t v) { Set<uint16_t>(26, v); }
  uint8_t MailshotBatch() const { return bytes_[28]; }
  void SetMailshotBatch(uint8_t v) { bytes_[28] = v; }
  int32_t CsvStartDate() const { return Get<int32_t>(31); }
  void SetCsvStartDate(int32_t v) { Set<int32_t>(31, v); }
  int32_t CsvEndDate() const { return Get<int32_t>(35); }
  void SetCsvEndDate(int32_t v) { Set<int32_t>(35, v); }

 private:
  // The block is little-endian, as is every machine this runs on.
  template <typename T>
  T Get(size_t offset) const {
    T v;
    std::memcpy(&v, bytes_.data() + offset, sizeof v);
    return v;
  }
  template <typename T>
  void Set(size_t offset, T v) {
    std::memcpy(bytes_.data() + offset, &v, sizeof v);
  }
  std::array<uint8_t, kSize> bytes_{};
};

}  // namespace tb

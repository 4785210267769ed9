#include "store/UserPrefs.h"

#include <algorithm>

namespace tb {

void UserPrefs::Assign(const std::vector<uint8_t>& data) {
  bytes_.fill(0);
  std::copy_n(data.begin(), std::min(data.size(), kSize), bytes_.begin());
}

std::string UserPrefs::CalcSpecial() const {
  const size_t len = std::min<size_t>(bytes_[0], 5);
  return std::string(reinterpret_cast<const char*>(bytes_.data() + 1), len);
}

void UserPrefs::SetCalcSpecial(const std::string& text) {
  const size_t len = std::min<size_t>(text.size(), 5);
  std::fill_n(bytes_.begin(), 6, 0);
  bytes_[0] = static_cast<uint8_t>(len);
  std::copy_n(text.begin(), len, bytes_.begin() + 1);
}

uint16_t UserPrefs::SurchargeHundredths() const {
  const uint16_t v = Get<uint16_t>(22);
  return (v == 0 || v > 10000) ? 250 : v;
}

}  // namespace tb

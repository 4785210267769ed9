#pragma once
// Rates files assembled byte by byte from the layout, not from the writer under test.

#include <cstdint>
#include <string>

namespace tb::test {

inline std::string Le32(int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  return {static_cast<char>(u & 0xFF), static_cast<char>((u >> 8) & 0xFF), static_cast<char>((u >> 16) & 0xFF),
          static_cast<char>(u >> 24)};
}
inline std::string Le16(uint16_t v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }
// One week entry: fuel letter, spare byte, cost or band, comment with its 16-bit length.
inline std::string Entry(char fuel, uint8_t spare, int32_t costOrBand, const std::string& comment) {
  return std::string(1, fuel) + static_cast<char>(spare) + Le32(costOrBand) +
         Le16(static_cast<uint16_t>(comment.size())) + comment;
}

}  // namespace tb::test

#pragma once
// Small text helpers shared by the engine.

#include <string>
#include <string_view>

namespace tb {

// Drops spaces and control characters at both ends (as Delphi's Trim does).
inline std::string_view TrimView(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}
inline std::string Trim(std::string_view s) { return std::string(TrimView(s)); }

}  // namespace tb

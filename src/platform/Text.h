#pragma once
// Small text helpers shared by the engine.

#include <string>
#include <string_view>
#include <vector>

namespace tb {

// Drops spaces and control characters at both ends (as Delphi's Trim does).
inline std::string_view TrimView(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}
inline std::string Trim(std::string_view s) { return std::string(TrimView(s)); }

// The lines of a text file whose lines end in LF or CR LF; a final line break adds no
// line.
inline std::vector<std::string> TextFileLines(std::string_view data) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < data.size()) {
    size_t end = data.find('\n', pos);
    if (end == std::string_view::npos) end = data.size();
    std::string_view line = data.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    pos = end + 1;
  }
  return lines;
}

}  // namespace tb

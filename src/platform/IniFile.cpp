#include "platform/IniFile.h"

#include <charconv>
#include <cstdint>
#include <utility>

#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace tb {

namespace {


bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// A value wrapped in matching quotes loses them, as with GetPrivateProfileString.
std::string Unquote(const std::string& v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    return v.substr(1, v.size() - 2);
  return v;
}

// Decimal, or hexadecimal with "0x" or "$" as Delphi's StrToIntDef takes it; the
// whole text must be the number.
bool ParseInt(const std::string& text, int& out) {
  std::string s = Trim(text);
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  int base = 10;
  if (s.compare(i, 2, "0x") == 0 || s.compare(i, 2, "0X") == 0) {
    base = 16;
    i += 2;
  } else if (i < s.size() && s[i] == '$') {
    base = 16;
    ++i;
  }
  if (i >= s.size() || s[i] == '+' || s[i] == '-') return false;
  uint64_t magnitude = 0;
  auto [end, ec] = std::from_chars(s.data() + i, s.data() + s.size(), magnitude, base);
  if (ec != std::errc() || end != s.data() + s.size()) return false;
  if (base == 16) {
    // Hex covers the full 32 bits: $FFFFFFFF is -1.
    if (magnitude > 0xFFFFFFFFu) return false;
    uint32_t bits = static_cast<uint32_t>(magnitude);
    if (negative) bits = 0u - bits;
    out = static_cast<int32_t>(bits);
    return true;
  }
  if (negative ? magnitude > uint64_t{INT32_MAX} + 1 : magnitude > uint64_t{INT32_MAX}) return false;
  out = negative ? static_cast<int>(-static_cast<int64_t>(magnitude)) : static_cast<int>(magnitude);
  return true;
}

bool ParseFloat(const std::string& text, double& out) {
  std::string s = Trim(text);
  const bool plus = !s.empty() && s[0] == '+';
  const size_t i = plus ? 1 : 0;
  const size_t digits = (!plus && !s.empty() && s[0] == '-') ? 1 : i;
  // Only plain numbers: from_chars would also take "inf" and "nan".
  if (digits >= s.size() || !((s[digits] >= '0' && s[digits] <= '9') || s[digits] == '.')) return false;
  double v = 0;
  auto [end, ec] = std::from_chars(s.data() + i, s.data() + s.size(), v, std::chars_format::general);
  if (ec != std::errc() || end != s.data() + s.size()) return false;
  out = v;
  return true;
}

}  // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) {}

bool IniFile::Load() {
  std::string text;
  if (path_.empty() || !ReadWholeFile(path_, text)) {
    lines_.clear();
    lastSection_ = -1;
    return false;
  }
  LoadFromText(text);
  return true;
}

bool IniFile::Load(const std::string& path) {
  path_ = path;
  return Load();
}

void IniFile::LoadFromText(const std::string& text) {
  lines_.clear();
  lastSection_ = -1;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    Line line;
    line.text = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    std::string t = Trim(line.text);
    if (!t.empty() && t.front() == '[' && t.find(']') != std::string::npos) {
      line.kind = Line::Section;
      line.section = Trim(std::string_view(t).substr(1, t.find(']') - 1));
    } else if (!t.empty() && t.front() != ';' && t.find('=') != std::string::npos) {
      size_t eq = t.find('=');
      line.key = Trim(std::string_view(t).substr(0, eq));
      line.value = Trim(std::string_view(t).substr(eq + 1));
      if (!line.key.empty()) line.kind = Line::Key;
    }
    lines_.push_back(std::move(line));
    if (end == std::string::npos) break;
    pos = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
}

bool IniFile::Save() const { return !path_.empty() && WriteWholeFile(path_, ToText()); }

std::string IniFile::ToText() const {
  std::string out;
  for (const Line& line : lines_) {
    out += line.text;
    out += "\r\n";
  }
  return out;
}

int IniFile::FindSection(const std::string& section) const {
  const auto last = static_cast<size_t>(lastSection_);
  if (lastSection_ >= 0 && last < lines_.size() && lines_[last].kind == Line::Section &&
      SameText(lines_[last].section, section))
    return lastSection_;
  for (size_t i = 0; i < lines_.size(); ++i)
    if (lines_[i].kind == Line::Section && SameText(lines_[i].section, section))
      return lastSection_ = static_cast<int>(i);
  return -1;
}

int IniFile::FindKey(const std::string& section, const std::string& key) const {
  int s = FindSection(section);
  if (s < 0) return -1;
  for (size_t i = static_cast<size_t>(s) + 1; i < lines_.size() && lines_[i].kind != Line::Section; ++i)
    if (lines_[i].kind == Line::Key && SameText(lines_[i].key, key)) return static_cast<int>(i);
  return -1;
}

bool IniFile::SectionExists(const std::string& section) const { return FindSection(section) >= 0; }

bool IniFile::KeyExists(const std::string& section, const std::string& key) const {
  return FindKey(section, key) >= 0;
}

std::vector<std::string> IniFile::Sections() const {
  std::vector<std::string> names;
  for (size_t i = 0; i < lines_.size(); ++i)
    if (lines_[i].kind == Line::Section && FindSection(lines_[i].section) == static_cast<int>(i))
      names.push_back(lines_[i].section);
  return names;
}

std::vector<std::string> IniFile::Keys(const std::string& section) const {
  std::vector<std::string> names;
  int s = FindSection(section);
  if (s < 0) return names;
  for (size_t i = static_cast<size_t>(s) + 1; i < lines_.size() && lines_[i].kind != Line::Section; ++i)
    if (lines_[i].kind == Line::Key && FindKey(section, lines_[i].key) == static_cast<int>(i))
      names.push_back(lines_[i].key);
  return names;
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& def) const {
  int k = FindKey(section, key);
  return k < 0 ? def : Unquote(lines_[static_cast<size_t>(k)].value);
}

int IniFile::ReadInteger(const std::string& section, const std::string& key, int def) const {
  int k = FindKey(section, key);
  int v = 0;
  return (k >= 0 && ParseInt(Unquote(lines_[static_cast<size_t>(k)].value), v)) ? v : def;
}

bool IniFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

double IniFile::ReadFloat(const std::string& section, const std::string& key, double def) const {
  int k = FindKey(section, key);
  double v = 0;
  return (k >= 0 && ParseFloat(Unquote(lines_[static_cast<size_t>(k)].value), v)) ? v : def;
}

void IniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  // A line break in a value would split it into lines of its own on reading.
  std::string flat = value;
  for (char& c : flat)
    if (c == '\r' || c == '\n') c = ' ';
  Line entry;
  entry.kind = Line::Key;
  entry.key = Trim(key);
  entry.value = Trim(flat);
  int k = FindKey(section, key);
  if (k >= 0) {
    // Keep the key as the file spells it; only the value changes.
    entry.key = lines_[static_cast<size_t>(k)].key;
    entry.text = entry.key + "=" + flat;
    lines_[static_cast<size_t>(k)] = std::move(entry);
    return;
  }
  entry.text = entry.key + "=" + flat;
  int s = FindSection(section);
  lastSection_ = -1;  // lines are added
  if (s >= 0) {
    // After the section's last key, so blank lines and comments that lead into the
    // next section stay where they are.
    size_t at = static_cast<size_t>(s) + 1;
    for (size_t i = at; i < lines_.size() && lines_[i].kind != Line::Section; ++i)
      if (lines_[i].kind == Line::Key) at = i + 1;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
    return;
  }
  if (!lines_.empty() && !Trim(lines_.back().text).empty()) lines_.push_back(Line{});
  Line header;
  header.kind = Line::Section;
  header.section = Trim(section);
  header.text = "[" + header.section + "]";
  lines_.push_back(std::move(header));
  lines_.push_back(std::move(entry));
}

void IniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
  WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void IniFile::DeleteKey(const std::string& section, const std::string& key) {
  // Every copy goes, or a later duplicate would step in as the value.
  for (int k = FindKey(section, key); k >= 0; k = FindKey(section, key)) {
    lines_.erase(lines_.begin() + k);
    lastSection_ = -1;
  }
}

void IniFile::EraseSection(const std::string& section) {
  for (int s = FindSection(section); s >= 0; s = FindSection(section)) {
    size_t end = static_cast<size_t>(s) + 1;
    while (end < lines_.size() && lines_[end].kind != Line::Section) ++end;
    lines_.erase(lines_.begin() + s, lines_.begin() + static_cast<std::ptrdiff_t>(end));
    lastSection_ = -1;
  }
}

}  // namespace tb

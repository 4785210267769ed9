#include "platform/Registry.h"

#include "platform/FileLock.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <functional>
#include <string_view>
#include <unistd.h>

#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace tb {

namespace {

struct RegValue {
  std::string name;  // "" for the default value, written as @
  std::string data;  // the text after "=", continuation lines joined
};

struct RegKey {
  std::string path;  // below the hive, without leading or trailing backslash
  std::vector<RegValue> values;
};

using Hive = std::vector<RegKey>;


char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return Lower(x) == Lower(y);
         });
}

bool StartsWithText(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && SameText(s.substr(0, prefix.size()), prefix);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = Lower(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string NormalizeKey(std::string_view key) {
  while (!key.empty() && key.front() == '\\') key.remove_prefix(1);
  while (!key.empty() && key.back() == '\\') key.remove_suffix(1);
  return std::string(key);
}

// Reads a quoted text starting at s[pos] == '"' with \\ and \" escaped; pos ends
// just past the closing quote. False when it is not closed.
bool ParseQuoted(std::string_view s, size_t& pos, std::string& out) {
  out.clear();
  if (pos >= s.size() || s[pos] != '"') return false;
  for (size_t i = pos + 1; i < s.size(); ++i) {
    char c = s[i];
    if (c == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"')) {
      out += s[++i];
    } else if (c == '"') {
      pos = i + 1;
      return true;
    } else {
      out += c;
    }
  }
  return false;
}

std::string Quote(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + '"';
}

// "hex:" or "hex(<type>):" followed by comma-separated bytes; type is -1 for "hex:".
bool ParseHexData(std::string_view data, int& type, std::vector<uint8_t>& bytes) {
  bytes.clear();
  type = -1;
  if (!StartsWithText(data, "hex")) return false;
  data.remove_prefix(3);
  if (!data.empty() && data.front() == '(') {
    size_t close = data.find(')');
    if (close == std::string_view::npos || close == 1 || close > 9) return false;
    type = 0;
    for (char c : data.substr(1, close - 1)) {
      if (HexDigit(c) < 0) return false;
      type = type * 16 + HexDigit(c);
    }
    data.remove_prefix(close + 1);
  }
  if (data.empty() || data.front() != ':') return false;
  data.remove_prefix(1);
  while (!TrimView(data).empty()) {
    size_t comma = data.find(',');
    std::string_view item = TrimView(data.substr(0, comma));
    if (item.empty() || item.size() > 2) return false;
    int v = 0;
    for (char c : item) {
      if (HexDigit(c) < 0) return false;
      v = v * 16 + HexDigit(c);
    }
    bytes.push_back(static_cast<uint8_t>(v));
    if (comma == std::string_view::npos) break;
    data.remove_prefix(comma + 1);  // a trailing comma is allowed
  }
  return true;
}

bool ParseDwordData(std::string_view data, uint32_t& out) {
  if (!StartsWithText(data, "dword:")) return false;
  std::string_view digits = data.substr(6);
  if (digits.empty() || digits.size() > 8) return false;
  out = 0;
  for (char c : digits) {
    if (HexDigit(c) < 0) return false;
    out = out * 16 + static_cast<uint32_t>(HexDigit(c));
  }
  return true;
}

// Strings are written quoted; hex(1) (plain string) and hex(2) (expandable string)
// hold the bytes up to a terminating zero.
bool ParseStringData(std::string_view data, std::string& out) {
  size_t pos = 0;
  if (!data.empty() && data.front() == '"') return ParseQuoted(data, pos, out) && pos == data.size();
  int type = 0;
  std::vector<uint8_t> bytes;
  if (!ParseHexData(data, type, bytes) || (type != 1 && type != 2)) return false;
  auto end = std::find(bytes.begin(), bytes.end(), uint8_t{0});
  out.assign(bytes.begin(), end);
  return true;
}

bool ValidData(std::string_view data) {
  std::string s;
  uint32_t d = 0;
  int type = 0;
  std::vector<uint8_t> bytes;
  return ParseStringData(data, s) || ParseDwordData(data, d) || ParseHexData(data, type, bytes);
}

std::string HexData(std::string_view prefix, const uint8_t* data, size_t size) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out(prefix);
  for (size_t i = 0; i < size; ++i) {
    if (i > 0) out += ',';
    out += kDigits[data[i] >> 4];
    out += kDigits[data[i] & 15];
  }
  return out;
}

std::string StringData(const std::string& value) {
  // A line break cannot stand inside a quoted string of this format; such a text
  // is kept as the bytes of a plain string instead of being cut apart.
  if (value.find_first_of("\r\n") == std::string::npos) return Quote(value);
  std::string bytes = value;
  bytes += '\0';
  return HexData("hex(1):", reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(pos));
      break;
    }
    lines.push_back(text.substr(pos, end - pos));
    pos = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
  return lines;
}

template <class H>  // Hive or const Hive
auto FindKey(H& hive, std::string_view path) -> decltype(&hive.front()) {
  for (auto& k : hive)
    if (SameText(k.path, path)) return &k;
  return nullptr;
}

RegValue* FindValue(RegKey& key, std::string_view name) {
  for (RegValue& v : key.values)
    if (SameText(v.name, name)) return &v;
  return nullptr;
}

// Anything not understood (other hives, deletions, damaged lines, values outside
// a key) is skipped: it is dropped when the file is next written.
Hive ParseHive(std::string_view text, std::string_view hiveName) {
  Hive hive;
  RegKey* current = nullptr;
  std::vector<std::string_view> lines = SplitLines(text);
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string_view t = TrimView(lines[i]);
    if (t.empty() || t.front() == ';' || t == "REGEDIT4") continue;
    if (t.front() == '[') {
      current = nullptr;
      if (t.back() != ']') continue;
      std::string_view inner = t.substr(1, t.size() - 2);
      size_t slash = inner.find('\\');
      if (!SameText(inner.substr(0, slash), hiveName)) continue;
      std::string path = slash == std::string_view::npos ? std::string() : NormalizeKey(inner.substr(slash + 1));
      current = FindKey(hive, path);
      if (!current) {
        hive.push_back(RegKey{path, {}});
        current = &hive.back();
      }
      continue;
    }
    std::string name;
    size_t pos = 0;
    if (t.front() == '@') {
      pos = 1;
    } else if (!ParseQuoted(t, pos, name)) {
      continue;
    }
    std::string_view rest = TrimView(t.substr(pos));
    if (rest.empty() || rest.front() != '=') continue;
    std::string data(TrimView(rest.substr(1)));
    // Long byte lists go on over several lines, each but the last ending in "\".
    if (StartsWithText(data, "hex")) {
      while (!data.empty() && data.back() == '\\' && i + 1 < lines.size()) {
        data.pop_back();
        data += TrimView(lines[++i]);
      }
    }
    if (!current || !ValidData(data) || FindValue(*current, name)) continue;  // first one wins
    current->values.push_back(RegValue{std::move(name), std::move(data)});
  }
  return hive;
}

std::string HiveText(const Hive& hive, const std::string& hiveName) {
  std::string out = "REGEDIT4\r\n\r\n";
  for (const RegKey& key : hive) {
    out += "[" + hiveName + (key.path.empty() ? "" : "\\" + key.path) + "]\r\n";
    for (const RegValue& v : key.values) out += (v.name.empty() ? "@" : Quote(v.name)) + "=" + v.data + "\r\n";
    out += "\r\n";
  }
  return out;
}

bool IsBelow(std::string_view path, std::string_view key) {
  return path.size() > key.size() + 1 && path[key.size()] == '\\' && StartsWithText(path, key);
}

enum class Change { None, Missing, Made };

// A missing file is an empty hive; nullopt when the file is there but unreadable.
std::optional<Hive> TryLoadHive(const std::string& path, const std::string& hiveName) {
  std::string text;
  if (ReadWholeFile(path, text)) return ParseHive(text, hiveName);
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 && errno == ENOENT) return Hive{};
  return std::nullopt;
}

Hive LoadHive(const std::string& path, const std::string& hiveName) {
  return TryLoadHive(path, hiveName).value_or(Hive{});
}

// Reads the hive, lets change alter it and writes it back when it did. Made gives
// whether the write succeeded, None true, Missing false.
bool UpdateHive(const std::string& path, const std::string& hiveName, const std::function<Change(Hive&)>& change) {
  std::string folder = ExtractFilePath(path);
  if (!folder.empty() && !ForceDirectories(folder)) return false;
  // Two programs changing different values at once must both keep their change.
  FileLock lock(path + ".lock");
  if (!lock.Held()) return false;
  // Writing over a file we could not read would throw away everything in it.
  std::optional<Hive> loaded = TryLoadHive(path, hiveName);
  if (!loaded) return false;
  Hive& hive = *loaded;
  switch (change(hive)) {
    case Change::None:
      return true;
    case Change::Missing:
      return false;
    case Change::Made:
      break;
  }
  return WriteWholeFile(path, HiveText(hive, hiveName));
}

RegKey& EnsureKey(Hive& hive, const std::string& path) {
  if (RegKey* k = FindKey(hive, path)) return *k;
  hive.push_back(RegKey{path, {}});
  return hive.back();
}

std::optional<std::string> ValueData(const std::string& file, const std::string& hiveName,
                                     const std::string& key, const std::string& name) {
  Hive hive = LoadHive(file, hiveName);
  RegKey* k = FindKey(hive, NormalizeKey(key));
  if (!k) return std::nullopt;
  RegValue* v = FindValue(*k, name);
  if (!v) return std::nullopt;
  return v->data;
}

bool SetValue(const std::string& file, const std::string& hiveName, const std::string& key,
              const std::string& name, std::string data) {
  std::string path = NormalizeKey(key);
  return UpdateHive(file, hiveName, [&](Hive& hive) {
    RegKey& k = EnsureKey(hive, path);
    if (RegValue* v = FindValue(k, name))
      v->data = std::move(data);
    else
      k.values.push_back(RegValue{name, std::move(data)});
    return Change::Made;
  });
}

}  // namespace

RegistryStore::RegistryStore(std::string hiveName, std::string filePath)
    : hiveName_(std::move(hiveName)), filePath_(std::move(filePath)) {}

bool RegistryStore::KeyExists(const std::string& key) const {
  std::string path = NormalizeKey(key);
  if (path.empty()) return true;  // the hive itself
  Hive hive = LoadHive(filePath_, hiveName_);
  // A key exists when it is written down or lies on the way to one that is.
  return std::any_of(hive.begin(), hive.end(),
                     [&](const RegKey& k) { return SameText(k.path, path) || IsBelow(k.path, path); });
}

std::optional<std::vector<uint8_t>> RegistryStore::ReadBinary(const std::string& key, const std::string& name) const {
  std::optional<std::string> data = ValueData(filePath_, hiveName_, key, name);
  int type = 0;
  std::vector<uint8_t> bytes;
  // Strings kept as hex(1)/hex(2) are strings, not byte data.
  if (!data || !ParseHexData(*data, type, bytes) || type == 1 || type == 2) return std::nullopt;
  return bytes;
}

std::optional<std::string> RegistryStore::ReadString(const std::string& key, const std::string& name) const {
  std::optional<std::string> data = ValueData(filePath_, hiveName_, key, name);
  std::string text;
  if (!data || !ParseStringData(*data, text)) return std::nullopt;
  return text;
}

std::optional<uint32_t> RegistryStore::ReadDword(const std::string& key, const std::string& name) const {
  std::optional<std::string> data = ValueData(filePath_, hiveName_, key, name);
  uint32_t value = 0;
  if (!data || !ParseDwordData(*data, value)) return std::nullopt;
  return value;
}

std::vector<std::string> RegistryStore::ValueNames(const std::string& key) const {
  std::vector<std::string> names;
  Hive hive = LoadHive(filePath_, hiveName_);
  if (const RegKey* k = FindKey(hive, NormalizeKey(key)))
    for (const RegValue& v : k->values) names.push_back(v.name);
  return names;
}

std::vector<std::string> RegistryStore::SubKeys(const std::string& key) const {
  std::string path = NormalizeKey(key);
  std::vector<std::string> names;
  for (const RegKey& k : LoadHive(filePath_, hiveName_)) {
    std::string_view rest;
    if (path.empty())
      rest = k.path;
    else if (IsBelow(k.path, path))
      rest = std::string_view(k.path).substr(path.size() + 1);
    std::string_view child = rest.substr(0, rest.find('\\'));
    if (child.empty()) continue;
    if (std::none_of(names.begin(), names.end(), [&](const std::string& n) { return SameText(n, child); }))
      names.emplace_back(child);
  }
  // The registry lists subkeys alphabetically, whatever order they were made in.
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Lower(x) < Lower(y); });
  });
  return names;
}

bool RegistryStore::CreateKey(const std::string& key) {
  std::string path = NormalizeKey(key);
  return UpdateHive(filePath_, hiveName_, [&](Hive& hive) {
    if (FindKey(hive, path)) return Change::None;
    EnsureKey(hive, path);
    return Change::Made;
  });
}

bool RegistryStore::WriteBinary(const std::string& key, const std::string& name, const std::vector<uint8_t>& data) {
  return SetValue(filePath_, hiveName_, key, name, HexData("hex:", data.data(), data.size()));
}

bool RegistryStore::WriteString(const std::string& key, const std::string& name, const std::string& value) {
  return SetValue(filePath_, hiveName_, key, name, StringData(value));
}

bool RegistryStore::WriteDword(const std::string& key, const std::string& name, uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "dword:%08x", value);
  return SetValue(filePath_, hiveName_, key, name, text);
}

bool RegistryStore::DeleteValue(const std::string& key, const std::string& name) {
  std::string path = NormalizeKey(key);
  return UpdateHive(filePath_, hiveName_, [&](Hive& hive) {
    RegKey* k = FindKey(hive, path);
    if (!k) return Change::Missing;
    auto it = std::find_if(k->values.begin(), k->values.end(),
                           [&](const RegValue& v) { return SameText(v.name, name); });
    if (it == k->values.end()) return Change::Missing;
    k->values.erase(it);
    return Change::Made;
  });
}

bool RegistryStore::DeleteKey(const std::string& key) {
  std::string path = NormalizeKey(key);
  if (path.empty()) return false;  // never the whole hive by accident
  return UpdateHive(filePath_, hiveName_, [&](Hive& hive) {
    auto gone = std::remove_if(hive.begin(), hive.end(), [&](const RegKey& k) {
      return SameText(k.path, path) || IsBelow(k.path, path);
    });
    if (gone == hive.end()) return Change::Missing;
    hive.erase(gone, hive.end());
    return Change::Made;
  });
}

std::string RegistryStore::ExportText() const { return HiveText(LoadHive(filePath_, hiveName_), hiveName_); }

}  // namespace tb

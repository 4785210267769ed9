#include "web/WebFormData.h"

#include <algorithm>
#include <optional>

#include "bookings/BookingEditor.h"
#include "platform/Cp1252.h"
#include "platform/Text.h"

namespace tb {

namespace {

constexpr size_t kValueLimit = 999;

// The value of the first line starting with name (case-sensitive), at most 999 bytes.
std::optional<std::string> Value(const std::vector<std::string>& lines, std::string_view name) {
  for (const std::string& line : lines)
    if (line.compare(0, name.size(), name) == 0) return line.substr(name.size(), kValueLimit);
  return std::nullopt;
}

std::string WithLineBreaks(std::string text) {
  for (size_t at = text.find("<br>"); at != std::string::npos; at = text.find("<br>", at + 2))
    text.replace(at, 4, "\r\n");
  return text;
}

std::string Cut(std::string text, size_t limit) {
  if (text.size() > limit) text.resize(limit);
  return text;
}

// At most kAddressLines lines and kAddressLimit bytes, the last line without a break:
// what the window would have let the user type.
std::string AddressOf(const std::string& value) {
  std::string out;
  size_t lines = 0;
  for (const std::string& line : TextFileLines(WithLineBreaks(value))) {
    if (++lines > kAddressLines) break;
    out += (lines > 1 ? "\r\n" : "") + line;
  }
  out = Cut(std::move(out), kAddressLimit);
  while (!out.empty() && (out.back() == '\r' || out.back() == '\n')) out.pop_back();
  return out;
}

void SetWhenEmpty(std::string& field, const std::optional<std::string>& value, size_t limit) {
  if (value && TrimView(field).empty()) field = Cut(Trim(*value), limit);
}

// Bytes at the end that begin a UTF-8 sequence but do not finish it.
size_t UnfinishedUtf8(std::string_view text) {
  for (size_t back = 1; back <= std::min<size_t>(3, text.size()); ++back) {
    const auto c = static_cast<unsigned char>(text[text.size() - back]);
    if ((c & 0xC0) == 0xC0) return back < (c >= 0xF0 ? 4u : c >= 0xE0 ? 3u : 2u) ? back : 0;
    if ((c & 0xC0) != 0x80) return 0;
  }
  return 0;
}

}  // namespace

bool HoldsNotFoundText(std::string_view text) {
  const std::string upper = UpperCase1252(std::string(text.substr(0, kFormTextLimit)));
  for (const char* phrase : {"404 NOT FOUND", "404 ERROR", "ERROR 404", "404 PAGE NOT FOUND", "PAGE NOT FOUND",
                             "PAGE CAN'T BE FOUND"})
    if (upper.find(phrase) != std::string::npos) return true;
  return false;
}

std::vector<std::string> FormDataLines(std::string_view text, bool cut) {
  text = text.substr(0, kFormTextLimit);
  if (cut) text.remove_suffix(UnfinishedUtf8(text));
  std::string bytes(text);
  if (IsUtf8(bytes)) {
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);  // a byte-order mark some editors write
    bytes = Utf8ToCp1252(bytes);
  }
  if (UpperCase1252(bytes.substr(0, 10)) != "[BOOKFORM]" || HoldsNotFoundText(bytes)) return {};
  return TextFileLines(bytes);
}

void MergeFormData(BookingFields& f, const std::vector<std::string>& lines) {
  SetWhenEmpty(f.fnames, Value(lines, "Fnames="), kFnamesLimit);
  if (const auto address = Value(lines, "Address="); address && TrimView(f.address).empty())
    f.address = AddressOf(*address);
  SetWhenEmpty(f.phone, Value(lines, "Phone="), kPhoneLimit);
  SetWhenEmpty(f.email, Value(lines, "EMail="), kEmailLimit);
  if (const auto comments = Value(lines, "Comments=")) {
    // Comments longer than the window takes (from an older file) are kept whole.
    const size_t limit = std::max(kCommentsLimit, f.comments.size());
    const std::string text = WithLineBreaks(*comments);
    f.comments = Cut(TrimView(f.comments).empty() ? text : f.comments + "\r\n" + text, limit);
  }
  if (const auto source = Value(lines, "Source="); source && Trim(*source) != "none")
    SetWhenEmpty(f.source, source, kSourceLimit);
  if (const auto mail = Value(lines, "Mail=")) f.omitM = Trim(*mail) == "no";
}

}  // namespace tb

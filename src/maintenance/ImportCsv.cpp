#include "maintenance/ImportCsv.h"

namespace tb {

namespace {
// The longest last field read when no comma ends it.
constexpr size_t kLastFieldMax = 998;
}  // namespace

std::vector<std::string_view> ImportLines(std::string_view data) {
  std::vector<std::string_view> lines;
  size_t pos = 0;
  while (pos < data.size()) {
    size_t end = data.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = data.size();
    lines.push_back(data.substr(pos, end - pos));
    pos = end + 1;
    if (end < data.size() && data[end] == '\r' && pos < data.size() && data[pos] == '\n') ++pos;
  }
  return lines;
}

bool CsvFieldReader::Next(std::string& field, std::string& error) {
  field.clear();
  if (ended_) return true;
  if (pos_ < line_.size() && line_[pos_] == '"') {
    size_t at = pos_ + 1;
    for (;;) {
      const size_t quote = line_.find('"', at);
      if (quote == std::string_view::npos) {
        error = "No matching quote";
        return false;
      }
      field.append(line_.substr(at, quote - at));
      if (quote + 1 < line_.size() && line_[quote + 1] == '"') {
        field += '"';
        at = quote + 2;
        continue;
      }
      pos_ = quote + 1;
      break;
    }
    if (pos_ >= line_.size()) {
      ended_ = true;
    } else if (line_[pos_] == ',') {
      ++pos_;
    } else {
      error = "Quoted string not terminated with comma";
      return false;
    }
    return true;
  }
  const size_t comma = line_.find(',', pos_);
  if (comma == std::string_view::npos) {
    field.assign(line_.substr(pos_, kLastFieldMax));
    ended_ = true;
  } else {
    field.assign(line_.substr(pos_, comma - pos_));
    pos_ = comma + 1;
  }
  return true;
}

}  // namespace tb

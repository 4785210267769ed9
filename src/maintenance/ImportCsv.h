#pragma once
// Reading an import file: its lines, and the comma-separated fields of one line.

#include <string>
#include <string_view>
#include <vector>

namespace tb {

// The lines of the file, broken at CR LF, LF or CR; a final break adds no line.
std::vector<std::string_view> ImportLines(std::string_view data);

// The fields of one line, read one at a time, so that a fault in a field is only seen
// once the fields before it have passed. A field is everything up to the next comma, or
// a quoted text ("" inside stands for one quote) that must end the line or be followed
// by a comma. Past the end of the line every field is empty.
class CsvFieldReader {
 public:
  explicit CsvFieldReader(std::string_view line) : line_(line) {}
  // The next field; false, with the reason, when its quotes are wrong.
  bool Next(std::string& field, std::string& error);

 private:
  std::string_view line_;
  size_t pos_ = 0;
  bool ended_ = false;
};

}  // namespace tb

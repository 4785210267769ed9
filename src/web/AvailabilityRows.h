#pragma once
// The generated rows of an availability page: weeks merged into runs, separator rows,
// and the row template with its fields filled in.

#include <array>
#include <string>

#include "store/StatusRec.h"

namespace tb {

class Session;
struct PageRun;

inline constexpr size_t kRowFieldCount = 15;

struct RowTemplate {
  std::string text;  // trimmed
  int cells = 0;     // "<TD" in it, for a separator row's colspan
  std::array<bool, kRowFieldCount> used{};
};
RowTemplate MakeRowTemplate(const std::string& fileText);

struct PageRows {
  std::string text;     // each row as eol + row
  std::string badField; // set when the template holds "@" with no field name: the
                        // three characters from the "@"
};
// The rows of property n for weeks (a web week table), each line started by eol.
PageRows MakePageRows(const Session& s, int n, const TStArray& weeks, const RowTemplate& t, const PageRun& run,
                      const std::string& eol);

}  // namespace tb

#pragma once
// Bookings added to one property from a CSV file: every line is checked first (its
// fields, the property's bookings and the lines before it), nothing changes until the
// user confirms, and then the bookings join the list and the file is written once.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "store/BookRec.h"

namespace tb {

class Session;
struct FormatSettings;
struct Prop_Rec;

// One line made into a booking for property `p`; false, with the reason, when a field
// breaks its rule. Overlaps are not looked at here.
bool ParseImportLine(std::string_view line, const Prop_Rec& p, TDateTime today, const FormatSettings& fs,
                     Book_Rec& out, std::string& reason);

// The whole file checked against p's list: the bookings in file order, or the first
// line (from 1) that fails and why.
struct ImportCheck {
  int lines = 0;
  int badLine = 0;  // 0: every line is valid
  std::string reason;
  std::vector<Book_Rec> bookings;
};
ImportCheck CheckImport(std::string_view data, const Prop_Rec& p, TDateTime today, const FormatSettings& fs);

enum class ImportResult {
  Refused,     // no file, no property, or the booking file cannot be written now
  Invalid,     // a line failed (its box was shown)
  Valid,       // checked only: every line is valid
  Cancelled,   // valid, and the user did not go on
  NotWritten,  // the write failed (the writer reported it); the list is as the file
  Imported,
};
struct ImportOutcome {
  ImportResult result = ImportResult::Refused;
  int lines = 0;
  int badLine = 0;
  std::string reason;
};

// "Import": the file at `path` into property n (0: none chosen), with the questions
// and messages of the window; `log` gets the lines for its log. With checkOnly the
// file is only checked against the bookings as they are, and nothing is asked or held.
ImportOutcome ImportBookings(Session& s, int n, const std::string& path, bool checkOnly,
                             const std::function<void(const std::string&)>& log = {});

}  // namespace tb

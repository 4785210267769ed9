#pragma once
// "Overdue-Items.csv": the overdue list as it is shown, for a spreadsheet.

#include <string>
#include <vector>

#include "reports/OverdueList.h"

namespace tb {

class Session;

std::string OverdueCsvPath(const Session& s);  // root + "Overdue-Items.csv"
// The file's text (CR LF lines): the heading line, then one line per row in the order
// given, its seven texts trimmed and each in double quotes. A quote inside a text is
// written twice, so that a name such as O"Neil stays one field.
std::string OverdueCsv(const std::vector<OverdueRow>& rows);

enum class CsvExport { Written, Cancelled, Failed };
// Asks before writing over an existing file, then writes it whole; a failure is shown
// with the path and the system's reason. Opening the file is the caller's.
CsvExport ExportOverdueCsv(Session& s, const std::vector<OverdueRow>& rows);

}  // namespace tb

#include "reports/ExpensesCsv.h"

#include <cerrno>
#include <cstring>

#include "platform/DateTime.h"
#include "platform/Escape.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"
#include "store/Session.h"
#include "store/Settings.h"

namespace tb {

std::string ExpensesCsvPath(const Session& s) { return s.common.RootFolder + "Expenses.csv"; }

std::string ExpensesCsv(const std::string& title, const std::vector<std::string>& categories,
                        const std::vector<std::string>& monthNames, const Expense& e) {
  std::string csv = CsvQuoted("Expenses for " + title) + "\r\n\r\n";
  for (int y = 0; y < e.NYears; ++y) {
    csv += CsvQuoted("Year = " + std::to_string(e.FirstYear + y)) + ",\r\n";
    csv += CsvQuoted("Category") + ",";
    for (const std::string& m : monthNames) csv += CsvQuoted(m) + ",";
    csv += "\r\n";
    for (int c = 0; c < e.NCats; ++c) {
      csv += CsvQuoted(c < static_cast<int>(categories.size()) ? categories[static_cast<size_t>(c)] : "") + ",";
      for (int m = 0; m < 12; ++m) csv += ExpenseAmountText(e.At(y, c, m)) + ",";
      csv += "\r\n";
    }
    csv += "\r\n";
  }
  return csv;
}

std::vector<std::string> ExpenseMonthNames() {
  std::vector<std::string> names;
  for (int m = 1; m <= 12; ++m) names.push_back(FormatDateTime("mmm", EncodeDate(2000, m, 1)));
  return names;
}

bool WriteExpensesCsv(Session& s, int n, const Expense& e, std::string& reason) {
  const std::string csv = ExpensesCsv(PropertyTitle(s, n), ExpenseCategoryNames(s), ExpenseMonthNames(), e);
  errno = 0;
  if (WriteWholeFile(ExpensesCsvPath(s), csv)) return true;
  reason = errno ? SystemErrorText(errno) : "unknown error";
  return false;
}

bool ParseExpenseYearCsv(const std::string& text, const std::string& fileShown, int cats, ExpenseYear& out,
                         std::string& error) {
  const std::vector<std::string> lines = TextFileLines(text);
  if (static_cast<int>(lines.size()) != cats) {
    error = "Error - Input file (" + fileShown + ") should have " + std::to_string(cats) + " lines";
    return false;
  }
  out.assign(lines.size(), {});
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    size_t at = 0;
    for (int m = 0; m < 12; ++m) {
      std::string why;
      bool ok = false;
      if (at > line.size()) {
        why = "12 amounts expected, found " + std::to_string(m);
      } else {
        size_t end = line.find(',', at);
        if (end == std::string::npos) end = line.size();
        ok = ParseExpenseAmount(line.substr(at, end - at), out[i][static_cast<size_t>(m)], &why);
        at = end + 1;
      }
      if (!ok) {
        error = "Data Error: CSV file invalid. Line " + std::to_string(i + 1) + "\r" + why;
        return false;
      }
    }
  }
  return true;
}

}  // namespace tb

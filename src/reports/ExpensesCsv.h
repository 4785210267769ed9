#pragma once
// "Expenses.csv", the expenses window's export of a property's ledger, and the import
// of one year's amounts from a CSV file.

#include <array>
#include <string>
#include <vector>

#include "reports/Expenses.h"

namespace tb {

class Session;

std::string ExpensesCsvPath(const Session& s);  // root + "Expenses.csv"

// The export's text (CR LF lines): a title line, then per year its heading, the
// month heading and one line per category, each value followed by a comma; texts in
// double quotes with any double quote inside doubled.
std::string ExpensesCsv(const std::string& title, const std::vector<std::string>& categories,
                        const std::vector<std::string>& monthNames, const Expense& e);

// The short month names of the heading ("Jan" .. "Dec").
std::vector<std::string> ExpenseMonthNames();
// Writes property n's ledger as "Expenses.csv" in the root folder, replacing an older
// file only once the new one is whole; false with the system's reason.
bool WriteExpensesCsv(Session& s, int n, const Expense& e, std::string& reason);

// One year's amounts from an import file: one line per category, each with the 12
// monthly amounts January first, separated by commas (further fields ignored). A final
// line break adds no line. On failure `error` holds the message to show.
using ExpenseYear = std::vector<std::array<double, 12>>;
bool ParseExpenseYearCsv(const std::string& text, const std::string& fileShown, int cats, ExpenseYear& out,
                         std::string& error);

}  // namespace tb

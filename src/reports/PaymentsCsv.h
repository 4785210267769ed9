#pragma once
// "Payments.csv": the payments list as it stands, for a spreadsheet.

#include <string>
#include <vector>

#include "reports/Payments.h"

namespace tb {

class Session;
struct FormatSettings;

std::string PaymentsCsvPath(const Session& s);  // root + "Payments.csv"
// The file's text (CR LF lines): the nine headings in double quotes, then one line per
// row in the order given. Property, surname, days, type, comment and sub-total are
// quoted (quotes inside doubled); dates become "dd-mmm-yyyy" with the locale's month
// names; the amount keeps its currency symbol, and is quoted only when its symbol
// would break the line into fields.
std::string PaymentsCsv(const std::vector<PaymentRow>& rows, const FormatSettings& fs);
// Writes the file whole, replacing the old one only once the new one is complete.
// False with the reason (the path and the system's own words) in error.
bool WritePaymentsCsv(const Session& s, const std::vector<PaymentRow>& rows, std::string& error);

}  // namespace tb

#include "reports/PaymentsCsv.h"

#include <cerrno>
#include <cstring>

#include "platform/DateTime.h"
#include "platform/Escape.h"
#include "platform/FileSystem.h"
#include "platform/FormatSettings.h"
#include "platform/PathText.h"
#include "platform/Text.h"
#include "store/Session.h"

namespace tb {

namespace {

// A field left bare unless it holds what would split or end it.
std::string Bare(const std::string& text) {
  return text.find_first_of(",\"\r\n") == std::string::npos ? text : CsvQuoted(text);
}

std::string DayMonthYear(TDateTime date, const FormatSettings& fs) {
  return FormatDateTime("dd'-'mmm'-'yyyy", date, fs);
}

}  // namespace

std::string PaymentsCsvPath(const Session& s) { return s.common.RootFolder + "Payments.csv"; }

std::string PaymentsCsv(const std::vector<PaymentRow>& rows, const FormatSettings& fs) {
  std::string csv;
  for (int c = 0; c < kPaymentColumns; ++c) {
    if (c) csv += ',';
    csv += CsvQuoted(Trim(PaymentHeading(static_cast<PaymentColumn>(c))));
  }
  csv += "\r\n";
  for (const PaymentRow& r : rows) {
    csv += Bare(DayMonthYear(r.date, fs));
    csv += ',' + CsvQuoted(std::to_string(r.prop));
    csv += ',' + CsvQuoted(r.Surname);
    csv += ',' + Bare(DayMonthYear(r.arrival, fs));
    csv += ',' + CsvQuoted(std::to_string(r.Days));
    csv += ',' + Bare(r.AmountText());
    csv += ',' + CsvQuoted(r.Type());
    csv += ',' + CsvQuoted(r.Comment());
    csv += ',' + CsvQuoted(r.SubTotalText());
    csv += "\r\n";
  }
  return csv;
}

bool WritePaymentsCsv(const Session& s, const std::vector<PaymentRow>& rows, std::string& error) {
  const std::string path = PaymentsCsvPath(s);
  errno = 0;
  if (WriteWholeFile(path, PaymentsCsv(rows, SystemFormatSettings()))) return true;
  const int reason = errno;
  error = "Cannot write " + PathText(path) + "\r" + (reason ? std::strerror(reason) : "the file could not be replaced");
  return false;
}

}  // namespace tb

// cotlynctl income and stats: the income statement for a tax year, as the CSV file the
// report window writes or as its printed pages in a PDF, and the statistics window's
// three tables as text.

#include <cerrno>
#include <nlohmann/json.hpp>

#include "ctl/CtlOptions.h"
#include "ctl/CtlReportSupport.h"
#include "ctl/CtlSession.h"
#include "platform/Cp1252.h"
#include "platform/FileSystem.h"
#include "reports/IncomeReport.h"
#include "reports/Statistics.h"
#include "store/BookingFile.h"
#include "store/Session.h"

namespace tb {

int CtlIncome(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const PdfCanvasMaker& pdf) {
  const char* usage =
      "usage: cotlynctl income ROOT --tax-year YYYY [--props 1,3] [--pdf FILE] [--today YYYY-MM-DD]";
  const CtlOptions o = ParseCtlOptions(args, {"--tax-year", "--props", "--pdf", "--today"});
  long long taxYear = 0;
  if (!o.ok || o.positional.size() != 1 || !ParseCtlInt(o.Get("--tax-year"), 1901, 9999, taxYear) ||
      (o.named.count("--pdf") && o.Get("--pdf").empty()))
    return CtlUsage(err, usage);
  const bool printed = o.named.count("--pdf") > 0;
  int exitCode = 0;
  std::vector<int> properties;
  auto ctl = OpenCtlReport(o, printed, pdf, usage, err, exitCode, properties);
  if (!ctl) return exitCode;
  Session& s = ctl->session();
  const int year = static_cast<int>(taxYear);
  nlohmann::ordered_json j;
  if (printed) {
    const std::string path = AbsolutePath(o.Get("--pdf"));
    const int pages = PrintToPdf(
        *ctl, pdf, path, [&](ReportPrinter& printer) { return PrintIncomeStatement(printer, s, year, properties); },
        err);
    if (pages == 0) return 1;
    j["file"] = path;
    j["pages"] = pages;
  } else {
    const std::string path = s.common.RootFolder + IncomeCsvName(s, year);
    errno = 0;
    if (!WriteWholeFile(path, IncomeCsvText(s, year, properties))) {
      err << OpeningFileError(errno, path) << "\n";
      return 1;
    }
    j["file"] = path;
  }
  j["taxYear"] = std::to_string(year - 1) + "-" + std::to_string(year);
  j["properties"] = properties;
  out << j.dump(2) << "\n";
  return 0;
}

int CtlStats(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const char* usage = "usage: cotlynctl stats ROOT [--props 1,3] [--year-start DD/MM] [--today YYYY-MM-DD]";
  const CtlOptions o = ParseCtlOptions(args, {"--props", "--year-start", "--today"});
  if (!o.ok || o.positional.size() != 1) return CtlUsage(err, usage);
  int exitCode = 0;
  std::vector<int> properties;
  auto ctl = OpenCtlReport(o, false, {}, usage, err, exitCode, properties);
  if (!ctl) return exitCode;
  Session& s = ctl->session();
  int day = 5, month = 4;
  TaxYearDay(s, day, month);
  if (o.named.count("--year-start")) {
    if (const std::string refused = CheckYearStartDay(o.Get("--year-start"), day, month); !refused.empty()) {
      s.dialogs.Beep();
      s.dialogs.Message(refused, MsgIcon::Error, MsgButton::OK);
      return 2;
    }
  }
  const StatsResult r = AnalyseBookings(s, properties, day, month);
  if (r.analysed == 0) {
    s.dialogs.Message("No data found for selected property(s)", MsgIcon::None, MsgButton::OK);
    return 1;
  }
  for (const StatsLine& line : StatsLines(r)) out << Cp1252ToUtf8(line.text) << "\n";
  return 0;
}

}  // namespace tb

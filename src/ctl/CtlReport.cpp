// cotlynctl report: the report window's reports for a range of weeks, for scripts and
// cron: the text reports written to the root folder as the window writes them, the
// printed ones as the same pages in a PDF file.

#include <cerrno>
#include <nlohmann/json.hpp>

#include "ctl/CtlOptions.h"
#include "ctl/CtlReportSupport.h"
#include "ctl/CtlSession.h"
#include "platform/FileSystem.h"
#include "reports/BookingReports.h"
#include "reports/ReportPrinter.h"
#include "reports/StatusReport.h"
#include "store/BookingFile.h"
#include "store/Session.h"

namespace tb {

namespace {

// "YYYY/WW": a year and a week from 1 to 53.
bool ParseYearWeek(const std::string& text, int& year, int& week) {
  const size_t slash = text.find('/');
  long long y = 0, w = 0;
  if (slash == std::string::npos || !ParseCtlInt(text.substr(0, slash), 1900, 9999, y) ||
      !ParseCtlInt(text.substr(slash + 1), 1, 53, w))
    return false;
  year = static_cast<int>(y);
  week = static_cast<int>(w);
  return true;
}

}  // namespace

int CtlReport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const PdfCanvasMaker& pdf) {
  const char* usage =
      "usage: cotlynctl report ROOT status|availability|replist|booklist --from YYYY/WW --to YYYY/WW "
      "[--props 1,3] [--pdf FILE] [--today YYYY-MM-DD]";
  const CtlOptions o = ParseCtlOptions(args, {"--from", "--to", "--props", "--pdf", "--today"});
  if (!o.ok || o.positional.size() != 2) return CtlUsage(err, usage);
  const std::string& kind = o.positional[1];
  const bool printed = kind == "status" || kind == "replist";
  WeekRange r;
  if ((!printed && kind != "availability" && kind != "booklist") || printed != (o.named.count("--pdf") > 0) ||
      (printed && o.Get("--pdf").empty()) || !ParseYearWeek(o.Get("--from"), r.startYear, r.startWeek) ||
      !ParseYearWeek(o.Get("--to"), r.endYear, r.endWeek))
    return CtlUsage(err, usage);
  int exitCode = 0;
  std::vector<int> properties;
  auto ctl = OpenCtlReport(o, printed, pdf, usage, err, exitCode, properties);
  if (!ctl) return exitCode;
  Session& s = ctl->session();
  if (RangeWeekCount(s, r, properties[0]) <= 0) {
    err << "End date before start date\n";
    return 1;
  }
  nlohmann::ordered_json j;
  if (printed) {
    const std::string path = AbsolutePath(o.Get("--pdf"));
    const int pages = PrintToPdf(
        *ctl, pdf, path,
        [&](ReportPrinter& printer) {
          return kind == "status" ? PrintStatusReport(printer, s, r, properties)
                                  : PrintBookingList(printer, s, r, properties);
        },
        err);
    if (pages == 0) return 1;
    j["file"] = path;
    j["pages"] = pages;
    j["weeks"] = RangeWeekCount(s, r, properties[0]);
    j["properties"] = properties;
    out << j.dump(2) << "\n";
    return 0;
  }
  const bool availability = kind == "availability";
  const std::string path = s.common.RootFolder + (availability ? kAvailabilityFile : kBookingListFile);
  const std::string text =
      availability ? AvailabilityText(s, r, properties) : BookingListText(s, r, properties);
  if (!WriteWholeFile(path, text)) {
    err << "Cannot write " << path << ": " << SystemErrorText(errno) << "\n";
    return 1;
  }
  j["file"] = path;
  j["weeks"] = RangeWeekCount(s, r, properties[0]);
  j["properties"] = properties;
  out << j.dump(2) << "\n";
  return 0;
}

}  // namespace tb

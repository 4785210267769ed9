// cotlynctl overdue: the overdue list of every property as JSON, for a daily mail from
// cron; with --csv also "Overdue-Items.csv" as the window exports it, with --pdf its
// printed pages.

#include <nlohmann/json.hpp>

#include "ctl/CtlOptions.h"
#include "ctl/CtlReportSupport.h"
#include "ctl/CtlSession.h"
#include "platform/FileSystem.h"
#include "reports/OverdueCsv.h"
#include "reports/OverdueList.h"
#include "reports/OverduePrint.h"
#include "store/Session.h"

namespace tb {

int CtlOverdue(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const PdfCanvasMaker& pdf) {
  const char* usage = "usage: cotlynctl overdue ROOT [--csv] [--pdf FILE] [--today YYYY-MM-DD]";
  bool csv = false;
  std::vector<std::string> rest;
  for (const std::string& a : args) {
    if (a == "--csv") csv = true;
    else rest.push_back(a);
  }
  const CtlOptions o = ParseCtlOptions(rest, {"--pdf", "--today"});
  if (!o.ok || o.positional.size() != 1 || (o.named.count("--pdf") && o.Get("--pdf").empty()))
    return CtlUsage(err, usage);
  const bool printed = o.named.count("--pdf") > 0;
  if (printed && !pdf) {
    err << "This build of cotlynctl cannot write PDF files\n";
    return 1;
  }
  int exitCode = 0;
  auto ctl = OpenCtlRoot(o.positional[0], o.Get("--today"), usage, err, exitCode);
  if (!ctl) return exitCode;
  Session& s = ctl->session();
  const std::vector<int> properties = OverdueProperties(s);
  // A property whose file could not be read would pass as having nothing overdue.
  if (!ReadCtlBookings(*ctl, properties)) return 1;
  const TDateTime today = s.clock.Today();
  const std::vector<OverdueRow> rows = OverdueRows(s, properties, today);

  nlohmann::ordered_json j;
  j["today"] = IsoDate(today);
  j["properties"] = properties;
  j["items"] = nlohmann::ordered_json::array();
  for (const OverdueRow& r : rows) {
    j["items"].push_back({{"prop", r.prop},
                          {"property", JsonText(r.propName)},
                          {"rec", r.rec},
                          {"start", IsoDate(r.start)},
                          {"surname", JsonText(r.surname)},
                          {"firstName", JsonText(r.firstName)},
                          {"reason", JsonText(r.reason)}});
  }
  if (csv) {
    if (ExportOverdueCsv(s, rows) != CsvExport::Written) return 1;
    j["csv"] = OverdueCsvPath(s);
  }
  if (printed) {
    const std::string path = AbsolutePath(o.Get("--pdf"));
    const int pages =
        PrintToPdf(*ctl, pdf, path, [&](ReportPrinter& printer) { return PrintOverdueList(printer, rows); }, err);
    if (pages == 0) return 1;
    j["pdf"] = path;
    j["pages"] = pages;
  }
  out << j.dump(2) << "\n";
  return 0;
}

}  // namespace tb

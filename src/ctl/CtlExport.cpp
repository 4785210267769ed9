// cotlynctl export: the export window's three exports for cron, with the same files,
// questions (answered from COTLYN_ANSWERS) and log lines; JSON out.

#include <nlohmann/json.hpp>

#include "ctl/CtlOptions.h"
#include "ctl/CtlReportSupport.h"
#include "ctl/CtlSession.h"
#include "maintenance/Export.h"
#include "platform/Cp1252.h"
#include "platform/FormatSettings.h"
#include "store/Session.h"

namespace tb {

namespace {

const char* OutcomeName(ExportOutcome o) {
  switch (o) {
    case ExportOutcome::Written: return "written";
    case ExportOutcome::Cancelled: return "cancelled";
    default: return "failed";
  }
}

}  // namespace

int CtlExport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const char* usage =
      "usage: cotlynctl export ROOT (--template NAME|--all|--rates) [--props 1,3] [--from YYYY-MM-DD"
      " --to YYYY-MM-DD] [--header] [--today YYYY-MM-DD]";
  bool all = false, rates = false, header = false;
  std::vector<std::string> rest;
  for (const std::string& a : args) {
    if (a == "--all") all = true;
    else if (a == "--rates") rates = true;
    else if (a == "--header") header = true;
    else rest.push_back(a);
  }
  const CtlOptions o = ParseCtlOptions(rest, {"--template", "--props", "--from", "--to", "--today"});
  const bool byTemplate = o.named.count("--template") > 0;
  if (!o.ok || o.positional.size() != 1 || byTemplate + all + rates != 1 ||
      (byTemplate && o.Get("--template").empty()))
    return CtlUsage(err, usage);
  int exitCode = 0;
  auto ctl = OpenCtlRoot(o.positional[0], o.Get("--today"), usage, err, exitCode);
  if (!ctl) return exitCode;
  Session& s = ctl->session();

  ExportRun run;
  run.header = header;
  StoredExportRange(s, run.from, run.to);
  if ((!o.Get("--from").empty() && !ParseIsoDate(o.Get("--from"), run.from)) ||
      (!o.Get("--to").empty() && !ParseIsoDate(o.Get("--to"), run.to)))
    return CtlUsage(err, usage);
  if (o.Get("--props").empty()) {
    for (int n = 1; n <= s.NumProps(); ++n) run.properties.push_back(n);
  } else if (std::string unknown; !ctl->FindProperties(o.Get("--props"), run.properties, unknown)) {
    err << "no such property: " << unknown << "\n";
    return 1;
  }

  std::vector<std::string> log;
  std::string path, text;
  if (rates) {
    path = RatesExportPath(s);
    text = RatesSql(s, run.properties);
  } else {
    // Every list read here, the current property's too: nothing is held.
    if (!ReadCtlBookings(*ctl, run.properties)) return 1;
    path = BookingsExportPath(s);
    if (all) {
      text = AllBookingsCsv(s, run, log);
    } else {
      ExportTemplate t;
      if (!LoadExportTemplate(s, Utf8ToCp1252(o.Get("--template")), t)) return 1;
      text = BookingsCsv(s, t, run, SystemFormatSettings(), log);
    }
  }
  const ExportOutcome outcome = WriteExport(s, path, text, log);

  nlohmann::ordered_json j;
  j["export"] = rates ? "rates" : all ? "all" : "template";
  if (byTemplate) j["template"] = o.Get("--template");
  j["properties"] = run.properties;
  if (!rates) {
    j["from"] = IsoDate(run.from);
    j["to"] = IsoDate(run.to);
  }
  j["file"] = path;
  j["outcome"] = OutcomeName(outcome);
  j["log"] = nlohmann::ordered_json::array();
  for (const std::string& line : log) j["log"].push_back(JsonText(line));
  out << j.dump(2) << "\n";
  return outcome == ExportOutcome::Written ? 0 : 1;
}

}  // namespace tb

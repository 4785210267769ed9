// cotlynctl accounts: the monthly accounts window's run for a cron job: the owners'
// accounts printed to PDF or e-mailed to them, the agent summary printed or written
// as CSV, the run's log on stdout (or as JSON) and exit 0 only when it completed.

#include <nlohmann/json.hpp>

#include "ctl/CtlOptions.h"
#include "ctl/CtlReportSupport.h"
#include "ctl/CtlSession.h"
#include "owners/OwnerHooks.h"
#include "platform/Cp1252.h"
#include "platform/FileSystem.h"
#include "reports/AccountsRun.h"
#include "store/Session.h"

namespace tb {

namespace {

// "YYYY-MM".
bool ParseYearMonth(const std::string& text, int& year, int& month) {
  long long y = 0, m = 0;
  if (text.size() != 7 || text[4] != '-' || !ParseCtlInt(text.substr(0, 4), 1900, 9999, y) ||
      !ParseCtlInt(text.substr(5), 1, 12, m))
    return false;
  year = static_cast<int>(y);
  month = static_cast<int>(m);
  return true;
}

// A second printed document beside the first: "accounts.pdf" -> "accounts-summary.pdf".
std::string SummaryPdfPath(const std::string& path) {
  const size_t slash = path.rfind('/');
  const size_t dot = path.rfind('.');
  const bool ext = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return ext ? path.substr(0, dot) + "-summary" + path.substr(dot) : path + "-summary";
}

}  // namespace

int CtlAccounts(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                const PdfCanvasMaker& pdf) {
  const char* usage =
      "usage: cotlynctl accounts ROOT --month YYYY-MM [--props 1,3] [--email]"
      " [--agent [--summary-only] [--csv FILE]] [--pdf FILE] [--json] [--today YYYY-MM-DD]";
  AccountsRequest r;
  bool json = false;
  std::vector<std::string> rest;
  for (const std::string& a : args) {
    if (a == "--email") r.email = true;
    else if (a == "--agent") r.agentReport = true;
    else if (a == "--summary-only") r.summaryOnly = true;
    else if (a == "--json") json = true;
    else rest.push_back(a);
  }
  const CtlOptions o = ParseCtlOptions(rest, {"--month", "--props", "--csv", "--pdf", "--today"});
  if (!o.ok || o.positional.size() != 1 || !ParseYearMonth(o.Get("--month"), r.year, r.month))
    return CtlUsage(err, usage);
  r.csvSummary = o.named.count("--csv") > 0;
  // The window's rules: no agent report by e-mail; the summary's options only with it.
  if ((r.email && r.agentReport) || (!r.agentReport && (r.summaryOnly || r.csvSummary)) ||
      (r.csvSummary && o.Get("--csv").empty()))
    return CtlUsage(err, usage);
  const bool printed = !r.email && (!r.summaryOnly || !r.csvSummary);
  if (printed != (o.named.count("--pdf") > 0) || (printed && o.Get("--pdf").empty())) return CtlUsage(err, usage);
  int exitCode = 0;
  auto ctl = printed && !pdf ? nullptr : OpenCtlRoot(o.positional[0], o.Get("--today"), usage, err, exitCode);
  if (!ctl) {
    if (printed && !pdf) err << "This build of cotlynctl cannot write PDF files\n";
    return printed && !pdf ? 1 : exitCode;
  }
  Session& s = ctl->session();
  // The window starts with every property chosen.
  std::string unknown;
  if (!o.named.count("--props"))
    for (int n = 1; n <= s.NumProps(); ++n) r.properties.push_back(n);
  else if (!ctl->FindProperties(o.Get("--props"), r.properties, unknown))
    err << "no such property: " << unknown << "\n";
  if (!unknown.empty()) return 1;
  if (r.properties.empty()) {
    err << "No properties to report\n";
    return 1;
  }
  if (!ReadCtlBookings(*ctl, r.properties)) return 1;
  // The owners: their names on the accounts, their addresses for the e-mails.
  LoadOwnerDatabase(s);

  std::vector<std::string> log;
  std::vector<std::string> files;
  AccountsOutput output;
  output.log = [&](const std::string& line) {
    log.push_back(Cp1252ToUtf8(line));
    if (!json) out << log.back() << "\n" << std::flush;
  };
  const std::string pdfPath = printed ? AbsolutePath(o.Get("--pdf")) : std::string();
  output.printJob = [&](const std::function<bool(ReportPrinter&)>& job) {
    // The first document takes --pdf; a summary after the accounts goes beside it.
    const std::string path = files.empty() ? pdfPath : SummaryPdfPath(pdfPath);
    if (PrintToPdf(*ctl, pdf, path, job, err) == 0) return false;
    files.push_back(path);
    return true;
  };
  if (r.csvSummary) output.csvPath = AbsolutePath(o.Get("--csv"));
  output.openCsv = false;
  const AccountsEnd end = RunMonthlyAccounts(s, r, output);
  if (end == AccountsEnd::Complete && r.csvSummary) files.push_back(output.csvPath);
  if (json) {
    nlohmann::ordered_json j;
    j["month"] = o.Get("--month");
    j["properties"] = r.properties;
    j["complete"] = end == AccountsEnd::Complete;
    j["log"] = log;
    j["files"] = files;
    out << j.dump(2) << "\n";
  }
  return end == AccountsEnd::Complete ? 0 : 1;
}

}  // namespace tb

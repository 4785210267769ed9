// cotlynctl import: bookings from a CSV file added to a property by the import window's
// engine (the file's lock and its refusal, every line's rules, the overlap checks, one
// write), for moving bookings from another system. The question before the write is
// answered from COTLYN_ANSWERS (Yes by default). JSON out; exit status 0 only when
// saved, or with --check when the file is valid.

#include <nlohmann/json.hpp>

#include "ctl/CtlOptions.h"
#include "ctl/CtlSession.h"
#include "maintenance/ImportBookings.h"

namespace tb {

namespace {

const char* ResultName(ImportResult r) {
  switch (r) {
    case ImportResult::Refused: return "refused";
    case ImportResult::Invalid: return "invalid";
    case ImportResult::Valid: return "valid";
    case ImportResult::Cancelled: return "cancelled";
    case ImportResult::NotWritten: return "not written";
    case ImportResult::Imported: return "imported";
  }
  return "";
}

}  // namespace

int CtlImport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const char* usage = "usage: cotlynctl import ROOT PROP FILE [--check] [--today YYYY-MM-DD]";
  std::vector<std::string> rest;
  bool checkOnly = false;
  for (const std::string& a : args) {
    if (a == "--check") checkOnly = true;
    else rest.push_back(a);
  }
  const CtlOptions o = ParseCtlOptions(rest, {"--today"});
  if (!o.ok || o.positional.size() != 3) return CtlUsage(err, usage);
  CtlProperty c = OpenCtlProperty(o.positional[0], o.positional[1], o.Get("--today"), usage, err);
  if (!c.ctl) return c.exitCode;
  Session& s = c.ctl->session();
  const ImportOutcome outcome = ImportBookings(s, c.n, o.positional[2], checkOnly);
  nlohmann::ordered_json answer;
  answer["property"] = c.n;
  answer["file"] = o.positional[2];
  answer["result"] = ResultName(outcome.result);
  answer["lines"] = outcome.lines;
  if (outcome.badLine) {
    answer["line"] = outcome.badLine;
    answer["reason"] = JsonText(outcome.reason);
  }
  if (checkOnly) {
    answer["valid"] = outcome.result == ImportResult::Valid;
    CtlAnswer(*c.ctl, answer, false, out);
    return outcome.result == ImportResult::Valid ? 0 : 1;
  }
  return CtlAnswer(*c.ctl, answer, outcome.result == ImportResult::Imported, out);
}

}  // namespace tb

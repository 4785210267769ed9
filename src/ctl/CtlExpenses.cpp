// cotlynctl expenses: a property's expenses ledger as JSON, "Expenses.csv" written as
// the expenses window exports it, or one year imported from a CSV file and saved.

#include <nlohmann/json.hpp>

#include "ctl/CtlOptions.h"
#include "ctl/CtlSession.h"
#include "reports/ExpenseEditor.h"
#include "reports/ExpensesCsv.h"

namespace tb {

namespace {

nlohmann::ordered_json LedgerJson(const ExpenseEditor& ed) {
  const Expense& e = ed.Ledger();
  nlohmann::ordered_json j;
  j["FirstYear"] = e.FirstYear;
  j["Years"] = e.NYears;
  j["ReadOnly"] = ed.ReadOnly();
  nlohmann::ordered_json names = nlohmann::ordered_json::array();
  for (const std::string& name : ed.CategoryNames()) names.push_back(JsonText(name));
  j["Categories"] = names;
  nlohmann::ordered_json years;
  for (int y = 0; y < e.NYears; ++y) {
    nlohmann::ordered_json rows = nlohmann::ordered_json::array();
    for (int c = 0; c < e.NCats; ++c) {
      nlohmann::ordered_json months = nlohmann::ordered_json::array();
      for (int m = 0; m < 12; ++m) months.push_back(e.At(y, c, m));
      rows.push_back(months);
    }
    years[std::to_string(e.FirstYear + y)] = rows;
  }
  j["Amounts"] = years;
  return j;
}

}  // namespace

int CtlExpenses(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const char* usage = "usage: cotlynctl expenses ROOT PROP [--export | --import YEAR FILE] [--today YYYY-MM-DD]";
  std::vector<std::string> rest;
  std::string mode, yearText, file;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] != "--export" && args[i] != "--import") {
      rest.push_back(args[i]);
      continue;
    }
    if (!mode.empty()) return CtlUsage(err, usage);
    mode = args[i];
    if (mode == "--import") {
      if (i + 2 >= args.size()) return CtlUsage(err, usage);
      yearText = args[++i];
      file = args[++i];
    }
  }
  long long year = 0;
  if (mode == "--import" && !ParseCtlInt(yearText, kFirstExpenseYear, kLastExpenseYear, year))
    return CtlUsage(err, usage);
  const CtlOptions o = ParseCtlOptions(rest, {"--today"});
  if (!o.ok || o.positional.size() != 2) return CtlUsage(err, usage);
  CtlProperty p = OpenCtlProperty(o.positional[0], o.positional[1], o.Get("--today"), usage, err);
  if (!p.ctl) return p.exitCode;
  Session& s = p.ctl->session();

  ExpenseEditor ed(s);
  if (!ed.Start(p.n, static_cast<int>(year))) return 1;
  if (mode.empty()) {
    out << LedgerJson(ed).dump(2) << "\n";
    return 0;
  }
  if (mode == "--export") {
    std::string reason;
    if (!WriteExpensesCsv(s, p.n, ed.Ledger(), reason)) {
      err << "Cannot write " << ExpensesCsvPath(s) << ": " << reason << "\n";
      return 1;
    }
    out << "Exported " << ed.Ledger().NYears << " years to " << ExpensesCsvPath(s) << "\n";
    return 0;
  }
  if (ed.ReadOnly()) {
    err << "Cannot import: " << ExpensesPath(s, p.n)
        << (ed.HeldElsewhere() ? " is in use by another user" : " could not be read") << "\n";
    return 1;
  }
  if (ed.ShownYear() != year) {
    err << "Cannot import: " << year << " is not a year of the ledger (" << ed.Ledger().FirstYear << " to "
        << ed.Ledger().LastYear() << ")\n";
    return 1;
  }
  if (!ed.Import([&file]() { return file; }) || !ed.Save()) return 1;
  out << "Imported " << year << " from " << file << " into " << ExpensesPath(s, p.n) << "\n";
  return 0;
}

}  // namespace tb

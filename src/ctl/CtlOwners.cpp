// cotlynctl owners: the owner database (or its archive) as JSON, the statistics
// text, or "Owners.csv" written as the owner editor exports it.

#include <algorithm>
#include <nlohmann/json.hpp>

#include "ctl/CtlOptions.h"
#include "ctl/CtlSession.h"
#include "owners/OwnerDB.h"
#include "owners/OwnerExport.h"
#include "owners/OwnerListRows.h"
#include "owners/OwnerStats.h"
#include "platform/Cp1252.h"

namespace tb {

namespace {

nlohmann::ordered_json OwnerJson(const Owner_Rec& o) {
  static const char* const kTextNames[kOwnerTextCount] = {"OwnerSurname", "OwnerFName", "OwnerAddress", "OwnerPhone",
                                                          "OwnerEmail",   "OwnerURL",   "OwnerNotes"};
  nlohmann::ordered_json j;
  j["OwnerID"] = o.OwnerID;
  j["OwnerCreated"] = IsoDate(o.OwnerCreated);
  j["OwnerUpdated"] = IsoDateTime(o.OwnerUpdated);
  const auto texts = OwnerTexts(o);
  for (size_t i = 0; i < kOwnerTextCount; ++i) j[kTextNames[i]] = JsonText(*texts[i]);
  return j;
}

}  // namespace

int CtlOwners(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const char* usage = "usage: cotlynctl owners ROOT [--archive | --check | --csv] [--today YYYY-MM-DD]";
  // The switches take no value; the rest goes to the common parser.
  std::vector<std::string> rest;
  std::string mode;
  for (const std::string& a : args) {
    if (a != "--archive" && a != "--check" && a != "--csv") {
      rest.push_back(a);
    } else if (!mode.empty()) {
      return CtlUsage(err, usage);
    } else {
      mode = a;
    }
  }
  const CtlOptions o = ParseCtlOptions(rest, {"--today"});
  if (!o.ok || o.positional.size() != 1) return CtlUsage(err, usage);
  int exitCode = 0;
  auto ctl = OpenCtlRoot(o.positional[0], o.Get("--today"), usage, err, exitCode);
  if (!ctl) return exitCode;
  Session& s = ctl->session();

  if (mode == "--archive") {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const Owner_Rec& owner : ReadOwnerArchive(s)) list.push_back(OwnerJson(owner));
    out << list.dump(2) << "\n";
    return 0;
  }
  // A damaged file ends the run here, in FatalError with its message and log line.
  OpenOwnerDB(s, false);
  if (mode == "--check") {
    out << Cp1252ToUtf8(OwnerCountText(s) + "\r\n" + OwnerDatabaseText(s) + "\r\n" + OwnerStatisticsText(s));
    return 0;
  }
  if (mode == "--csv") {
    if (!WriteOwnersCsv(s)) {
      err << "Cannot write " << OwnersCsvPath(s) << "\n";
      return 1;
    }
    out << "Exported " << OwnerList(s).size() << " records to " << OwnersCsvPath(s) << "\n";
    return 0;
  }
  const std::vector<OwnerListRow> rows = OwnerListRows(s);
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const OwnerListRow& row : rows) {
    nlohmann::ordered_json j = OwnerJson(OwnerList(s)[static_cast<size_t>(row.Index)]);
    j["NP"] = row.NP;
    list.push_back(std::move(j));
  }
  out << list.dump(2) << "\n";
  return 0;
}

}  // namespace tb

// cotlynctl webfiles: the files the web site reads (propinfo.php, ratequery.php and the
// agency calendars of the properties that keep one), written into the helper folder
// as the upload commands write them, but not sent: for a look before uploading, or for
// a site that fetches them some other way.

#include <nlohmann/json.hpp>

#include "ctl/CtlOptions.h"
#include "ctl/CtlReportSupport.h"
#include "ctl/CtlSession.h"
#include "platform/FileSystem.h"
#include "store/Session.h"
#include "web/WebFiles.h"

namespace tb {

int CtlWebFiles(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const char* usage = "usage: cotlynctl webfiles ROOT [--today YYYY-MM-DD]";
  const CtlOptions o = ParseCtlOptions(args, {"--today"});
  if (!o.ok || o.positional.size() != 1) return CtlUsage(err, usage);
  int exitCode = 0;
  auto ctl = OpenCtlRoot(o.positional[0], o.Get("--today"), usage, err, exitCode);
  if (!ctl) return exitCode;
  Session& s = ctl->session();

  const std::string folder = HelperFolder(s);
  if (!DirectoryExists(folder)) {
    err << "Local Directory for files " << folder << " defined in Web-Up not found\n";
    return 1;
  }
  std::vector<int> properties;
  for (int n = 1; n <= s.NumProps(); ++n) properties.push_back(n);
  if (!ReadCtlBookings(*ctl, properties)) return 1;

  nlohmann::ordered_json files = nlohmann::ordered_json::array();
  bool all = true;
  const auto put = [&](const std::string& path, bool written) {
    files.push_back({{"file", path}, {"written", written}});
    if (!written) err << "Cannot write to file " << path << "\n";
    all = all && written;
  };
  put(folder + "propinfo.php", CreateWebData(s, folder + "propinfo.php"));
  int rows = 0;
  put(folder + "ratequery.php", CreateRateQuery(s, folder + "ratequery.php", rows));
  for (const int n : properties) {
    if (!s.Prop(n).AS) continue;
    const std::string path = folder + AgencyCalendarName(n);
    put(path, CreateAgencyCalendar(s, n, path));
  }
  nlohmann::ordered_json j;
  j["folder"] = folder;
  j["files"] = files;
  j["rateRows"] = rows;
  out << j.dump(2) << "\n";
  return all ? 0 : 1;
}

}  // namespace tb

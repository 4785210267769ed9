// cotlynctl upload: one of the web files built and sent as the Web commands and the
// auto-upload timer send them, for cron. Exit 0 only when the server took it.

#include <nlohmann/json.hpp>

#include "ctl/CtlOptions.h"
#include "ctl/CtlSession.h"
#include "web/WebCommands.h"
#include "web/WebFiles.h"

namespace tb {

int CtlUpload(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const char* usage = "usage: cotlynctl upload ROOT webdata|rates|calendar [PROP] [--today YYYY-MM-DD]";
  const CtlOptions o = ParseCtlOptions(args, {"--today"});
  if (!o.ok || o.positional.size() < 2) return CtlUsage(err, usage);
  const std::string& kind = o.positional[1];
  const bool calendar = kind == "calendar";
  if ((kind != "webdata" && kind != "rates" && !calendar) || o.positional.size() != (calendar ? 3u : 2u))
    return CtlUsage(err, usage);
  int exitCode = 0;
  std::unique_ptr<CtlSession> ctl = OpenCtlRoot(o.positional[0], o.Get("--today"), usage, err, exitCode);
  if (!ctl) return exitCode;
  Session& s = ctl->session();
  nlohmann::ordered_json j;
  j["upload"] = kind;
  bool sent = false;
  std::string file;
  if (calendar) {
    const int n = ctl->FindProperty(o.positional[2]);
    if (n == 0) {
      err << "no such property: " << o.positional[2] << "\n";
      return 1;
    }
    if (!s.Prop(n).AS) {
      err << "property " << n << " does not take part in the agency calendar (AS is off)\n";
      return 1;
    }
    j["property"] = n;
    file = AgencyCalendarName(n);
    sent = SynchAgency(s, n);
  } else if (kind == "rates") {
    file = "ratequery.php";
    // As the timer runs it: nothing asked, only a failure reported.
    sent = SynchRatesDatabase(s, false);
  } else {
    file = "propinfo.php";
    sent = UploadWebData(s);
  }
  j["file"] = HelperFolder(s) + file;  // a native path: UTF-8 already
  j["sent"] = sent;
  out << j.dump(2) << "\n";
  return sent ? 0 : 1;
}

}  // namespace tb

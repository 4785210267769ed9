// cotlynctl demo: a ready-to-use root folder.

#include "ctl/CtlOptions.h"
#include "ctl/Demo.h"
#include "platform/Clock.h"

namespace tb {

int CtlDemo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const char* usage = "usage: cotlynctl demo DIR [--properties N] [--seed S] [--years N]";
  const CtlOptions o = ParseCtlOptions(args, {"--properties", "--seed", "--years"});
  if (!o.ok || o.positional.size() != 1) return CtlUsage(err, usage);
  DemoOptions d;
  d.folder = o.positional[0];
  d.today = SystemClock().Today();
  long long v = 0;
  if (o.named.count("--properties")) {
    if (!ParseCtlInt(o.Get("--properties"), 1, 999, v)) return CtlUsage(err, usage);
    d.properties = static_cast<int>(v);
  }
  if (o.named.count("--seed")) {
    if (!ParseCtlInt(o.Get("--seed"), 0, 0xFFFFFFFFLL, v)) return CtlUsage(err, usage);
    d.seed = static_cast<uint32_t>(v);
  }
  if (o.named.count("--years")) {
    if (!ParseCtlInt(o.Get("--years"), 1, 100, v)) return CtlUsage(err, usage);
    d.years = static_cast<int>(v);
  }
  const std::string error = MakeDemo(d);
  if (!error.empty()) {
    err << error << "\n";
    return 1;
  }
  out << "Demo root folder made: " << d.folder << " (" << d.properties << " properties)\n";
  return 0;
}

}  // namespace tb

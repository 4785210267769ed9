#include "ctl/Ctl.h"

#include <charconv>
#include <functional>
#include <map>

#include "ctl/Demo.h"

namespace tb {

namespace {

const char* const kUsage = "usage: cotlynctl COMMAND [ARGS]   (cotlynctl --help lists the commands)";

const char* const kHelp =
    "cotlynctl: headless jobs on a Tenbrook root folder\n"
    "\n"
    "Commands:\n"
    "  demo DIR [--properties N] [--seed S]   make a ready-to-use root folder in DIR\n"
    "                                         (4 cottages by default; 200 for an agency)\n"
    "  --help                                 this list\n";

// Parses "--name value" options after the positional arguments.
struct Options {
  std::vector<std::string> positional;
  std::map<std::string, std::string> named;
  bool ok = true;
};

Options ParseOptions(const std::vector<std::string>& args, const std::vector<std::string>& allowed) {
  Options o;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.rfind("--", 0) != 0) {
      o.positional.push_back(a);
      continue;
    }
    bool known = false;
    for (const std::string& name : allowed) known = known || name == a;
    if (!known || i + 1 >= args.size()) {
      o.ok = false;
      return o;
    }
    o.named[a] = args[++i];
  }
  return o;
}

bool ParseInt(const std::string& text, long long lo, long long hi, long long& out) {
  const char* end = text.data() + text.size();
  auto [p, ec] = std::from_chars(text.data(), end, out);
  return ec == std::errc() && p == end && out >= lo && out <= hi;
}

int Usage(std::ostream& err, const std::string& line) {
  err << line << "\n";
  return 2;
}

int Demo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const char* usage = "usage: cotlynctl demo DIR [--properties N] [--seed S]";
  Options o = ParseOptions(args, {"--properties", "--seed"});
  if (!o.ok || o.positional.size() != 1) return Usage(err, usage);
  DemoOptions d;
  d.folder = o.positional[0];
  long long v = 0;
  if (o.named.count("--properties")) {
    if (!ParseInt(o.named["--properties"], 1, 999, v)) return Usage(err, usage);
    d.properties = static_cast<int>(v);
  }
  if (o.named.count("--seed")) {
    if (!ParseInt(o.named["--seed"], 0, 0xFFFFFFFFLL, v)) return Usage(err, usage);
    d.seed = static_cast<uint32_t>(v);
  }
  const std::string error = MakeDemo(d);
  if (!error.empty()) {
    err << error << "\n";
    return 1;
  }
  out << "Demo root folder made: " << d.folder << " (" << d.properties << " properties)\n";
  return 0;
}

}  // namespace

int RunCtl(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) return Usage(err, kUsage);
  const std::string& command = args[0];
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (command == "--help" || command == "-h" || command == "help") {
    out << kHelp;
    return 0;
  }
  if (command == "demo") return Demo(rest, out, err);
  return Usage(err, kUsage);
}

}  // namespace tb

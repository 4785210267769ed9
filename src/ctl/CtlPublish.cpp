// cotlynctl publish: the availability pages of the given properties made again, as the
// publishing window's "Update selected" makes them with the options of the settings
// file, for cron. Exit 0 only when every page was written.

#include <nlohmann/json.hpp>

#include "ctl/CtlOptions.h"
#include "ctl/CtlSession.h"
#include "platform/Cp1252.h"
#include "web/AvailabilityPages.h"

namespace tb {

namespace {

// "2026-W07": a year and a week from 1 to 53.
bool ParseYearWeek(const std::string& text, int& year, int& week) {
  long long y = 0, w = 0;
  if (text.size() < 7 || text.compare(4, 2, "-W") != 0 || !ParseCtlInt(text.substr(0, 4), 1900, 9999, y) ||
      !ParseCtlInt(text.substr(6), 1, 53, w))
    return false;
  year = static_cast<int>(y);
  week = static_cast<int>(w);
  return true;
}

const char* StyleName(PaneStyle style) {
  switch (style) {
    case PaneStyle::Blue: return "blue";
    case PaneStyle::BoldBlue: return "bold blue";
    case PaneStyle::SmallBlue: return "small blue";
    case PaneStyle::Red: return "red";
  }
  return "";
}

const char* OutcomeName(PageOutcome outcome) {
  switch (outcome) {
    case PageOutcome::Written: return "written";
    case PageOutcome::NoPage: return "no page";
    case PageOutcome::NotWritten: return "not written";
    case PageOutcome::Stopped: return "stopped";
  }
  return "";
}

}  // namespace

int CtlPublish(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const char* usage = "usage: cotlynctl publish ROOT PROP... --from YYYY-Wnn --to YYYY-Wnn [--today YYYY-MM-DD]";
  const CtlOptions o = ParseCtlOptions(args, {"--from", "--to", "--today"});
  PageRun run;
  if (!o.ok || o.positional.size() < 2 || !ParseYearWeek(o.Get("--from"), run.startYear, run.startWeek) ||
      !ParseYearWeek(o.Get("--to"), run.endYear, run.endWeek))
    return CtlUsage(err, usage);
  int exitCode = 0;
  std::unique_ptr<CtlSession> ctl = OpenCtlRoot(o.positional[0], o.Get("--today"), usage, err, exitCode);
  if (!ctl) return exitCode;
  Session& s = ctl->session();
  for (size_t i = 1; i < o.positional.size(); ++i) {
    const int n = ctl->FindProperty(o.positional[i]);
    if (n == 0) {
      err << "no such property: " << o.positional[i] << "\n";
      return 1;
    }
    run.properties.push_back(n);
  }
  run.wCWks = s.common.wCWks;
  run.wLDts = s.common.wLDts;
  run.wMSep = s.common.wMSep;
  run.wYSep = s.common.wYSep;
  run.wOLet = s.common.wOLet;

  const PageRunResult r = UpdateAvailabilityPages(s, run);
  nlohmann::ordered_json j;
  nlohmann::ordered_json lines = nlohmann::ordered_json::array();
  for (const PaneLine& l : r.pane) lines.push_back({{"text", Cp1252ToUtf8(l.text)}, {"style", StyleName(l.style)}});
  nlohmann::ordered_json pages = nlohmann::ordered_json::array();
  for (const PageResult& p : r.pages)
    pages.push_back({{"property", p.property},
                     {"page", p.path},  // a native path: UTF-8 already
                     {"outcome", OutcomeName(p.outcome)},
                     {"linesRead", p.linesRead},
                     {"linesWritten", p.linesWritten}});
  j["messages"] = lines;
  j["pages"] = pages;
  j["stopped"] = r.stopped;
  out << j.dump(2) << "\n";
  return r.AllWritten() ? 0 : 1;
}

}  // namespace tb

// cotlynctl search: the search window's name, text and list-all searches over every
// property (or one), newest first, as JSON.

#include <cmath>

#include <nlohmann/json.hpp>

#include "bookings/SearchBookings.h"
#include "ctl/CtlOptions.h"
#include "ctl/CtlReportSupport.h"
#include "ctl/CtlSession.h"
#include "platform/Cp1252.h"
#include "store/BookingList.h"
#include "store/Session.h"

namespace tb {

int CtlSearch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const char* usage = "usage: cotlynctl search ROOT (--name TEXT|--text TEXT|--all) [--prop PROP] [--today YYYY-MM-DD]";
  bool all = false;
  std::vector<std::string> rest;
  for (const std::string& a : args) {
    if (a == "--all") all = true;
    else rest.push_back(a);
  }
  const CtlOptions o = ParseCtlOptions(rest, {"--name", "--text", "--prop", "--today"});
  const int kinds = (all ? 1 : 0) + static_cast<int>(o.named.count("--name") + o.named.count("--text"));
  if (!o.ok || o.positional.size() != 1 || kinds != 1) return CtlUsage(err, usage);
  const SearchPurpose purpose = all                       ? SearchPurpose::ListAll
                                : o.named.count("--name") ? SearchPurpose::Name
                                                          : SearchPurpose::Text;
  // Typed on a UTF-8 terminal; the files hold Windows-1252.
  const std::string text = Utf8ToCp1252(all ? "" : o.Get(purpose == SearchPurpose::Name ? "--name" : "--text"));

  int exitCode = 0;
  auto ctl = OpenCtlRoot(o.positional[0], o.Get("--today"), usage, err, exitCode);
  if (!ctl) return exitCode;
  Session& s = ctl->session();
  std::vector<int> properties = SearchProperties(s, true);
  if (o.named.count("--prop")) {
    const int n = ctl->FindProperty(o.Get("--prop"));
    if (n == 0) {
      err << "unknown property: " << o.Get("--prop") << "\n";
      return 2;
    }
    properties = {n};
  }
  // A property whose file could not be read would pass as having no such booking.
  if (!ReadCtlBookings(*ctl, properties)) return 1;
  SearchList list;
  list.Run(s, properties, purpose, text);

  nlohmann::ordered_json j;
  j["search"] = all ? "all" : purpose == SearchPurpose::Name ? "name" : "text";
  j["text"] = JsonText(text);
  j["properties"] = properties;
  j["searched"] = list.result.searched;
  j["found"] = list.result.hits.size();
  j["hits"] = nlohmann::ordered_json::array();
  std::string cell;
  const auto column = [&](const SearchHit& h, SearchColumn c) {
    SearchCellText(h, c, cell);
    return JsonText(cell);
  };
  for (const SearchHit& h : list.result.hits) {
    const Book_Rec& b = h.node->Rec;
    j["hits"].push_back({{"prop", h.prop},
                         {"property", JsonText(s.Prop(h.prop).PropName)},
                         {"rec", h.rec},
                         {"start", IsoDate(b.StartD)},
                         {"days", std::lround(b.EndD - b.StartD)},
                         {"surname", column(h, SearchColumn::Surname)},
                         {"firstNames", column(h, SearchColumn::FirstNames)},
                         {"address", column(h, SearchColumn::Address)},
                         {"status", column(h, SearchColumn::Status)},
                         {"special", column(h, SearchColumn::Special)}});
  }
  out << j.dump(2) << "\n";
  return 0;
}

}  // namespace tb

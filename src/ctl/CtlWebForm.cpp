// cotlynctl webform: "Try to download" for one booking, as the booking window's "Locate
// Booking Form" runs it: the page stored in the property's "Booking Forms" folder and,
// with --merge, the site's form data merged into the booking's texts, which are shown
// and not saved. Exit 0 only when the form was downloaded.

#include <algorithm>
#include <nlohmann/json.hpp>

#include "bookings/BookingEditor.h"
#include "ctl/CtlOptions.h"
#include "ctl/CtlSession.h"
#include "web/UploadToHelper.h"
#include "web/WebForms.h"

namespace tb {

namespace {

const char* OutcomeName(WebFormOutcome outcome) {
  switch (outcome) {
    case WebFormOutcome::Downloaded: return "downloaded";
    case WebFormOutcome::NotFound: return "not found";
    case WebFormOutcome::InternetProblem: return "internet problem";
    case WebFormOutcome::NotWritten: return "not written";
  }
  return "";
}

// The booking's texts the form fills, by their record names, as the window holds them now.
nlohmann::ordered_json FieldsJson(const BookingFields& f) {
  const std::pair<const char*, const std::string BookingFields::*> texts[] = {
      {"Fnames", &BookingFields::fnames}, {"Address", &BookingFields::address},   {"Phone", &BookingFields::phone},
      {"Email", &BookingFields::email},   {"Comments", &BookingFields::comments}, {"Source", &BookingFields::source}};
  nlohmann::ordered_json j;
  j["Surname"] = JsonText(f.form.surname);
  for (const auto& [name, text] : texts) j[name] = JsonText(f.*text);
  j["OmitM"] = f.omitM;
  return j;
}

}  // namespace

int CtlWebForm(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const char* usage = "usage: cotlynctl webform ROOT PROP START [--merge] [--today YYYY-MM-DD]";
  std::vector<std::string> rest = args;
  const auto flag = std::find(rest.begin(), rest.end(), "--merge");
  const bool merge = flag != rest.end();
  if (merge) rest.erase(flag);
  const CtlOptions o = ParseCtlOptions(rest, {"--today"});
  TDateTime start = 0;
  if (!o.ok || o.positional.size() != 3 || !ParseIsoDate(o.positional[2], start)) return CtlUsage(err, usage);
  CtlProperty c = OpenCtlProperty(o.positional[0], o.positional[1], o.Get("--today"), usage, err);
  if (!c.ctl) return c.exitCode;
  Session& s = c.ctl->session();
  const int n = c.n;
  if (s.common.FormData.empty()) {
    err << "FormData is not set: the settings name no web folder of booking forms\n";
    return 1;
  }
  c.ctl->ShowPropertyAt(n, start);
  const Book_Buffer* found = BookingStartingOn(s, n, start);
  if (!found) {
    err << "No booking starts on " << IsoDate(start) << "\n";
    return 1;
  }
  BookingFields f;
  f.form.startD = start;
  TakeCustomer(f, found->Rec, found->Rec.NumV);
  s.common.Merge = merge;  // only a run that shows the merged texts asks for the data
  const WebFormDownload d = TryToDownloadForm(s, n, f);

  nlohmann::ordered_json j;
  j["property"] = n;
  j["form"] = JsonText(d.place.name);
  j["url"] = JsonText(UrlForLog(d.place.PageUrl()));
  j["stored"] = d.outcome == WebFormOutcome::Downloaded ? nlohmann::ordered_json(d.place.localPath) : nullptr;
  j["outcome"] = OutcomeName(d.outcome);
  if (merge) {
    j["merged"] = d.merged;
    j["booking"] = FieldsJson(f);
  }
  nlohmann::ordered_json messages = nlohmann::ordered_json::array();
  for (const std::string& m : c.ctl->Messages()) messages.push_back(JsonText(m));
  j["messages"] = messages;
  out << j.dump(2) << "\n";
  return d.outcome == WebFormOutcome::Downloaded ? 0 : 1;
}

}  // namespace tb

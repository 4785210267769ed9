// cotlynctl book, cancel, delete and rates: changes made through the same engine as
// the booking and rates windows (the lock and its refusal, the overlap rule, the
// charges, the change and deletion logs, the log lines, the calendar mark), for imports
// from other systems and cron jobs. JSON out; exit status 0 only when saved.

#include <functional>
#include <nlohmann/json.hpp>

#include "app/ChartActions.h"
#include "bookings/BookingEditor.h"
#include "bookings/RatesEditor.h"
#include "ctl/CtlOptions.h"
#include "ctl/CtlSession.h"
#include "platform/Cp1252.h"
#include "store/BookingFile.h"

namespace tb {

namespace {

// What the tag of the log line says: the change came from cotlynctl.
const char* const kTag = "CTL";

// A booking in the editor, as JSON.
nlohmann::ordered_json EditedJson(const Session& s, const BookingEditor& ed) {
  return BookingJson(ed.Node()->Rec, s.Prop(ed.Property()), s.clock.Today());
}

// The booking of property n that starts on `start` (one that is not cancelled first),
// its file held for writing as a click there would hold it. Null (with the reason, or
// the window's messages) when it cannot be changed now.
Book_Buffer* HeldBookingStarting(CtlSession& ctl, int n, TDateTime start, std::string& refusal) {
  Session& s = ctl.session();
  ctl.ShowPropertyAt(n, start);
  const OpenBookingRequest req = OpenBookingAt(s, n, start);
  if (!req.open) return nullptr;
  Book_Buffer* found = BookingStartingOn(s, n, start);
  if (req.readOnly) refusal = "Data being updated - try later";
  else if (!found) refusal = "No booking starts on " + IsoDate(start);
  else return found;
  ReleaseBookingFile(s);
  return nullptr;
}

}  // namespace

int CtlBook(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const char* usage =
      "usage: cotlynctl book ROOT PROP START END --surname S [--status hold|deposit|paid|reserved] [--source T] "
      "[--today YYYY-MM-DD]";
  const CtlOptions o = ParseCtlOptions(args, {"--surname", "--status", "--source", "--today"});
  TDateTime start = 0, end = 0;
  const std::string status = o.named.count("--status") ? o.Get("--status") : "hold";
  if (!o.ok || o.positional.size() != 4 || !ParseIsoDate(o.positional[2], start) ||
      !ParseIsoDate(o.positional[3], end) || o.Get("--surname").empty() ||
      (status != "hold" && status != "deposit" && status != "paid" && status != "reserved"))
    return CtlUsage(err, usage);
  CtlProperty c = OpenCtlProperty(o.positional[0], o.positional[1], o.Get("--today"), usage, err);
  if (!c.ctl) return c.exitCode;
  Session& s = c.ctl->session();
  const int n = c.n;
  nlohmann::ordered_json answer;
  answer["property"] = n;
  c.ctl->ShowPropertyAt(n, start);
  // The lock as a click on a free day takes it; a day already let still opens a new
  // booking here, and the overlap rule refuses it with its own message.
  const OpenBookingRequest req = OpenBookingAt(s, n, start);
  if (!req.open) return CtlAnswer(*c.ctl, answer, false, out);
  if (req.readOnly) {
    ReleaseBookingFile(s);
    answer["error"] = "Data being updated - try later";
    return CtlAnswer(*c.ctl, answer, false, out);
  }
  BookingEditor ed(s);
  ed.OpenNew(n, start);
  BookingForm& f = ed.fields.form;
  f.endD = end;
  ed.DatesPicked();
  f.surname = Utf8ToCp1252(o.Get("--surname"));
  ed.SurnameChanged();
  if (o.named.count("--source")) {
    ed.fields.source = Utf8ToCp1252(o.Get("--source"));
    ed.FieldChanged();
  }
  if (status == "reserved") {
    f.reserved = true;
    ed.ReservedTicked();
  }
  if (status == "deposit" || status == "paid") {
    f.depositPaid = true;
    ed.DepositTicked();
  }
  if (status == "paid") {
    f.balancePaid = true;
    ed.BalanceTicked();
  }
  const bool saved = ed.Save(kTag);
  if (saved && ed.Node()) {
    answer["position"] = ed.Position();
    answer["booking"] = EditedJson(s, ed);
  }
  if (!saved) ed.Quit();
  ed.Close();
  return CtlAnswer(*c.ctl, answer, saved, out);
}

namespace {

using BookingChange = std::function<bool(const CtlOptions&, Session&, BookingEditor&, nlohmann::ordered_json&)>;

// What cancel and delete share: ROOT PROP START [options], the booking starting on START
// held and open in the editor, `change` run on it (true when saved), the answer written.
int ChangeBooking(const std::vector<std::string>& args, const char* usage, std::vector<std::string> options,
                  const std::function<bool(const CtlOptions&)>& valid, std::ostream& out, std::ostream& err,
                  const BookingChange& change) {
  options.push_back("--today");
  const CtlOptions o = ParseCtlOptions(args, options);
  TDateTime start = 0;
  if (!o.ok || o.positional.size() != 3 || !ParseIsoDate(o.positional[2], start) || !valid(o))
    return CtlUsage(err, usage);
  CtlProperty c = OpenCtlProperty(o.positional[0], o.positional[1], o.Get("--today"), usage, err);
  if (!c.ctl) return c.exitCode;
  nlohmann::ordered_json answer;
  answer["property"] = c.n;
  std::string refusal;
  Book_Buffer* node = HeldBookingStarting(*c.ctl, c.n, start, refusal);
  if (!node) {
    if (!refusal.empty()) answer["error"] = refusal;
    return CtlAnswer(*c.ctl, answer, false, out);
  }
  Session& s = c.ctl->session();
  BookingEditor ed(s);
  ed.OpenEdit(c.n, node);
  const bool saved = change(o, s, ed, answer);
  ed.Close();
  return CtlAnswer(*c.ctl, answer, saved, out);
}

bool ChargeGiven(const CtlOptions& o, double& charge) {
  return o.named.count("--charge") && ParseAmount(o.Get("--charge"), charge) && charge >= 0;
}

}  // namespace

int CtlCancel(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  return ChangeBooking(
      args, "usage: cotlynctl cancel ROOT PROP START [--charge N] [--today YYYY-MM-DD]", {"--charge"},
      [](const CtlOptions& o) {
        double charge = 0;
        return !o.named.count("--charge") || ChargeGiven(o, charge);
      },
      out, err,
      [](const CtlOptions& o, Session& s, BookingEditor& ed, nlohmann::ordered_json& answer) {
        if (!ed.MayCancel()) return false;
        // Without a charge everything paid is kept, as the dialog first offers; a charge
        // is kept and the rest paid back today.
        double charge = ed.AmountPaid();
        const bool payNow = ChargeGiven(o, charge);
        if (charge > ed.AmountPaid()) {
          answer["error"] = "Cancellation Charge cannot exceed the amount paid";
          return false;
        }
        const bool saved = ed.Cancel(payNow ? CancelOption::PayNow : CancelOption::Retain, charge) ==
                               BookingEditor::CancelResult::Cancelled &&
                           ed.Save(kTag);
        if (saved) answer["booking"] = EditedJson(s, ed);
        else ed.Quit();
        return saved;
      });
}

int CtlDelete(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  return ChangeBooking(
      args, "usage: cotlynctl delete ROOT PROP START [--today YYYY-MM-DD]", {}, [](const CtlOptions&) { return true; },
      out, err, [](const CtlOptions&, Session& s, BookingEditor& ed, nlohmann::ordered_json& answer) {
        answer["booking"] = EditedJson(s, ed);
        // The question is answered as the window's user would, from COTLYN_ANSWERS (Yes by default).
        return ed.Delete();
      });
}

int CtlRates(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const char* usage = "usage: cotlynctl rates ROOT PROP YEAR [--change PERCENT] [--today YYYY-MM-DD]";
  const CtlOptions o = ParseCtlOptions(args, {"--change", "--today"});
  long long year = 0;
  double change = 0;
  if (!o.ok || o.positional.size() != 3 || !ParseCtlInt(o.positional[2], 1900, 9999, year) ||
      (o.named.count("--change") && !ParseAmount(o.Get("--change").substr(o.Get("--change")[0] == '-'), change)))
    return CtlUsage(err, usage);
  CtlProperty c = OpenCtlProperty(o.positional[0], o.positional[1], o.Get("--today"), usage, err);
  if (!c.ctl) return c.exitCode;
  Session& s = c.ctl->session();
  nlohmann::ordered_json answer;
  answer["property"] = c.n;
  RatesEditor ed(s);
  // A missing year is made from the most recent one, as the window offers.
  if (!ed.Load(c.n, static_cast<int>(year))) return CtlAnswer(*c.ctl, answer, false, out);
  answer["path"] = ed.Path();
  bool saved = true;
  if (change != 0) {
    const std::string text = o.Get("--change");
    ed.fields.increase = text[0] != '-';
    ed.fields.percent = text.substr(text[0] == '-');
    saved = ed.GlobalChange();
  }
  saved = saved && ed.Save();
  if (saved) {
    nlohmann::ordered_json bands = nlohmann::ordered_json::array();
    for (const int32_t cost : ed.Record().BandCost) bands.push_back(cost);
    answer["bands"] = bands;
  }
  ed.Finish();
  return CtlAnswer(*c.ctl, answer, saved, out);
}

}  // namespace tb

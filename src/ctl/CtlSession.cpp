#include "ctl/CtlSession.h"

#include <algorithm>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <unistd.h>

#include "platform/Cp1252.h"
#include "platform/FileSystem.h"
#include "platform/SystemInfo.h"
#include "bookings/BookingStatus.h"
#include "bookings/Rates.h"
#include "bookings/WeekTable.h"
#include "ctl/CtlOptions.h"
#include "store/BookingFile.h"
#include "store/Settings.h"
#include "web/WebCommands.h"

namespace tb {

namespace {

// The system's time of day on a chosen date.
class DateClock : public Clock {
 public:
  explicit DateClock(TDateTime date) : date_(date) {}
  TDateTime Now() const override {
    const TDateTime now = system_.Now();
    return date_ + (now - std::floor(now));
  }

 private:
  TDateTime date_;
  SystemClock system_;
};

}  // namespace

// Boxes go to stderr as on any non-interactive run, and are kept for the JSON answer.
class CtlDialogs : public Dialogs {
 public:
  CtlDialogs() : console_(ConsoleDialogs::FromEnvironment()) {}
  void Beep() override {}
  std::vector<std::string> shown;

 protected:
  MsgButton ShowMessage(const MessageBoxSpec& box) override {
    shown.push_back(box.text);
    return console_.Message(box);
  }
  bool ShowInput(const std::string& caption, const std::string& prompt, std::string& value) override {
    return console_.InputQuery(caption, prompt, value);
  }

 private:
  ConsoleDialogs console_;
};

CtlSession::CtlSession() = default;
CtlSession::~CtlSession() = default;

const std::vector<std::string>& CtlSession::Messages() const { return dialogs_->shown; }

std::unique_ptr<CtlSession> CtlSession::Open(const std::string& root, const std::string& today, std::string& error) {
  std::unique_ptr<CtlSession> c(new CtlSession);
  if (today.empty()) {
    c->clock_ = std::make_unique<SystemClock>();
  } else {
    TDateTime d;
    if (!ParseIsoDate(today, d)) {
      error = "not a date (YYYY-MM-DD): " + today;
      return nullptr;
    }
    c->clock_ = std::make_unique<DateClock>(d);
  }
  c->dialogs_ = std::make_unique<CtlDialogs>();
  c->registry_ = std::make_unique<RegistryStore>("HKEY_CURRENT_USER", ConfigFolder() + "HKCU.reg");
  c->session_ = std::make_unique<Session>(*c->clock_, *c->dialogs_, *c->registry_, c->processes_);
  Session& s = *c->session_;
  s.exitProcess = [](int code) {
    std::fflush(nullptr);
    _exit(code);
  };
  CommonSettings& common = s.common;
  common.RootFolder = IncludeTrailingSlash(AbsolutePath(root));
  if (!DirectoryExists(common.RootFolder)) {
    error = "no root folder: " + root;
    return nullptr;
  }
  common.SettingsPath = common.RootFolder + "Cotlyn.ini";
  if (!FileExists(common.SettingsPath)) {
    error = "no settings file: " + common.SettingsPath;
    return nullptr;
  }
  common.LogPath = common.RootFolder + "Cotlyn.log";
  common.UsersPath = common.RootFolder + "$users.txt";
  common.TempFolder = PrivateTempFolder();
  common.ProgramFolder = ExecutableFolder();
  common.ComputerName = ComputerName();
  common.UserName = UserName();
  LoadSettings(s);
  // Scripted bookings keep the portals' calendars in step as the booking window does.
  InstallAgencyCalendarHook(s);
  s.ComputeSeasonYear();
  s.CurrentProperty = s.common.AllPropertiesView() ? 0 : 1;
  // The rates of a property on show are taken from its cache, so the cache must hold
  // them as the chart's would: the current property's, or every one's in view "A".
  for (int n = 1; n <= s.NumProps(); ++n)
    if (s.common.AllPropertiesView() || n == s.CurrentProperty) RefreshRateCache(s, n);
  return c;
}

int CtlSession::FindProperty(const std::string& text) const {
  const Session& s = *session_;
  int number = 0;
  const char* end = text.data() + text.size();
  auto [p, ec] = std::from_chars(text.data(), end, number);
  if (ec == std::errc() && p == end) return number >= 1 && number <= s.NumProps() ? number : 0;
  const std::string name = Utf8ToCp1252(text);
  for (int n = 1; n <= s.NumProps(); ++n)
    if (s.Prop(n).PropName == name) return n;
  return 0;
}

bool CtlSession::FindProperties(const std::string& list, std::vector<int>& out, std::string& unknown) const {
  out.clear();
  for (size_t from = 0; from <= list.size();) {
    size_t comma = list.find(',', from);
    if (comma == std::string::npos) comma = list.size();
    const std::string item = list.substr(from, comma - from);
    const int n = FindProperty(item);
    if (n == 0) {
      unknown = item;
      return false;
    }
    out.push_back(n);
    from = comma + 1;
  }
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
  return true;
}

void CtlSession::ShowProperty(int n) {
  Session& s = *session_;
  if (!s.common.AllPropertiesView()) s.CurrentProperty = n;
  RefreshRateCache(s, n);
  ReadBookings(s, n, false, false);
  BuildWeekTable(s, n, false);
}

Book_Buffer* BookingStartingOn(Session& s, int n, TDateTime start) {
  Book_Buffer* found = nullptr;
  for (Book_Buffer* b = s.Prop(n).Bookings.First(); b; b = b->Next)
    if (b->Rec.StartD == start && (!found || found->Rec.Status == Cancelled)) found = b;
  return found;
}

void CtlSession::ShowPropertyAt(int n, TDateTime date) {
  Session& s = *session_;
  int year = DecodeDate(date).year;
  if (date < WeekStart(year, 1, s.Prop(n))) --year;  // before week 1: the year before's last weeks
  if (year != s.SeasonYear[0] && year != s.SeasonYear[1]) s.SeasonYear = {year, year + 1};
  ShowProperty(n);
}

std::unique_ptr<CtlSession> OpenCtlRoot(const std::string& root, const std::string& today, const std::string& usage,
                                        std::ostream& err, int& exitCode) {
  std::string error;
  std::unique_ptr<CtlSession> ctl = CtlSession::Open(root, today, error);
  if (!ctl) {
    err << error << "\n";
    exitCode = error.rfind("not a date", 0) == 0 ? CtlUsage(err, usage) : 1;
  }
  return ctl;
}

CtlProperty OpenCtlProperty(const std::string& root, const std::string& prop, const std::string& today,
                            const std::string& usage, std::ostream& err) {
  CtlProperty c;
  c.ctl = OpenCtlRoot(root, today, usage, err, c.exitCode);
  if (!c.ctl) return c;
  c.n = c.ctl->FindProperty(prop);
  if (c.n == 0) {
    err << "no such property: " << prop << "\n";
    c.ctl.reset();
    c.exitCode = 1;
    c.unknownProperty = true;
  }
  return c;
}

nlohmann::ordered_json BookingJson(const Book_Rec& b, const Prop_Rec& p, TDateTime today) {
  nlohmann::ordered_json j;
  j["Status"] = b.Status;
  j["Flag"] = b.Flag;
  j["NumV"] = b.NumV;
  j["Spare1"] = b.Spare1;
  j["Rent"] = b.Rent;
  j["Chg1"] = b.Chg1;
  j["Chg2"] = b.Chg2;
  j["Chg3"] = b.Chg3;
  j["Spare2"] = b.Spare2;
  j["Total"] = b.Total;
  j["Deposit"] = b.Deposit;
  j["Balance"] = b.Balance;
  j["Refund"] = b.Refund;
  j["StartD"] = IsoDate(b.StartD);
  j["EndD"] = IsoDate(b.EndD);
  j["DateB"] = IsoDate(b.DateB);
  j["DateD"] = IsoDate(b.DateD);
  j["DateP"] = IsoDate(b.DateP);
  j["DateR"] = IsoDate(b.DateR);
  j["DateUpD"] = IsoDateTime(b.DateUpD);
  j["Spare3"] = b.Spare3;
  j["Surname"] = JsonText(b.Surname);
  j["Fnames"] = JsonText(b.Fnames);
  j["SpareText"] = JsonText(b.SpareText);
  j["Address"] = JsonText(b.Address);
  j["Phone"] = JsonText(b.Phone);
  j["Email"] = JsonText(b.Email);
  j["Special"] = JsonText(b.Special);
  j["Comments"] = JsonText(b.Comments);
  j["Source"] = JsonText(b.Source);
  j["Tag"] = StatusTag(b.Status);
  j["EffectiveStatus"] = EffectiveStatus(b, p, today);
  return j;
}


std::string IsoDate(TDateTime d) { return FormatDateTime("yyyy-mm-dd", d); }
std::string IsoDateTime(TDateTime d) { return FormatDateTime("yyyy-mm-dd'T'hh:nn:ss", d); }
std::string JsonText(const std::string& ansi) { return Cp1252ToUtf8(ansi); }

int CtlAnswer(CtlSession& ctl, nlohmann::ordered_json answer, bool saved, std::ostream& out) {
  answer["saved"] = saved;
  nlohmann::ordered_json messages = nlohmann::ordered_json::array();
  for (const std::string& m : ctl.Messages()) messages.push_back(JsonText(m));
  answer["messages"] = messages;
  out << answer.dump(2) << "\n";
  return saved ? 0 : 1;
}

}  // namespace tb

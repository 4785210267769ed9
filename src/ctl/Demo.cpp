#include "ctl/Demo.h"

#include <algorithm>
#include <array>
#include <map>
#include <random>
#include <set>

#include "bookings/Rates.h"
#include "ctl/DemoBookings.h"
#include "ctl/DemoProformas.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/PathText.h"
#include "platform/Process.h"
#include "platform/Registry.h"
#include "store/BookingFile.h"
#include "store/Session.h"
#include "store/Settings.h"

namespace tb {

namespace {

struct Cottage {
  const char* name;
  int changeDay;
  const char* charges[3];
  double deposit;  // as the settings file writes it
  double bookFee;
  double retDeposit;
};

// Four cottages that between them show every changeover style and charge role.
const std::array<Cottage, 4> kCottages{{
    {"Bramble Cottage", 7, {"Fuel", "Linen", ""}, 25, 0, 0},
    {"Heron's Reach", 6, {"Linen", "Ret Deposit", ""}, 30, 0, 150},
    {"The Old Dairy", 1, {"Booking Fee", "Fuel", "Linen"}, 15000, 2500, 0},
    {"Kestrel Barn", 2, {"Ret Deposit", "Booking Fee", ""}, 50, 5, 200},
}};

const std::array<const char*, 24> kFirst{"Willow", "Rowan",  "Curlew", "Foxglove", "Harebell", "Larch",
                                         "Otter",  "Meadow", "Stable", "Orchard",  "Granary",  "Mill",
                                         "Thistle", "Bracken", "Swallow", "Hawthorn", "Primrose", "Tor",
                                         "Lark",   "Beacon", "Brook",  "Quarry",   "Ferny",    "Wren"};
const std::array<const char*, 12> kSecond{"Cottage", "Barn",    "House", "Lodge", "Farmhouse", "View",
                                          "End",     "Byre",    "Loft",  "Croft", "Cabin",     "Hollow"};

void AddProperty(IniFile& ini, int n, const std::string& name, const Cottage& c) {
  const std::string sec = PropertySection(n);
  ini.WriteString(sec, "PropName", name);
  ini.WriteInteger(sec, "ID", 1000 + n);
  ini.WriteInteger(sec, "ChangeDay", c.changeDay);
  ini.WriteString(sec, "Deposit", std::to_string(static_cast<int>(c.deposit)));
  ini.WriteString(sec, "BookFee", std::to_string(static_cast<int>(c.bookFee)));
  ini.WriteString(sec, "RetDeposit", std::to_string(static_cast<int>(c.retDeposit)));
  ini.WriteString(sec, "CS", "\xA3");
  for (int i = 0; i < 3; ++i) ini.WriteString(sec, "ExtChg" + std::to_string(i + 1), c.charges[i]);
  ini.WriteInteger(sec, "BalDue", 6);
  ini.WriteInteger(sec, "DepDue", 7);
  ini.WriteInteger(sec, "Wait", 34);
  ini.WriteString(sec, "MgtFee", "15");
}

// Rates files for every year shown and bookings over the years asked for.
std::string WriteDemoData(const DemoOptions& o, const IniFile& ini) {
  // The property table as the program builds it, for the charge roles and calendars.
  FixedClock clock(o.today);
  ConsoleDialogs dialogs;
  RegistryStore registry("HKEY_CURRENT_USER", "/nonexistent/HKCU.reg");
  PosixProcessRunner processes;
  Session s(clock, dialogs, registry, processes);
  s.common.RootFolder = IncludeTrailingSlash(o.folder);
  LoadSettingsFrom(s, ini);

  const int thisYear = DecodeDate(o.today).year;
  const int firstYear = thisYear - std::max(o.years, 1);
  const int lastYear = thisYear + 1;
  for (int n = 1; n <= s.NumProps(); ++n) {
    const Prop_Rec& p = s.Prop(n);
    std::mt19937 rng(o.seed * 7919u + static_cast<uint32_t>(n));
    std::map<int, Rate_Rec> rates;
    for (int year = firstYear; year <= lastYear; ++year) {
      rates[year] = DemoRates(p, year);
      if (!WriteWholeFile(RatesFilePath(p, year), RatesImage(rates[year])))
        return "Cannot write " + RatesFilePath(p, year);
    }
    BookingList list;
    for (const Book_Rec& b : DemoBookings(p, rates, firstYear, lastYear, o.today, rng)) list.Append(b);
    if (!WriteWholeFile(BookingFilePath(s, n), BookingsImage(list))) return "Cannot write " + BookingFilePath(s, n);
  }
  return {};
}

}  // namespace

std::string DemoPropertyName(int n, int count, uint32_t seed) {
  if (count <= static_cast<int>(kCottages.size())) return kCottages[static_cast<size_t>(n - 1)].name;
  // Agency-sized demos: every pair of words once, in an order fixed by the seed.
  std::vector<std::string> names;
  for (const char* a : kFirst)
    for (const char* b : kSecond) names.push_back(std::string(a) + " " + b);
  std::mt19937 rng(seed);
  std::shuffle(names.begin(), names.end(), rng);
  const size_t i = static_cast<size_t>(n - 1);
  return i < names.size() ? names[i] : names[i % names.size()] + " " + std::to_string(i / names.size() + 1);
}

std::string MakeDemo(const DemoOptions& o) {
  const std::string root = IncludeTrailingSlash(o.folder);
  if (!ForceDirectories(root)) return "Cannot create folder " + root;
  IniFile ini(root + "Cotlyn.ini");
  const std::string c = "Common";
  ini.WriteString(c, "ver", "V4.4");
  ini.WriteString(c, "ViewMode", "C");
  ini.WriteInteger(c, "MURefresh", 10);
  ini.WriteBool(c, "CloudData", false);
  ini.WriteBool(c, "Splash", true);
  ini.WriteBool(c, "SaveSSP", false);
  ini.WriteString(c, "TaxYr", "0405");
  ini.WriteString(c, "Tax", "20");
  ini.WriteInteger(c, "NLetters", 3);
  ini.WriteString(c, "L1-Desc", "Confirmation");
  ini.WriteBool(c, "L1-EMail", true);
  ini.WriteString(c, "L2-Desc", "Balance reminder");
  ini.WriteBool(c, "L2-EMail", true);
  ini.WriteString(c, "L3-Desc", "Arrival instructions");
  ini.WriteBool(c, "L3-EMail", false);
  ini.WriteInteger(c, "NExpCats", 3);
  ini.WriteString(c, "X1-Desc", "Cleaning");
  ini.WriteString(c, "X2-Desc", "Repairs");
  ini.WriteString(c, "X3-Desc", "Laundry");
  ini.WriteBool(c, "wPubWeb", true);
  ini.WriteInteger(c, "NumProps", o.properties);

  std::mt19937 rng(o.seed);
  for (int n = 1; n <= o.properties; ++n) {
    const Cottage& style = o.properties <= static_cast<int>(kCottages.size())
                               ? kCottages[static_cast<size_t>(n - 1)]
                               : kCottages[rng() % kCottages.size()];
    const std::string name = DemoPropertyName(n, o.properties, o.seed);
    AddProperty(ini, n, name, style);
    const std::string folder = root + PathFromText(name) + "/";
    for (const char* sub : {"Data", "Archive", "Letters"})
      if (!ForceDirectories(folder + sub)) return "Cannot create folder " + folder + sub;
  }
  if (!ini.Save()) return "Cannot write " + root + "Cotlyn.ini";
  const std::string proformas = WriteDemoProformas(root, root + PathFromText(DemoPropertyName(1, o.properties, o.seed)) + "/");
  if (!proformas.empty()) return proformas;
  return WriteDemoData(o, ini);
}

}  // namespace tb

#include "ctl/Demo.h"

#include <algorithm>
#include <array>
#include <map>
#include <random>
#include <set>

#include "bookings/Rates.h"
#include "ctl/DemoBookings.h"
#include "ctl/DemoExpenses.h"
#include "ctl/DemoHistory.h"
#include "ctl/DemoProformas.h"
#include "ctl/DemoWeb.h"
#include "maintenance/ExportTemplate.h"
#include "owners/OwnerOrder.h"
#include "owners/OwnerRec.h"
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

struct DemoOwner {
  const char* surname;
  const char* firstNames;
  const char* address;
  const char* phone;
  const char* email;
  const char* url;
  const char* notes;
};

const std::array<DemoOwner, 8> kOwners{{
    {"Penrose", "Alice", "Penrose Farm\r\nLower Tregarth\r\nTruro TR4 9QX", "01872 555 014", "alice@penrose.example",
     "www.penrose.example", "Prefers e-mail.\r\nKeys with the cleaner."},
    {"Ashdown", "Mr & Mrs Tom", "12 Mill Lane\r\nKendal LA9 4QP", "01539 555 201", "tom.ashdown@example.com", "",
     "Statements quarterly"},
    {"Fairweather", "Zo\xEB", "The Old Forge\r\nHawes DL8 3NT", "01969 555 377", "zoe@fairweather.example",
     "https://fairweather.example", ""},
    {"O'Hara", "Declan", "4 Quay Street\r\nPadstow PL28 8AD", "01841 555 912", "", "", "No e-mail: post only"},
    {"Brightwell", "Sam", "Brightwell Lettings\r\n1 Market Place\r\nLudlow SY8 1AA", "01584 555 640",
     "sam@brightwell.example", "brightwell.example", ""},
    {"Ashdown", "Clare", "Rose Cottage\r\nKendal LA9 7EE", "01539 555 880", "clare.ashdown@example.com", "", ""},
    {"Kerrow", "Jenna", "Kerrow Barton\r\nSt Buryan TR19 6DD", "01736 555 118", "jenna@kerrow.example", "", ""},
    {"Lindqvist", "Erik", "22 Harbour Row\r\nWhitby YO21 3PU", "01947 555 406", "erik@lindqvist.example", "", ""},
}};

// Owner number of demo property n of count: the last has none, the rest share the
// first owners round; one owner more than the properties use has none.
int DemoOwnerOf(int n, int count) {
  if (n == count) return 0;
  return (n - 1) % std::min<int>(count > 1 ? count - 1 : 1, static_cast<int>(kOwners.size()) - 3) + 1;
}

Owner_Rec DemoOwnerRecord(const DemoOwner& d, uint16_t id, TDateTime today) {
  Owner_Rec o;
  o.OwnerID = id;
  o.OwnerCreated = DateOf(today) - 400 + 37 * id;
  o.OwnerUpdated = today - 30 + id + 0.4;
  o.OwnerSurname = d.surname;
  o.OwnerFName = d.firstNames;
  o.OwnerAddress = d.address;
  o.OwnerPhone = d.phone;
  o.OwnerEmail = d.email;
  o.OwnerURL = d.url;
  o.OwnerNotes = d.notes;
  return o;
}

// "Owners.bko": the owners the properties name and one without a property;
// "Owner-archive.bko": two owners deleted earlier.
std::string WriteDemoOwners(const DemoOptions& o, const std::string& root) {
  std::vector<Owner_Rec> owners, archive;
  int used = 0;
  for (int n = 1; n <= o.properties; ++n) used = std::max(used, DemoOwnerOf(n, o.properties));
  for (int id = 1; id <= used + 1; ++id)
    owners.push_back(DemoOwnerRecord(kOwners[static_cast<size_t>(id - 1)], static_cast<uint16_t>(id), o.today));
  for (size_t i = kOwners.size() - 2; i < kOwners.size(); ++i)
    archive.push_back(DemoOwnerRecord(kOwners[i], static_cast<uint16_t>(i + 1), o.today - 200));
  SortOwnersByName(owners);
  if (!WriteWholeFile(root + "Owners.bko", OwnersImage(owners))) return "Cannot write " + root + "Owners.bko";
  if (!WriteWholeFile(root + "Owner-archive.bko", OwnersImage(archive)))
    return "Cannot write " + root + "Owner-archive.bko";
  return {};
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
    std::vector<Book_Rec> bookings = DemoBookings(p, rates, firstYear, lastYear, o.today, rng);
    // A stream of its own, so that the bookings are drawn as they were before the logs came.
    std::mt19937 historyRng(o.seed * 104729u + static_cast<uint32_t>(n));
    const DemoLogs logs = DemoHistory(bookings, o.today, historyRng);
    BookingList list;
    for (const Book_Rec& b : bookings) list.Append(b);
    if (!WriteWholeFile(BookingFilePath(s, n), BookingsImage(list))) return "Cannot write " + BookingFilePath(s, n);
    for (const auto& [name, records] : {std::pair{"Changed", &logs.changed}, std::pair{"Deleted", &logs.deleted}}) {
      std::string image;
      for (const Book_Rec& r : *records) AppendBookRecord(image, r);
      const std::string path = p.Folder + "Archive/" + name + ".bks";
      if (!image.empty() && !WriteWholeFile(path, image)) return "Cannot write " + path;
    }
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
  const int expenseCategories = 3;  // and a ledger for the first properties below
  ini.WriteInteger(c, "NExpCats", expenseCategories);
  ini.WriteString(c, "X1-Desc", "Cleaning");
  ini.WriteString(c, "X2-Desc", "Repairs");
  ini.WriteString(c, "X3-Desc", "Laundry");
  ini.WriteBool(c, "wPubWeb", true);
  ini.WriteBool(c, "wCWks", true);
  // The web files: 90 days of availability, 14 days of departures, written into
  // "Web-Up/" beside the settings, ready for a helper script once a URL is set.
  ini.WriteInteger(c, "NAvDays", 90);
  ini.WriteInteger(c, "wUCD", 14);
  ini.WriteString(c, "HS_LDIR", "Web-Up/");
  if (!ForceDirectories(root + "Web-Up")) return "Cannot create folder " + root + "Web-Up";
  // Availability pages go to the web site "Cottages" through Ferrit.
  ini.WriteString(c, "Site", "Cottages");
  ini.WriteInteger(c, "NumProps", o.properties);

  std::mt19937 rng(o.seed);
  for (int n = 1; n <= o.properties; ++n) {
    const Cottage& style = o.properties <= static_cast<int>(kCottages.size())
                               ? kCottages[static_cast<size_t>(n - 1)]
                               : kCottages[rng() % kCottages.size()];
    const std::string name = DemoPropertyName(n, o.properties, o.seed);
    AddProperty(ini, n, name, style);
    ini.WriteInteger(PropertySection(n), "Owner", DemoOwnerOf(n, o.properties));
    if (n == 1) ini.WriteBool(PropertySection(n), "AO", true);  // let for its owner: the title names them
    if (n <= 2) ini.WriteBool(PropertySection(n), "AS", true);  // calendars kept with an agency
    const std::string folder = root + PathFromText(name) + "/";
    for (const char* sub : {"Data", "Archive", "Letters"})
      if (!ForceDirectories(folder + sub)) return "Cannot create folder " + folder + sub;
    ini.WriteString(PropertySection(n), "WebFolder", DemoWebFolder(n));
    ini.WriteString(PropertySection(n), "WebAvail", kDemoWebPage);
    const std::string web = WriteDemoWebFolder(root, n, name);
    if (!web.empty()) return web;
  }
  if (!ini.Save()) return "Cannot write " + root + "Cotlyn.ini";
  const std::string proformas = WriteDemoProformas(root, root + PathFromText(DemoPropertyName(1, o.properties, o.seed)) + "/");
  if (!proformas.empty()) return proformas;
  // The export window's template, as an installation ships it.
  const std::string templates = root + "Templates/";
  if (!ForceDirectories(templates) || !WriteWholeFile(templates + "default.xtf", DefaultExportTemplateText()))
    return "Cannot write " + templates + "default.xtf";
  const std::string owners = WriteDemoOwners(o, root);
  if (!owners.empty()) return owners;
  const std::string expenses = WriteDemoExpenses(o, root, expenseCategories);
  if (!expenses.empty()) return expenses;
  return WriteDemoData(o, ini);
}

}  // namespace tb

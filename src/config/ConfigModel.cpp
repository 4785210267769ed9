#include "config/ConfigModel.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <utility>

#include "platform/FileLock.h"
#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "platform/Text.h"
#include "store/ScrambledPassword.h"
#include "store/Settings.h"

namespace tb {

namespace {

const char* const kCommon = "Common";
constexpr double kIntMin = std::numeric_limits<int32_t>::min();
constexpr double kIntMax = std::numeric_limits<int32_t>::max();
constexpr double kNoMax = std::numeric_limits<double>::infinity();
constexpr int kMaxCount = 99;  // letter types, expense categories
// What Cotlyn expects in a property's folder.
const char* const kPropertyFolders[] = {"Data/", "Archive/", "Letters/", "Booking Forms/", "Attachments/"};

KeyInfo Text(const char* key, const char* def, const char* caption, bool readOnly = false) {
  return {key, KeyType::Text, def, caption, 0, 0, readOnly};
}
KeyInfo Whole(const char* key, const char* def, double lo, double hi, const char* caption, bool readOnly = false) {
  return {key, KeyType::Whole, def, caption, lo, hi, readOnly};
}
KeyInfo Number(const char* key, const char* def, double lo, double hi, const char* caption) {
  return {key, KeyType::Number, def, caption, lo, hi, false};
}
KeyInfo YesNo(const char* key, const char* def, const char* caption) {
  return {key, KeyType::YesNo, def, caption, 0, 1, false};
}

const std::vector<KeyInfo>& CommonKeys() {
  static const std::vector<KeyInfo> keys = {
      Text("ver", "", "Settings version, such as V4.4: must match the installed program"),
      Text("ViewMode", "C", "C = one window per property, M = all properties in one window"),
      Whole("MURefresh", "10", kIntMin, kIntMax, "Seconds between multi-user refresh checks; 0 = none"),
      YesNo("CloudData", "0", "1 = the root folder is cloud-synchronised, 0 = on the local network"),
      Text("IP", "", "Leading part of this network's IP addresses, such as 192.168.1."),
      YesNo("SynchDB", "0", "The online rates database is used"),
      Whole("NAvDays", "0", 0, kIntMax, "Days of availability in the property information upload; 0 = none"),
      YesNo("SpSCur", "0", "Letters leave out the currency symbol before amounts"),
      YesNo("NoShowEM", "0", "An e-mail written from a proforma is saved but not opened"),
      Text("WordProc", "", "Word processor for letters; empty = the file's own program"),
      Text("SiteURL", "", "Address of your web site"),
      Text("LocSite", "", "Local copy of the web site; relative to the root folder"),
      Text("LocIndex", "", "Index page of the local web site; relative to that folder"),
      Text("Site", "", "Upload target of the web pages"),
      Text("FormData", "", "Address of the web folder holding the web booking forms"),
      YesNo("Merge", "0", "Web booking forms are merged into the booking"),
      YesNo("Splash", "1", "Show the about box at start"),
      YesNo("SaveSSP", "0", "Remember each property window's size and position"),
      Text("TaxYr", "0405", "Start of the tax year as month and day, mmdd"),
      Number("Tax", "20", 0, 100, "VAT rate in percent"),
      YesNo("CRWanted", "0", "Short lets are charged by the day (the short-let keys below)"),
      Number("WEFix", "0", 0, kNoMax, "Short lets with a weekend night: percent of the week charged once"),
      Number("OTFix", "0", 0, kNoMax, "Short lets without a weekend night: percent of the week charged once"),
      Number("WEpn", "0", 0, kNoMax, "Short lets: percent of the week per weekend night"),
      Number("OTpn", "0", 0, kNoMax, "Short lets: percent of the week per other night"),
      Whole("WEmin", "0", 0, 255, "Short lets with a weekend night: minimum nights charged"),
      Whole("OTmin", "0", 0, 255, "Short lets without a weekend night: minimum nights charged"),
      YesNo("AvRent", "0", "Short lets over a rate change use the weighted average rate"),
      Whole("NLetters", "0", 0, kMaxCount, "Number of letter types"),
      Whole("NExpCats", "0", 0, kMaxCount, "Number of expense categories; 0 hides Expenses"),
      Text("eAddr", "", "E-mail: sender's address"),
      Text("eHost", "", "E-mail: SMTP server"),
      Text("eUser", "", "E-mail: SMTP user name; empty = no sign-in"),
      Text("eFrom", "", "E-mail: sender's name"),
      Text("eRep", "", "E-mail: reply-to address"),
      Text("eBCC", "", "E-mail: blind copy address"),
      {"ePC", KeyType::Secret, "", "E-mail: SMTP password (type a new one to change it)"},
      Whole("Port", "25", 1, 65535, "E-mail: SMTP port"),
      Whole("eSSL", "0", 0, 6, "E-mail: 0 = no TLS, 1 to 6 = TLS method"),
      YesNo("eExpTLS", "1", "E-mail: explicit TLS (STARTTLS); 0 = TLS from the start"),
      YesNo("wPubWeb", "1", "Web publishing is used (the publishing keys below)"),
      YesNo("wCWks", "0", "Publishing: compress weeks"),
      YesNo("wLDts", "0", "Publishing: long dates"),
      YesNo("wMSep", "0", "Publishing: month separator rows"),
      YesNo("wYSep", "0", "Publishing: year separator rows"),
      YesNo("wOLet", "0", "Publishing: leave out the rate of a fully let week"),
      Text("HS_URL", "", "Full address of the helper script on your web server"),
      Text("HS_LDIR", "", "Local folder for the helper script's files; relative to the root folder"),
      Text("HS_PW", "", "Password sent to the helper script"),
      Whole("wUCD", "0", 0, kIntMax, "Days ahead of departures in the property information upload; 0 = none"),
      YesNo("HS_Compress", "1", "Compress uploads"),
      Whole("NumProps", "0", 0, ConfigModel::kMaxProperties, "Number of properties (Add property... raises it)",
            true),
  };
  return keys;
}

const std::vector<KeyInfo>& PropertyKeys() {
  static const std::vector<KeyInfo> keys = {
      Text("PropName", "Fail", "Property name, also its folder's name under the root folder"),
      Whole("ID", "0", kIntMin, kIntMax, "The property's number on the web and agency side"),
      YesNo("AS", "0", "Takes part in the agency calendar synchronisation"),
      Whole("ChangeDay", "7", 1, 7, "Changeover day: 1 = Sunday .. 7 = Saturday"),
      Number("Deposit", "25", 0, kNoMax, "Deposit: up to 100 a percentage, above 100 an amount in pence"),
      Number("BookFee", "0", 0, kNoMax, "Booking fee: below 100 a percentage, from 100 an amount in pence"),
      YesNo("DBookFee", "0", "The booking fee is taken with the deposit"),
      Number("MgtFee", "0", 0, 100, "Management fee in percent"),
      YesNo("FRentOnly", "0", "The management fee is charged on the rent only"),
      YesNo("DRO", "0", "The deposit percentage applies to the rent only"),
      Number("RetDeposit", "0", 0, kNoMax, "Returnable (damage) deposit"),
      Text("CS", "\xA3", "Currency symbol (its first character)"),
      Text("ExtChg1", "", "Extra charge 1 (Fuel, Linen, Ret Deposit, Booking Fee, Surcharge have roles)"),
      Text("ExtChg2", "", "Extra charge 2; fill the names from 1 upwards"),
      Text("ExtChg3", "", "Extra charge 3"),
      Whole("BalDue", "6", 0, 255, "Balance due this many weeks before the start"),
      Whole("DepDue", "7", 0, 255, "Deposit due this many days after booking"),
      Whole("Wait", "34", 0, 255, "A waiting-list reservation expires this many weeks before the start"),
      Text("WebFolder", "", "Local web folder; relative to the root folder; empty = LocSite"),
      Text("WebAvail", "", "Name of the availability page"),
      Text("WebIndex", "", "Index page; relative to the web folder; empty = LocIndex"),
      Text("Site", "", "Upload target of the property's pages"),
      Whole("Owner", "0", 0, 65535, "Number of the property's owner in the owner database"),
      YesNo("AO", "0", "Let for an owner: the window title names the owner"),
  };
  return keys;
}

std::vector<KeyInfo> LetterKeys(int n) {
  const std::string l = "L" + std::to_string(n);
  return {{l + "-Desc", KeyType::Text, "Fail", "Letter type " + std::to_string(n) + ": name (30 characters used)"},
          {l + "-EMail", KeyType::YesNo, "0", "Letter type " + std::to_string(n) + ": sent as an e-mail", 0, 1}};
}

KeyInfo ExpenseKey(int n) {
  return {"X" + std::to_string(n) + "-Desc", KeyType::Text, "Fail", "Expense category " + std::to_string(n)};
}

// Case folding of Windows-1252 letters, as file and folder names compare on Windows.
std::string Fold(const std::string& text) {
  std::string out = text;
  for (char& ch : out) {
    const auto c = static_cast<unsigned char>(ch);
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) ch = static_cast<char>(c + 0x20);
  }
  return out;
}

bool Same(const std::string& a, const std::string& b) { return Fold(a) == Fold(b); }

bool IsCommon(const std::string& section) { return Same(section, kCommon); }

// The value as Cotlyn reads it from the file, through the same reader, so that the
// checks accept exactly what it accepts.
std::optional<double> ReadAs(KeyType type, const std::string& value) {
  IniFile probe;
  probe.LoadFromText("[v]\r\nv=" + value);
  if (type == KeyType::Whole || type == KeyType::YesNo) {
    const int a = probe.ReadInteger("v", "v", 0);
    if (a != probe.ReadInteger("v", "v", 1)) return std::nullopt;
    return a;
  }
  const double a = probe.ReadFloat("v", "v", 0);
  if (a != probe.ReadFloat("v", "v", 1)) return std::nullopt;
  return a;
}

std::string WholeText(double v) { return std::to_string(static_cast<long long>(v)); }

std::string RangeText(const KeyInfo& info) {
  if (info.lo <= kIntMin && info.hi >= kIntMax) return "";
  if (info.hi >= kIntMax) return ", " + WholeText(info.lo) + " or more";
  return " from " + WholeText(info.lo) + " to " + WholeText(info.hi);
}

// Line breaks would split a value into lines of its own.
std::string FileForm(const std::string& value) {
  std::string flat = value;
  std::replace_if(flat.begin(), flat.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return Trim(flat);
}

}  // namespace

std::string CheckValue(const KeyInfo& info, const std::string& value) {
  switch (info.type) {
    case KeyType::Text:
    case KeyType::Secret:
      return "";
    case KeyType::YesNo:
      return value == "0" || value == "1" ? "" : "needs 1 (yes) or 0 (no)";
    case KeyType::Whole:
    case KeyType::Number: {
      const std::optional<double> v = ReadAs(info.type, value);
      if (v && *v >= info.lo && *v <= info.hi) return "";
      return info.type == KeyType::Whole ? "needs a whole number" + RangeText(info)
                                         : "needs a number (a point before decimals)" + RangeText(info);
    }
  }
  return "";
}

std::string CheckPropertyName(const std::string& name) {
  if (name.empty()) return "a name is needed";
  if (name.size() > 80) return "a name has at most 80 characters";
  for (const char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c == 0x7F || std::strchr("\\/:*?\"<>|", c))
      return "a name cannot hold \\ / : * ? \" < > | or control characters";
  }
  // Windows drops a final point from a folder name, and the file reader drops quotes
  // around a value: either would part the name from its folder.
  if (name.back() == '.') return "a name cannot end with a point";
  if (name.size() >= 2 && name.front() == '\'' && name.back() == '\'') return "a name cannot be in quotes";
  return "";
}

ConfigModel::ConfigModel(std::string safetyFolder) : safetyFolder_(std::move(safetyFolder)) {}

bool ConfigModel::Load(const std::string& settingsPath) {
  path_ = settingsPath;
  edits_.clear();
  added_.clear();
  const bool ok = ini_.Load(settingsPath);
  loadedProps_ = std::clamp(ini_.ReadInteger(kCommon, "NumProps", 0), 0, kMaxProperties);
  return ok;
}

std::string ConfigModel::RootFolder() const { return ExtractFilePath(path_); }

std::string ConfigModel::Caption() const { return "Cotlyn Configuration - " + PathText(path_); }

std::vector<ConfigRow> ConfigModel::Rows(const std::string& section) const {
  std::vector<ConfigRow> rows;
  const auto add = [&](const KeyInfo& info) { rows.push_back({info, Value(section, info.key)}); };
  if (!IsCommon(section)) {
    for (const KeyInfo& info : PropertyKeys()) add(info);
    return rows;
  }
  for (const KeyInfo& info : CommonKeys()) {
    add(info);
    if (info.key == "NLetters")
      for (int n = 1; n <= CountValue(info.key); ++n)
        for (const KeyInfo& letter : LetterKeys(n)) add(letter);
    if (info.key == "NExpCats")
      for (int n = 1; n <= CountValue(info.key); ++n) add(ExpenseKey(n));
  }
  return rows;
}

std::optional<KeyInfo> ConfigModel::Info(const std::string& section, const std::string& key) const {
  const bool common = IsCommon(section);
  for (const KeyInfo& info : common ? CommonKeys() : PropertyKeys())
    if (Same(info.key, key)) return info;
  // "L<n>-Desc", "L<n>-EMail", "X<n>-Desc"
  const size_t dash = key.find('-');
  if (!common || key.size() < 2 || dash == std::string::npos || dash < 2) return std::nullopt;
  const std::string digits = key.substr(1, dash - 1);
  if (digits.size() > 2 || digits.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
  const int n = std::stoi(digits);
  std::vector<KeyInfo> candidates = LetterKeys(n);
  candidates.push_back(ExpenseKey(n));
  for (const KeyInfo& info : candidates)
    if (Same(info.key, key)) return info;
  return std::nullopt;
}

std::string ConfigModel::FileValue(const std::string& section, const std::string& key) const {
  if (ini_.KeyExists(section, key)) return ini_.ReadString(section, key, "");
  const std::optional<KeyInfo> info = Info(section, key);
  return info ? info->def : std::string();
}

std::string ConfigModel::Value(const std::string& section, const std::string& key) const {
  for (const Edit& e : edits_)
    if (Same(e.section, section) && Same(e.key, key)) return e.value;
  return FileValue(section, key);
}

void ConfigModel::SetValue(const std::string& section, const std::string& key, const std::string& value) {
  std::erase_if(edits_, [&](const Edit& e) { return Same(e.section, section) && Same(e.key, key); });
  const std::string v = FileForm(value);
  if (v != FileValue(section, key)) edits_.push_back({section, key, v});
}

void ConfigModel::SetSecret(const std::string& section, const std::string& key, const std::string& password) {
  SetValue(section, key, ScramblePassword(password));
}

int ConfigModel::CountValue(const std::string& key) const {
  const std::optional<double> v = ReadAs(KeyType::Whole, Value(kCommon, key));
  return v ? std::clamp(static_cast<int>(*v), 0, kMaxCount) : 0;
}

std::string ConfigModel::PropertyName(int n) const { return Value(PropertySection(n), "PropName"); }

std::string ConfigModel::PropertyListText(int n) const { return std::to_string(n) + "  " + PropertyName(n); }

std::string ConfigModel::PropertyFolder(int n) const { return RootFolder() + PathFromText(PropertyName(n)) + "/"; }

// Two properties of one name would share one folder and one booking file.
std::string ConfigModel::NameProblem(int n) const {
  const std::string name = PropertyName(n);
  std::string why = CheckPropertyName(name);
  for (int m = 1; why.empty() && m <= NumProps(); ++m)
    if (m != n && Same(PropertyName(m), name)) why = "property " + std::to_string(m) + " has that name";
  return why;
}

std::string ConfigModel::CheckNewProperty(const std::string& typed) const {
  const std::string name = FileForm(typed);
  if (NumProps() >= kMaxProperties)
    return "No property can be added: there are " + std::to_string(kMaxProperties) + " already";
  std::string why = CheckPropertyName(name);
  for (int m = 1; why.empty() && m <= NumProps(); ++m)
    if (Same(PropertyName(m), name)) why = "property " + std::to_string(m) + " has that name";
  return why.empty() ? why : "Cannot add the property \"" + name + "\": " + why;
}

std::string ConfigModel::ReuseQuestion(const std::string& typed) const {
  const std::string section = PropertySection(NumProps() + 1);
  if (!ini_.SectionExists(section)) return "";
  const std::string old = ini_.KeyExists(section, "PropName")
                              ? " (property \"" + ini_.ReadString(section, "PropName", "") + "\")"
                              : std::string();
  return "The settings file already has a section [" + section + "]" + old + ".\rIts settings will be those of \"" +
         FileForm(typed) + "\". Add the property?";
}

int ConfigModel::AddProperty(const std::string& name) {
  const int n = NumProps() + 1;
  added_.push_back(n);
  SetValue(PropertySection(n), "PropName", name);
  return n;
}

std::vector<std::string> ConfigModel::Problems() const {
  std::vector<std::string> lines;
  for (const Edit& e : edits_) {
    const std::optional<KeyInfo> info = Info(e.section, e.key);
    std::string why = info ? CheckValue(*info, e.value) : std::string();
    if (why.empty() && !IsCommon(e.section) && Same(e.key, "PropName")) {
      int n = 0;
      for (int m = 1; m <= NumProps(); ++m)
        if (Same(PropertySection(m), e.section)) n = m;
      if (n > 0) why = NameProblem(n);
      // A renamed property keeps its bookings only if its folder was renamed too.
      const bool added = std::find(added_.begin(), added_.end(), n) != added_.end();
      if (why.empty() && n > 0 && !added && !DirectoryExists(PropertyFolder(n)))
        why = "there is no folder " + PathText(PropertyFolder(n)) + "; rename the property's folder first";
    }
    if (!why.empty()) lines.push_back(e.section + " " + e.key + " = \"" + e.value + "\": " + why);
  }
  for (const int n : added_) {
    if (Value(PropertySection(n), "PropName") != FileValue(PropertySection(n), "PropName")) continue;  // above
    const std::string why = NameProblem(n);
    if (!why.empty()) lines.push_back(PropertySection(n) + " PropName = \"" + PropertyName(n) + "\": " + why);
  }
  return lines;
}

std::string ConfigModel::Save() {
  if (!Modified()) return "";
  const std::string notSaved = "The settings were not saved.";
  const std::vector<std::string> problems = Problems();
  if (!problems.empty()) {
    std::string text = "These values cannot be used:";
    for (const std::string& line : problems) text += "\r" + line;
    return text + "\r" + notSaved;
  }
  // Another program may have written the file since it was read: write the edits
  // into the file as it is now.
  // Cotlyn may be writing a key of its own meanwhile.
  FileLock guard(SettingsLockPath(safetyFolder_, path_));
  std::string before;
  if (!ReadWholeFile(path_, before)) return "Cannot read " + PathText(path_) + "\r" + notSaved;
  IniFile fresh(path_);
  fresh.LoadFromText(before);
  if (!added_.empty() && std::clamp(fresh.ReadInteger(kCommon, "NumProps", 0), 0, kMaxProperties) != loadedProps_)
    return "The number of properties in " + PathText(path_) +
           " was changed by another program.\rClose this window and configure again. " + notSaved;
  if (safetyFolder_.empty()) return "No private temporary folder for the safety copy\r" + notSaved;
  const std::string safety = safetyFolder_ + ExtractFileName(path_);
  if (!WriteWholeFile(safety, before, FileAccess::Private)) return "Cannot write the safety copy " + PathText(safety) + "\r" + notSaved;
  // The folders first: Cotlyn stops on a property without its folder.
  for (const int n : added_) {
    for (const char* sub : kPropertyFolders) {
      const std::string folder = PropertyFolder(n) + sub;
      if (!ForceDirectories(folder)) return "Cannot create the folder " + PathText(folder) + "\r" + notSaved;
    }
  }
  for (const int n : added_) fresh.WriteString(PropertySection(n), "PropName", PropertyName(n));
  for (const Edit& e : edits_) fresh.WriteString(e.section, e.key, e.value);
  if (!added_.empty()) fresh.WriteInteger(kCommon, "NumProps", NumProps());
  if (!fresh.Save())
    return "Cannot write " + PathText(path_) + "\r" + notSaved + " The file as it was is in " + PathText(safety);
  ini_ = std::move(fresh);
  loadedProps_ = NumProps();
  edits_.clear();
  added_.clear();
  return "";
}

}  // namespace tb

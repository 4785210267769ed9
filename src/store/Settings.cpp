#include "store/Settings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/FileLock.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/PathText.h"
#include "store/DiagnosticLog.h"
#include "store/Session.h"

namespace tb {

namespace {

const char* const kCommon = "Common";

uint8_t ReadByte(const IniFile& ini, const std::string& section, const std::string& key, int def) {
  return static_cast<uint8_t>(std::clamp(ini.ReadInteger(section, key, def), 0, 255));
}

void LoadCommon(CommonSettings& c, const IniFile& ini) {
  c.ver = ini.ReadString(kCommon, "ver", "");
  c.ViewMode = ini.ReadString(kCommon, "ViewMode", "C");
  if (c.ViewMode.empty()) c.ViewMode = "C";
  c.MURefresh = ini.ReadInteger(kCommon, "MURefresh", 10);
  c.CloudData = ini.ReadBool(kCommon, "CloudData", false);
  c.IP = ini.ReadString(kCommon, "IP", "");
  c.SynchDB = ini.ReadBool(kCommon, "SynchDB", false);
  c.NAvDays = ini.ReadInteger(kCommon, "NAvDays", 0);
  c.SpSCur = ini.ReadBool(kCommon, "SpSCur", false);
  c.NoShowEM = ini.ReadBool(kCommon, "NoShowEM", false);
  c.WordProc = ini.ReadString(kCommon, "WordProc", "");
  c.SiteURL = ini.ReadString(kCommon, "SiteURL", "");
  c.LocSite = ini.ReadString(kCommon, "LocSite", "");
  c.LocIndex = ini.ReadString(kCommon, "LocIndex", "");
  c.Site = ini.ReadString(kCommon, "Site", "");
  c.FormData = ini.ReadString(kCommon, "FormData", "");
  c.Merge = ini.ReadBool(kCommon, "Merge", false);
  c.Splash = ini.ReadBool(kCommon, "Splash", true);
  c.SaveSSP = ini.ReadBool(kCommon, "SaveSSP", false);
  c.TaxYr = ini.ReadString(kCommon, "TaxYr", "0405");
  c.Tax = ini.ReadFloat(kCommon, "Tax", 20);
  // Fees are divided by 100 + Tax: a rate below 0 is a typing error, never a VAT rate.
  if (!std::isfinite(c.Tax) || c.Tax < 0) c.Tax = 20;
  c.CRWanted = ini.ReadBool(kCommon, "CRWanted", false);
  if (c.CRWanted) {
    c.WEFix = ini.ReadFloat(kCommon, "WEFix", 0);
    c.OTFix = ini.ReadFloat(kCommon, "OTFix", 0);
    c.WEpn = ini.ReadFloat(kCommon, "WEpn", 0);
    c.OTpn = ini.ReadFloat(kCommon, "OTpn", 0);
    c.WEmin = ReadByte(ini, kCommon, "WEmin", 0);
    c.OTmin = ReadByte(ini, kCommon, "OTmin", 0);
    c.AvRent = ini.ReadBool(kCommon, "AvRent", false);
  }
  c.NLetters = std::max(0, ini.ReadInteger(kCommon, "NLetters", 0));
  c.LetterDesc.assign(static_cast<size_t>(c.NLetters) + 1, std::string());
  c.LetterEMail.assign(static_cast<size_t>(c.NLetters) + 1, false);
  for (int n = 1; n <= c.NLetters; ++n) {
    const std::string l = "L" + std::to_string(n);
    c.LetterDesc[n] = ini.ReadString(kCommon, l + "-Desc", "Fail").substr(0, 30);
    c.LetterEMail[n] = ini.ReadBool(kCommon, l + "-EMail", false);
  }
  c.NExpCats = std::max(0, ini.ReadInteger(kCommon, "NExpCats", 0));
  c.ExpDesc.assign(static_cast<size_t>(c.NExpCats) + 1, std::string());
  for (int n = 1; n <= c.NExpCats; ++n) c.ExpDesc[n] = ini.ReadString(kCommon, "X" + std::to_string(n) + "-Desc", "Fail");
  c.eAddr = ini.ReadString(kCommon, "eAddr", "");
  c.eHost = ini.ReadString(kCommon, "eHost", "");
  c.eUser = ini.ReadString(kCommon, "eUser", "");
  c.eFrom = ini.ReadString(kCommon, "eFrom", "");
  c.eRep = ini.ReadString(kCommon, "eRep", "");
  c.eBCC = ini.ReadString(kCommon, "eBCC", "");
  c.ePC = ini.ReadString(kCommon, "ePC", "");
  c.Port = ini.ReadInteger(kCommon, "Port", 25);
  c.eSSL = ini.ReadInteger(kCommon, "eSSL", 0);
  c.eExpTLS = ini.ReadBool(kCommon, "eExpTLS", true);
  c.wPubWeb = ini.ReadBool(kCommon, "wPubWeb", true);
  if (c.wPubWeb) {
    c.wCWks = ini.ReadBool(kCommon, "wCWks", false);
    c.wLDts = ini.ReadBool(kCommon, "wLDts", false);
    c.wMSep = ini.ReadBool(kCommon, "wMSep", false);
    c.wYSep = ini.ReadBool(kCommon, "wYSep", false);
    c.wOLet = ini.ReadBool(kCommon, "wOLet", false);
  }
  c.HS_URL = ini.ReadString(kCommon, "HS_URL", "");
  c.HS_LDIR = ini.ReadString(kCommon, "HS_LDIR", "");
  c.HS_PW = ini.ReadString(kCommon, "HS_PW", "");
  c.wUCD = ini.ReadInteger(kCommon, "wUCD", 0);
  c.HS_Compress = ini.ReadBool(kCommon, "HS_Compress", true);
  // Without a property count there is nothing to show; start-up reports it.
  c.NumProps = std::max(0, ini.ReadInteger(kCommon, "NumProps", 0));
}

// Which extra charge (1..3) carries each role; a later equal name wins.
void DeriveChargeRoles(Prop_Rec& p) {
  p.ChargeCount = 0;
  p.FuelChg = p.LinenChg = p.RetDepChg = p.BookFeeChg = p.SurchargeChg = 0;
  for (uint8_t i = 1; i <= 3; ++i) {
    const std::string& name = p.ExtChg[i];
    if (!name.empty()) ++p.ChargeCount;
    if (name == "Fuel") p.FuelChg = i;
    if (name == "Linen") p.LinenChg = i;
    if (name == "Ret Deposit") p.RetDepChg = i;
    if (name == "Booking Fee") p.BookFeeChg = i;
    if (name == "Surcharge") p.SurchargeChg = i;
  }
}

void LoadProperty(Prop_Rec& p, int n, const IniFile& ini, const std::string& root) {
  const std::string sec = PropertySection(n);
  p.PropName = ini.ReadString(sec, "PropName", "Fail");
  p.PropNo = n;
  p.Folder = root + PathFromText(p.PropName) + "/";
  p.ID = ini.ReadInteger(sec, "ID", 0);
  p.AS = ini.ReadBool(sec, "AS", false);
  p.ChangeDay = ini.ReadInteger(sec, "ChangeDay", 7);
  // The week calendar cannot work with a day that does not exist.
  if (p.ChangeDay < 1 || p.ChangeDay > 7) p.ChangeDay = 7;
  // Deposit up to and including 100 is a percentage; above, an amount in hundredths.
  p.Deposit = ini.ReadFloat(sec, "Deposit", 25);
  p.DepositIsPct = p.Deposit <= 100 ? 1 : 0;
  if (!p.DepositIsPct) p.Deposit /= 100;
  // Booking fee below 100 is a percentage; from 100, an amount in hundredths.
  p.BookFee = ini.ReadFloat(sec, "BookFee", 0);
  p.BookFeeIsPct = p.BookFee < 100 ? 1 : 0;
  if (!p.BookFeeIsPct) p.BookFee /= 100;
  p.DBookFee = p.BookFee > 0 && ini.ReadBool(sec, "DBookFee", false) ? 1 : 0;
  p.MgtFee = ini.ReadFloat(sec, "MgtFee", 0);
  p.FRentOnly = ini.ReadBool(sec, "FRentOnly", false);
  p.DRO = ini.ReadBool(sec, "DRO", false);
  p.RetDeposit = ini.ReadFloat(sec, "RetDeposit", 0);
  const std::string cs = ini.ReadString(sec, "CS", "\xA3");
  p.CS = cs.empty() ? '\0' : cs[0];
  for (int i = 1; i <= 3; ++i) p.ExtChg[i] = ini.ReadString(sec, "ExtChg" + std::to_string(i), "");
  DeriveChargeRoles(p);
  p.BalDue = ReadByte(ini, sec, "BalDue", 6);
  p.DepDue = ReadByte(ini, sec, "DepDue", 7);
  p.Wait = ReadByte(ini, sec, "Wait", 34);
  p.WebFolder = ini.ReadString(sec, "WebFolder", "");
  p.WebAvail = ini.ReadString(sec, "WebAvail", "");
  p.WebIndex = ini.ReadString(sec, "WebIndex", "");
  p.Site = ini.ReadString(sec, "Site", "");
  p.Owner = static_cast<uint16_t>(std::clamp(ini.ReadInteger(sec, "Owner", 0), 0, 65535));
  p.AO = ini.ReadBool(sec, "AO", false);
}

void LoadRegistryValues(Session& s) {
  s.prefs.Assign(s.registry.ReadBinary(kRegistryKey, "UPrefs").value_or(std::vector<uint8_t>{}));
  s.BUP = s.registry.ReadString(kRegistryKey, "BUP").value_or("");
  s.AupFREQ = static_cast<int>(s.registry.ReadDword(kRegistryKey, "AupFREQ").value_or(0));
}

// The keys go into the file as it is now (the configuration program or another copy
// may have changed it); the file is replaced whole, or not at all.
bool WriteCommonKeys(Session& s, const std::vector<std::pair<std::string, bool>>& values) {
  const std::string& path = s.common.SettingsPath;
  FileLock guard(SettingsLockPath(s.common.TempFolder, path));
  IniFile ini(path);
  // Writing over a file that could not be read would keep only these keys: every
  // property would be lost.
  if (!ini.Load()) {
    WriteLog(s, "Cannot read settings file " + PathText(path) + ". Not saved: " + values.front().first);
    s.dialogs.Message("Cannot read " + PathText(path) + "\r" + "The settings were not saved", MsgIcon::Error,
                      MsgButton::OK);
    return false;
  }
  for (const auto& [key, value] : values) ini.WriteBool(kCommon, key, value);
  if (ini.Save()) return true;
  WriteLog(s, "Cannot write settings file " + PathText(path) + ". Not saved: " + values.front().first);
  s.dialogs.Message("Cannot write to " + PathText(path) + "\r" + "The settings were not saved", MsgIcon::Error,
                    MsgButton::OK);
  return false;
}

}  // namespace

std::string SettingsLockPath(const std::string& tempFolder, const std::string& settingsPath) {
  return LockPathFor(tempFolder, "settings\n" + CanonicalPath(settingsPath));
}

std::string PropertySection(int n) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "Prop%02d", n);
  return buf;
}

void LoadSettingsFrom(Session& s, const IniFile& ini) {
  LoadCommon(s.common, ini);
  s.props.assign(static_cast<size_t>(s.common.NumProps) + 1, Prop_Rec{});
  s.common.AgencySynch = false;
  for (int n = 1; n <= s.common.NumProps; ++n) {
    LoadProperty(s.props[n], n, ini, s.common.RootFolder);
    if (s.props[n].AS) s.common.AgencySynch = true;
  }
  LoadRegistryValues(s);
}

void LoadSettings(Session& s) {
  IniFile ini(s.common.SettingsPath);
  ini.Load();
  LoadSettingsFrom(s, ini);
}

bool SaveCloudMode(Session& s, bool cloud) {
  s.common.CloudData = cloud;
  return WriteCommonKeys(s, {{"CloudData", cloud}});
}

bool SaveWebOptions(Session& s) {
  const CommonSettings& c = s.common;
  return WriteCommonKeys(
      s, {{"wCWks", c.wCWks}, {"wLDts", c.wLDts}, {"wMSep", c.wMSep}, {"wYSep", c.wYSep}, {"wOLet", c.wOLet}});
}

bool SaveUserPrefs(Session& s) {
  return s.registry.CreateKey(kRegistryKey) && s.registry.WriteBinary(kRegistryKey, "UPrefs", s.prefs.Bytes()) &&
         s.registry.WriteString(kRegistryKey, "BUP", s.BUP);
}

void ReadWindowPos(Session& s, int n) {
  auto data = s.registry.ReadBinary(kRegistryKey, "SWin" + std::to_string(n));
  if (!data || data->size() < 8) return;
  Prop_Rec& p = s.Prop(n);
  for (size_t i = 0; i < 4; ++i)
    p.WinPos[i] = static_cast<int16_t>((*data)[2 * i] | ((*data)[2 * i + 1] << 8));
}

bool SaveWindowPos(Session& s, int n) {
  const Prop_Rec& p = s.Prop(n);
  std::vector<uint8_t> data(8);
  for (size_t i = 0; i < 4; ++i) {
    const auto v = static_cast<uint16_t>(p.WinPos[i]);
    data[2 * i] = static_cast<uint8_t>(v & 0xFF);
    data[2 * i + 1] = static_cast<uint8_t>(v >> 8);
  }
  return s.registry.WriteBinary(kRegistryKey, "SWin" + std::to_string(n), data);
}

std::string PropertyTitle(const Session& s, int n) {
  const Prop_Rec& p = s.Prop(n);
  std::string title = "Property: " + p.PropName;
  if (p.AO && s.ownerName) {
    const std::string owner = s.ownerName(p.Owner);
    if (!owner.empty()) title += ".  Owner: " + owner;
  }
  return title;
}

std::string ResolvePath(const std::string& configured, const std::string& base) {
  if (configured.empty()) return configured;
  const std::string path = NativePath(PathFromText(configured));
  return IsRelativePath(path) ? base + path : path;
}

std::string LocalWebFolder(const Session& s, int n) {
  const Prop_Rec& p = s.Prop(n);
  // Neither set: the root folder itself, as any other relative folder is taken from it
  // (never the program's working folder).
  const std::string configured = p.WebFolder.empty() ? s.common.LocSite : p.WebFolder;
  if (configured.empty()) return s.common.RootFolder;
  return IncludeTrailingSlash(ResolvePath(configured, s.common.RootFolder));
}

std::string LocalIndexPage(const Session& s, int n) {
  const Prop_Rec& p = s.Prop(n);
  return ResolvePath(p.WebIndex.empty() ? s.common.LocIndex : p.WebIndex, LocalWebFolder(s, n));
}

std::vector<PropertyListRow> PropertyListRows(const Session& s, bool agencyOnly) {
  std::vector<PropertyListRow> rows;
  for (int n = 1; n <= s.NumProps(); ++n) {
    const Prop_Rec& p = s.Prop(n);
    if (agencyOnly && !p.AS) continue;
    PropertyListRow row;
    row.propNo = n;
    row.text = std::to_string(n) + (n <= 9 ? "  " : "") + "  " + p.PropName;
    row.selected = rows.empty() || p.PropName != "Ruza Rorazed";
    rows.push_back(row);
  }
  return rows;
}

TDateTime ParseYYMMDD(const std::string& text) {
  if (text.size() != 6 || text.find_first_not_of("0123456789") != std::string::npos) return 0;
  TDateTime d;
  if (!TryEncodeDate(2000 + std::stoi(text.substr(0, 2)), std::stoi(text.substr(2, 2)), std::stoi(text.substr(4, 2)), d))
    return 0;
  return d;
}

std::string HelpPagePath(const std::string& helpFolder, int context) {
  switch (context) {
    case kHelpIndex: return helpFolder + "keywords.html";
    case kHelpSearch: return helpFolder + "search.html";
    default: break;
  }
  return helpFolder + (context > 0 ? std::to_string(context) : std::string("index")) + ".html";
}

void OpenHelp(const Session& s, int context) { s.processes.ShellOpen(HelpPagePath(s.common.HelpFolder, context)); }

}  // namespace tb

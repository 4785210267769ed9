#pragma once
// Section "Common" of the settings file, held once for the whole run, together with
// the paths and names found at start-up.

#include <string>
#include <vector>

namespace tb {

struct CommonSettings {
  std::string ver;
  std::string ViewMode = "C";
  int MURefresh = 10;
  bool CloudData = false;
  std::string IP;
  bool SynchDB = false;
  int NAvDays = 0;
  bool SpSCur = false;
  bool NoShowEM = false;
  std::string WordProc;
  std::string SiteURL;
  std::string LocSite;
  std::string LocIndex;
  std::string Site;
  std::string FormData;
  bool Merge = false;
  bool Splash = true;
  bool SaveSSP = false;
  std::string TaxYr = "0405";
  double Tax = 20;
  bool CRWanted = false;
  double WEFix = 0, OTFix = 0, WEpn = 0, OTpn = 0;
  int WEmin = 0, OTmin = 0;
  bool AvRent = false;
  int NLetters = 0;
  std::vector<std::string> LetterDesc;  // [0] unused; 1..NLetters
  std::vector<bool> LetterEMail;        // [0] unused; 1..NLetters
  int NExpCats = 0;
  std::vector<std::string> ExpDesc;  // [0] unused; 1..NExpCats
  std::string eAddr, eHost, eUser, eFrom, eRep, eBCC;
  std::string ePC;
  int Port = 25;
  int eSSL = 0;
  bool eExpTLS = true;
  bool wPubWeb = true;
  bool wCWks = false, wLDts = false, wMSep = false, wYSep = false, wOLet = false;
  std::string HS_URL;
  std::string HS_LDIR;
  std::string HS_PW;
  int wUCD = 0;
  bool HS_Compress = true;
  int NumProps = 0;

  bool AgencySynch = false;  // some property has "AS"

  // Paths and names of this run.
  std::string RootFolder;     // ends with "/"
  std::string ProgramFolder;  // ends with "/"
  std::string TempFolder;     // ends with "/"
  std::string SettingsPath;
  std::string LogPath;
  std::string UsersPath;
  std::string HelpFolder;  // the HTML help pages, ends with "/"
  std::string ComputerName;
  std::string UserName = "Unknown";

  // View mode "M" shows all properties in one window.
  bool AllPropertiesView() const { return !ViewMode.empty() && ViewMode[0] == 'M'; }
};

}  // namespace tb

#include "web/WebCommands.h"

#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "store/DiagnosticLog.h"
#include "store/Session.h"
#include "web/UploadToHelper.h"
#include "web/WebFileSupport.h"
#include "web/WebFiles.h"

namespace tb {

namespace {

constexpr int kHelpUpload = 197;
constexpr int kHelpSynch = 1250;
constexpr const char* kCalendarScript = "TA-upload-calendar.php";
constexpr const char* kRatesScript = "insertrates.php";

std::string PropertyText(const Session& s, int n) { return std::to_string(n) + " " + s.Prop(n).PropName; }

// Property n's calendar written into the helper folder; its path, or "" when it could not be.
std::string MakeCalendar(Session& s, int n) {
  const std::string path = HelperFolder(s) + AgencyCalendarName(n);
  return CreateAgencyCalendar(s, n, path) ? path : std::string();
}

// propinfo.php handed to Ferrit through the upload list in the root folder.
bool HandToFerrit(Session& s, const std::string& listLine) {
  if (!StartFerritOn(s, listLine + "\r\n")) return false;
  s.dialogs.Beep();
  s.dialogs.Message("File created. Will be uploaded as specified in Ferrit site CotlynData", MsgIcon::Information,
                    MsgButton::OK);
  return true;
}

}  // namespace

bool SendToHelper(Session& s, const std::string& path, bool compress, const std::string& script) {
  return UploadToHelper(s, s.common.HS_URL, path, s.common.HS_PW, compress, script);
}

namespace {

// Every refusal of the Ferrit hand-over: the beep and an error box with Abort.
bool RefuseUpload(Session& s, const std::string& text) {
  s.dialogs.Beep();
  s.dialogs.Message(text, MsgIcon::Error, MsgButton::Abort);
  return false;
}

std::string FerritNotFound(const Session& s) {
  return "Ferrit not found at " + PathText(FerritPath(s)) + ". (Re)install?";
}

}  // namespace

bool FerritMissing(Session& s) {
  if (FileExists(FerritPath(s))) return false;
  RefuseUpload(s, FerritNotFound(s));
  return true;
}

bool StartFerritOn(Session& s, const std::string& listText) {
  if (FerritMissing(s)) return false;
  const std::string list = s.common.RootFolder + kFerritList;
  if (!WriteWebFile(s, list, listText))
    return RefuseUpload(s, "Cannot write to file " + PathText(list) + "\rUpload aborted");
  if (s.processes.Run(FerritPath(s), {list}, false) < 0) return RefuseUpload(s, FerritNotFound(s));
  return true;
}

std::string FerritPath(const Session& s) {
  std::string folder = s.common.ProgramFolder;
  if (!folder.empty() && folder.back() == '/') folder.pop_back();
  return ExtractFilePath(folder) + "Ferrit/Ferrit";
}

bool UploadWebData(Session& s) {
  if (s.common.NAvDays == 0) {
    s.dialogs.Beep();
    s.dialogs.Message("Function inactive\rConfigure File Upload period", MsgIcon::Error,
                      MsgButton::Abort | MsgButton::Help, kHelpUpload);
    return false;
  }
  const PublishResult published = PublishPHPWebData(s);
  if (!published.error.empty()) {
    s.dialogs.Beep();
    s.dialogs.Message(published.error + "\rUpload aborted", MsgIcon::Error, MsgButton::Abort);
    return false;
  }
  if (s.common.HS_URL.empty()) return HandToFerrit(s, published.listLine);
  const bool sent = SendToHelper(s, HelperFolder(s) + "propinfo.php", s.common.HS_Compress);
  s.dialogs.Beep();
  if (sent) {
    s.dialogs.Message("Property availability data uploaded (with helper script)\rFile=propinfo.php More details in "
                      "diagnostic log",
                      MsgIcon::Information, MsgButton::OK | MsgButton::Help, kHelpUpload);
  } else {
    s.dialogs.Message("XHR-Error. Upload of propinfo.php failed\rCheck diagnostic log", MsgIcon::Error,
                      MsgButton::Abort | MsgButton::Help, kHelpSynch);
  }
  return sent;
}

bool SynchRatesDatabase(Session& s, bool fromMenu) {
  if (s.common.HS_URL.empty()) {
    s.dialogs.Message("Synch not possible. Specify URL of helper application", MsgIcon::Error, MsgButton::OK);
    return false;
  }
  if (fromMenu && s.dialogs.Message("Upload rates data and insert into remote database?", MsgIcon::Warning,
                                    MsgButton::Yes | MsgButton::Cancel) != MsgButton::Yes)
    return false;
  const std::string path = HelperFolder(s) + "ratequery.php";
  int rows = 0;
  // A query that could not be written is not sent: the server would run the old one.
  const bool sent = CreateRateQuery(s, path, rows) && SendToHelper(s, path, s.common.HS_Compress, kRatesScript);
  if (!sent) {
    s.dialogs.Message("XHR-Rates upload error.\rCannot upload / run script: insertrates.php\rCheck diagnostic log",
                      MsgIcon::Error, MsgButton::Abort | MsgButton::Help, kHelpSynch);
    return false;
  }
  s.RatesDue = false;
  if (fromMenu) {
    s.dialogs.Beep();
    s.dialogs.Message("Successfully synched online database.\rCreated local SQL query file " + PathText(path) +
                          "\rFor exact dates see file. Diagnostic log shows timings.\rUploaded - there were " +
                          std::to_string(rows) + " rows\rThen ran update script: insertrates.php",
                      MsgIcon::Information, MsgButton::OK);
  }
  return true;
}

bool SynchAgency(Session& s, int n) {
  if (n < 1 || n > s.NumProps() || !s.Prop(n).AS) return true;
  const std::string path = MakeCalendar(s, n);
  if (path.empty()) {
    s.dialogs.Message("XHR-Upload error\rCannot create calendar file for property " + PropertyText(s, n) +
                          "\rMust run Synch Agency again (See Help)",
                      MsgIcon::Error, MsgButton::Abort | MsgButton::Help, kHelpSynch);
    return false;
  }
  if (!SendToHelper(s, path, false, kCalendarScript)) {
    s.dialogs.Message("XHR-Upload error\rCannot synch. property " + PropertyText(s, n) +
                          "\rMust run Synch Agency again (See Help)",
                      MsgIcon::Error, MsgButton::Abort | MsgButton::Help, kHelpSynch);
    return false;
  }
  s.dialogs.Message("Availability sucessfully synchronised\rProperty " + PropertyText(s, n), MsgIcon::None,
                    MsgButton::OK);
  return true;
}

void AgencyCalendarAfterSave(Session& s, int n) {
  Prop_Rec& p = s.Prop(n);
  if (!p.AS) {
    p.DatesChanged = 0;
    return;
  }
  const std::string path = MakeCalendar(s, n);
  if (path.empty()) {
    s.dialogs.Message("XHR-Upload error. (NB Booking was updated)\rCannot create calendar file for property " +
                          PropertyText(s, n) + "\rMust run Synch Agency again (see Help)",
                      MsgIcon::Error, MsgButton::OK | MsgButton::Help, kHelpSynch);
    return;
  }
  p.DatesChanged = 0;
  // Without a helper script there is nowhere to send it: a box after every save would
  // only nag. The file stays in the folder and "Synch Agency" still says what is missing.
  if (s.common.HS_URL.empty()) {
    WriteLog(s, "Agency calendar " + PathText(path) + " not sent: no helper script URL (HS_URL)");
    return;
  }
  if (!SendToHelper(s, path, false, kCalendarScript)) {
    s.dialogs.Message("XHR-Upload error.  (NB Booking was updated)\rCannot synch. Property=" + PropertyText(s, n) +
                          "\rMust run Synch Agency again (see Help)",
                      MsgIcon::Error, MsgButton::OK | MsgButton::Help, kHelpSynch);
  }
}

void InstallAgencyCalendarHook(Session& s) {
  s.agencyCalendarUpload = [](Session& session, int n) { AgencyCalendarAfterSave(session, n); };
}

void AutoUploadTick(Session& s) {
  if (s.common.NAvDays > 0 && s.WebDataDue) {
    const std::string path = HelperFolder(s) + "propinfo.php";
    if (!CreateWebData(s, path) || !SendToHelper(s, path, s.common.HS_Compress)) {
      s.dialogs.Beep();
      s.dialogs.Message("XHR-Error. Auto-upload of propinfo.php failed\rCheck diagnostic log", MsgIcon::Error,
                        MsgButton::Abort, kHelpSynch);
      return;
    }
    s.WebDataDue = false;
  }
  if (s.common.SynchDB && s.RatesDue) SynchRatesDatabase(s, false);
}

}  // namespace tb

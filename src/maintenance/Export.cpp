#include "maintenance/Export.h"

#include <cerrno>

#include "platform/FileSystem.h"
#include "platform/FormatSettings.h"
#include "platform/PathText.h"
#include "reports/BookingReports.h"
#include "store/Session.h"
#include "store/Settings.h"

namespace tb {

void StoredExportRange(const Session& s, TDateTime& from, TDateTime& to) {
  from = s.prefs.CsvStartDate();
  to = s.prefs.CsvEndDate();
  if (from > 0 && to > 0) return;
  const int lastYear = DecodeDate(s.clock.Today()).year - 1;
  from = EncodeDate(lastYear, 1, 1);
  to = EncodeDate(lastYear, 12, 31);
}

bool StoreExportChoices(Session& s, TDateTime from, TDateTime to, bool header) {
  s.prefs.SetCsvStartDate(static_cast<int32_t>(from));
  s.prefs.SetCsvEndDate(static_cast<int32_t>(to));
  s.prefs.SetCsvHeader(header);
  return SaveUserPrefs(s);
}

std::string BookingsExportPath(const Session& s) { return s.common.RootFolder + "Bookings.csv"; }
std::string RatesExportPath(const Session& s) { return s.common.RootFolder + "Import-charges.sql"; }

ExportOutcome WriteExport(Session& s, const std::string& path, const std::string& text,
                          std::vector<std::string>& log) {
  if (FileExists(path) && s.dialogs.Message("File " + PathText(path) + " already exists. Overwrite?",
                                            MsgIcon::Warning, MsgButton::Yes | MsgButton::Cancel) != MsgButton::Yes) {
    log.push_back("Cancelled - no file written.");
    return ExportOutcome::Cancelled;
  }
  errno = 0;
  if (!WriteWholeFile(path, text)) {
    const int reason = errno;
    s.dialogs.Message("Cannot write " + PathText(path) + "\r" + SystemErrorText(reason), MsgIcon::Error,
                      MsgButton::Abort);
    log.push_back("Cannot write " + PathText(path));
    return ExportOutcome::Failed;
  }
  log.push_back("Export complete.  File " + PathText(path) + " written");
  s.dialogs.Beep();
  return ExportOutcome::Written;
}

ExportOutcome ExportBookings(Session& s, const ExportTemplate& t, const ExportRun& run,
                             std::vector<std::string>& log) {
  if (!ReadReportBookings(s, run.properties)) return ExportOutcome::Failed;
  const std::string csv = BookingsCsv(s, t, run, SystemFormatSettings(), log);
  return WriteExport(s, BookingsExportPath(s), csv, log);
}

ExportOutcome ExportAll(Session& s, const ExportRun& run, std::vector<std::string>& log) {
  if (!ReadReportBookings(s, run.properties)) return ExportOutcome::Failed;
  const std::string csv = AllBookingsCsv(s, run, log);
  return WriteExport(s, BookingsExportPath(s), csv, log);
}

ExportOutcome ExportRates(Session& s, const std::vector<int>& properties, std::vector<std::string>& log) {
  const std::string sql = RatesSql(s, properties);
  return WriteExport(s, RatesExportPath(s), sql, log);
}

}  // namespace tb

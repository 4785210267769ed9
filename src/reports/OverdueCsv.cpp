#include "reports/OverdueCsv.h"

#include <cerrno>

#include "platform/Escape.h"
#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "platform/Text.h"
#include "store/Session.h"

namespace tb {

std::string OverdueCsvPath(const Session& s) { return s.common.RootFolder + "Overdue-Items.csv"; }

std::string OverdueCsv(const std::vector<OverdueRow>& rows) {
  std::string csv = "PropNo,Name,RecNo,Start,Surname,First Name,Comment\r\n";
  for (const OverdueRow& r : rows) {
    for (int c = 0; c < kOverdueColumns; ++c) {
      if (c) csv += ',';
      csv += CsvQuoted(TrimView(OverdueCellText(r, static_cast<OverdueColumn>(c))));
    }
    csv += "\r\n";
  }
  return csv;
}

CsvExport ExportOverdueCsv(Session& s, const std::vector<OverdueRow>& rows) {
  const std::string path = OverdueCsvPath(s);
  if (FileExists(path) && s.dialogs.Message("File " + PathText(path) + " already exists. Overwrite?",
                                            MsgIcon::Warning, MsgButton::Yes | MsgButton::Cancel) != MsgButton::Yes)
    return CsvExport::Cancelled;
  errno = 0;
  if (WriteWholeFile(path, OverdueCsv(rows))) return CsvExport::Written;
  const int reason = errno;
  s.dialogs.Message("Cannot write " + PathText(path) + "\r" + SystemErrorText(reason), MsgIcon::Error,
                    MsgButton::Abort);
  return CsvExport::Failed;
}

}  // namespace tb

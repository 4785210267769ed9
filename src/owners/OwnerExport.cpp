#include "owners/OwnerExport.h"

#include "owners/OwnerDB.h"
#include "owners/OwnerListRows.h"
#include "platform/Escape.h"
#include "platform/FileSystem.h"
#include "store/Session.h"

namespace tb {

std::string OwnersCsvPath(const Session& s) { return s.common.RootFolder + "Owners.csv"; }

std::string OwnersCsv(const std::vector<Owner_Rec>& owners, const std::string& dateText) {
  std::string csv = "," + CsvQuoted("List of Owners.  Exported " + dateText) + "\r\n";
  for (const Owner_Rec& o : owners) {
    csv += std::to_string(o.OwnerID);
    for (const std::string& t : {o.OwnerSurname, o.OwnerFName, o.OwnerPhone, o.OwnerEmail,
                                 CommaLines(o.OwnerAddress), o.OwnerURL})
      csv += "," + CsvQuoted(t);
    csv += "\r\n";
  }
  return csv;
}

bool WriteOwnersCsv(Session& s) {
  return WriteWholeFile(OwnersCsvPath(s), OwnersCsv(OwnerList(s), ShortDateText(s.clock.Today())));
}

}  // namespace tb

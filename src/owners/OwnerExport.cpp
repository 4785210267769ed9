#include "owners/OwnerExport.h"

#include "owners/OwnerDB.h"
#include "owners/OwnerListRows.h"
#include "platform/FileSystem.h"
#include "store/Session.h"

namespace tb {

namespace {

// A CSV field: in double quotes, a double quote inside written twice, so that a name
// with a quote in it stays one field.
std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

}  // namespace

std::string OwnersCsvPath(const Session& s) { return s.common.RootFolder + "Owners.csv"; }

std::string OwnersCsv(const std::vector<Owner_Rec>& owners, const std::string& dateText) {
  std::string csv = "," + Quoted("List of Owners.  Exported " + dateText) + "\r\n";
  for (const Owner_Rec& o : owners) {
    csv += std::to_string(o.OwnerID);
    const std::string address = CommaLines(o.OwnerAddress);
    for (const std::string_view t : {o.OwnerSurname.view(), o.OwnerFName.view(), o.OwnerPhone.view(),
                                      o.OwnerEmail.view(), std::string_view(address), o.OwnerURL.view()})
      csv += "," + Quoted(t);
    csv += "\r\n";
  }
  return csv;
}

bool WriteOwnersCsv(Session& s) {
  return WriteWholeFile(OwnersCsvPath(s), OwnersCsv(OwnerList(s), ShortDateText(s.clock.Today())));
}

}  // namespace tb

#include "owners/OwnerStats.h"

#include <algorithm>

#include "owners/OwnerDB.h"
#include "owners/OwnerListRows.h"
#include "owners/OwnerOrder.h"
#include "platform/PathText.h"
#include "store/Session.h"

namespace tb {

std::string OwnerCountText(const Session& s) {
  return "Number of owners defined = " + std::to_string(OwnerList(s).size());
}

std::string OwnerDatabaseText(const Session& s) { return "Owner Database is " + PathText(OwnerFilePath(s)); }

std::string OwnerStatisticsText(const Session& s) {
  const std::vector<Owner_Rec>& owners = OwnerList(s);
  std::string text;
  const auto line = [&text](const std::string& l) { text += l + "\r\n"; };

  line("LISTING PROPERTIES WITHOUT A VALID OWNER");
  // One lookup per number: the table of numbers in use, sorted.
  std::vector<uint16_t> ids;
  ids.reserve(owners.size());
  for (const Owner_Rec& o : owners) ids.push_back(o.OwnerID);
  std::sort(ids.begin(), ids.end());
  for (int n = 1; n <= s.NumProps(); ++n) {
    const Prop_Rec& p = s.Prop(n);
    const std::string head = "Property " + std::to_string(n) + " " + p.PropName;
    if (p.Owner == 0)
      line(head + " NO OWNER ASSIGNED");
    else if (!std::binary_search(ids.begin(), ids.end(), p.Owner))
      line(head + " assigned to Owner ID=" + std::to_string(p.Owner) + " OWNER DOES NOT EXIST");
  }

  line("");
  line("CHECKING FOR DUPLICATE OWNER IDs - please resolve by deleting oldest duplicate, then recreate if necessary");
  line("NOTE: Row numbers are before sorting the list.");
  const auto pairs = DuplicateOwnerPairs(owners);
  for (const auto& pair : pairs) line(DuplicateOwnerText(owners, pair));
  if (pairs.empty()) line("NO DUPLICATES FOUND");

  line("");
  line("LISTING OWNERS THAT ARE NOT ASSIGNED TO A PROPERTY");
  const PropertyOwnerCounts np(s);
  for (size_t i = 0; i < owners.size(); ++i) {
    const Owner_Rec& o = owners[i];
    if (np(o.OwnerID) == 0)
      line("Owner (" + std::to_string(i + 1) + ") ID=" + std::to_string(o.OwnerID) + " " + o.OwnerFName + " " +
           o.OwnerSurname + " - NOT ASSIGNED TO A PROPERTY");
  }

  line("");
  line("The Owner list shows the number of properties assigned to an owner.");
  line("");
  line("    -----------------------------");
  return text;
}

}  // namespace tb

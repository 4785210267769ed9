#pragma once
// What the owner list window shows: one row per owner with the number of properties
// linked to it, the column sorts, and the links it opens.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "owners/OwnerRec.h"

namespace tb {

class Session;

// The texts are views into the text of the OwnerListTable that made the row.
struct OwnerListRow {
  uint16_t ID = 0;
  int NP = 0;                 // properties whose Owner is ID
  std::string_view Name;      // surname + middle dot + " " + first names
  std::string_view Phone;
  std::string_view eMail;
  std::string_view Address;   // CR LF as ","
  std::string_view DateU;     // updated, "yyyy/mm/dd"
  std::string_view Comment;   // notes, CR LF as ",", at most 60 characters
  int Index = 0;              // 0-based position in the database
};

// The rows with the texts they show, held in a few large blocks: a list of thousands
// of owners costs a handful of allocations, not several per row. Moving keeps the
// rows' views valid.
struct OwnerListTable {
  std::vector<OwnerListRow> rows;
  std::vector<std::unique_ptr<char[]>> text;
};

// How many properties name each owner number, for one look-up per owner.
class PropertyOwnerCounts {
 public:
  explicit PropertyOwnerCounts(const Session& s);
  int operator()(uint16_t id) const;

 private:
  std::vector<int> counts_;  // by owner number, up to the highest a property names
};

OwnerListTable OwnerListRows(const Session& s);
// "%d owners have no properties".
int OwnersWithoutProperties(const std::vector<OwnerListRow>& rows);

enum class OwnerColumn { ID, NP, Name, Phone, eMail, Address, DateU, Comment, Index };
// A click on a column heading: "ID", "NP" and "Index" by number, the others by text
// ignoring case; ties keep their order.
void SortOwnerListRows(std::vector<OwnerListRow>& rows, OwnerColumn column, bool descending);

// Text with each CR LF as a comma, cut at limit characters.
std::string CommaLines(std::string_view text, size_t limit = std::string::npos);
// The same into out, which has room for min(text.size(), limit) characters; returns the
// length written.
size_t CommaLinesInto(std::string_view text, size_t limit, char* out);
// The e-mail links for one owner ("mailto:" + address) and for several ("mailto:" +
// each address and ";"), both ending "?Subject= &Body=". Every address is escaped so
// that nothing in it changes the link's meaning.
std::string OwnerMailtoLink(const std::string& address);
std::string OwnersMailtoLink(const std::vector<std::string>& addresses);
// The web site to open: trimmed, with "http://" in front unless it starts with "HTTP"
// in any case; "" when there is none.
std::string OwnerWebLink(const std::string& url);

}  // namespace tb

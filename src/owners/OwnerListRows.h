#pragma once
// What the owner list window shows: one row per owner with the number of properties
// linked to it, the column sorts, and the links it opens.

#include <string>
#include <vector>

#include "owners/OwnerRec.h"

namespace tb {

class Session;

struct OwnerListRow {
  uint16_t ID = 0;
  int NP = 0;            // properties whose Owner is ID
  std::string Name;      // surname + middle dot + " " + first names
  std::string Phone;
  std::string eMail;
  std::string Address;   // CR LF as ","
  std::string DateU;     // updated, "yyyy/mm/dd"
  std::string Comment;   // notes, CR LF as ",", at most 60 characters
  int Index = 0;         // 0-based position in the database
};

// How many properties name each owner number, for one look-up per owner.
class PropertyOwnerCounts {
 public:
  explicit PropertyOwnerCounts(const Session& s);
  int operator()(uint16_t id) const;

 private:
  std::vector<uint16_t> sorted_;
};

std::vector<OwnerListRow> OwnerListRows(const Session& s);
// "%d owners have no properties".
int OwnersWithoutProperties(const std::vector<OwnerListRow>& rows);

enum class OwnerColumn { ID, NP, Name, Phone, eMail, Address, DateU, Comment, Index };
// A click on a column heading: "ID", "NP" and "Index" by number, the others by text
// ignoring case; ties keep their order.
void SortOwnerListRows(std::vector<OwnerListRow>& rows, OwnerColumn column, bool descending);

// Text with each CR LF as a comma, cut at limit characters.
std::string CommaLines(const std::string& text, size_t limit = std::string::npos);
// The e-mail link for one or more owners: "mailto:" + each address and ";", every
// address escaped so that nothing in it changes the link's meaning.
std::string OwnersMailtoLink(const std::vector<std::string>& addresses);
// The web site to open: trimmed, with "http://" in front unless it starts with "HTTP"
// in any case; "" when there is none.
std::string OwnerWebLink(const std::string& url);

}  // namespace tb

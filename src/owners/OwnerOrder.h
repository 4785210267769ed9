#pragma once
// Order, lookup and numbering of the owners: the name order the database keeps, the
// owner number that links a property to its owner, and the duplicates of it.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "owners/OwnerRec.h"

namespace tb {

class Session;

// 0-based position of the first owner with the number, or -1.
int FindOwner(const std::vector<Owner_Rec>& owners, uint16_t id);
int FindOwner(const Session& s, uint16_t id);

// Orders owners by surname followed directly by first names, byte by byte, equal keys
// keeping their order; true when any moved.
bool SortOwnersByName(std::vector<Owner_Rec>& owners);
// The database's sort: marks it changed when any moved, then makes the owner with
// shownID current ("QZO02 Should not occur" and the first owner when none has it).
void SortOwners(Session& s, uint16_t shownID);

// Every pair of 0-based positions holding the same number, in the order a comparison
// of each owner with every later one meets them.
std::vector<std::pair<int, int>> DuplicateOwnerPairs(const std::vector<Owner_Rec>& owners);
// "DUPLICATE OwnerID=%d. First occurrence: Name=%s, row=%d Second: Name=%s, row=%d".
std::string DuplicateOwnerText(const std::vector<Owner_Rec>& owners, std::pair<int, int> pair);
// Shows the first duplicate pair, if any, as caller + ": " + DuplicateOwnerText.
void CheckOwnerIDs(Session& s, const std::string& caller);

// The number a new owner is offered: the highest in use plus one (1 for the first),
// or the lowest free number when 65535 is in use; 0 when every number is taken.
uint16_t NextOwnerID(const std::vector<Owner_Rec>& owners);
// The editor's number field: a whole number from 1 to 65535, or nothing (the text of
// the refusal in error).
std::optional<uint16_t> ParseOwnerNumber(const std::string& text, std::string& error);

}  // namespace tb

#pragma once
// "Owners.csv": the owner editor's export of the whole database.

#include <string>
#include <vector>

#include "owners/OwnerRec.h"

namespace tb {

class Session;

std::string OwnersCsvPath(const Session& s);  // root + "Owners.csv"
// The file's text (CR LF lines): a title line with the date, then one line per owner
// in database order: number, surname, first names, telephone, e-mail, address (lines
// joined by commas) and web site, each text in double quotes with any double quote
// inside doubled.
std::string OwnersCsv(const std::vector<Owner_Rec>& owners, const std::string& dateText);
// Writes the file for today; false when it could not be written.
bool WriteOwnersCsv(Session& s);

}  // namespace tb

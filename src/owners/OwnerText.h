#pragma once
// An owner as the editor shows, searches and copies it.

#include <cstdint>
#include <string>
#include <vector>

#include "owners/OwnerDB.h"

namespace tb {

// The lines of a text whose lines end in CR LF (an address, notes), empty ones included.
std::vector<std::string> CrLfLines(const std::string& text);
// The owner number with at least two digits ("01").
std::string OwnerNumberText(uint16_t id);
// The texts a search looks through, joined by single spaces.
std::string OwnerSearchText(const Owner_Rec& o);
// The owner as plain text for the clipboard (CR LF lines): name, address lines,
// "Phone: ", "EMail: ", "URL: " and "Notes: " (the first 800 characters) when set.
std::string OwnerClipboardText(const OwnerFields& f);
// The property lines of an owner: number, two spaces and name, for each property
// linked to the owner number (none for 0).
std::vector<std::string> OwnerPropertyLines(const Session& s, uint16_t id);

}  // namespace tb

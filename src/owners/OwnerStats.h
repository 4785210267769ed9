#pragma once
// The owner statistics and validation text: properties without a valid owner, owners
// sharing a number, owners without a property.

#include <string>

namespace tb {

class Session;

// "Number of owners defined = " + count.
std::string OwnerCountText(const Session& s);
// "Owner Database is " + root folder + "Owners.bko".
std::string OwnerDatabaseText(const Session& s);
// The read-only listing, lines separated by CR LF.
std::string OwnerStatisticsText(const Session& s);

}  // namespace tb

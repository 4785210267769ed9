#pragma once
// Fields the bookings exports work out of a booking's texts: the title in the first
// names, the postcode at the end of the address, the VAT contained in a total.

#include <string>
#include <string_view>
#include <vector>

namespace tb {

struct NameParts {
  std::string title;  // "Mr and Mrs", "Dr", ... or ""
  std::string names;  // the first names with every "." removed and the title cut off, trimmed
};
// The title is taken from the trimmed first names only when, as typed, they go on
// after it with a space or "." or end there: "Dr. John" and "Dr John" give Dr and John,
// "Drew" no title.
NameParts SplitTitle(std::string_view fnames);

struct PostalAddress {
  std::vector<std::string> lines;  // the address lines, the postcode taken off the last
  std::string postcode;            // " - " when none was found
};
// The postcode rule: a 5-digit number, or two words of 2-4 and 3 characters, ending
// the last non-blank line. An empty or blank address is the single line " - ".
PostalAddress SplitPostcode(std::string_view address);

// The VAT contained in `total` at `taxPercent`, in hundredths, halves to even.
double VatHundredths(double total, double taxPercent);

}  // namespace tb

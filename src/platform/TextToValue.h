#pragma once
// Texts typed by people or written by other programs read as numbers and dates in the
// locale's formats. A text that is not one gives the system's conversion message
// ("'x' is not a valid integer value"), which callers show as the reason.

#include <string>
#include <string_view>

#include "platform/DateTime.h"

namespace tb {

struct FormatSettings;

// Optional blanks, an optional sign and decimal digits, within 32 bits.
bool TextToInt(std::string_view text, int& out, std::string& error);
// Optional blanks and sign, digits with at most one decimal separator of the locale, an
// optional exponent; finite values only ("inf", "nan", hex and thousands separators fail).
bool TextToFloat(std::string_view text, const FormatSettings& fs, double& out, std::string& error);
// A date in the order of the locale's short date format with its separator (the year
// may be left out: this year; two digits: within 50 years of today), optionally followed
// by a time "h:nn[:ss[.zzz]]" with AM or PM.
bool TextToDateTime(std::string_view text, const FormatSettings& fs, TDateTime today, TDateTime& out,
                    std::string& error);

}  // namespace tb

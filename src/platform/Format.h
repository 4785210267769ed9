#pragma once
// The %-pattern formatter used for every message and log line, and the money text.

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace tb {

struct FormatSettings;

class FormatArg {
 public:
  FormatArg(int v) : value_(static_cast<int64_t>(v)) {}
  FormatArg(unsigned v) : value_(static_cast<int64_t>(v)) {}
  FormatArg(long v) : value_(static_cast<int64_t>(v)) {}
  FormatArg(unsigned long v) : value_(static_cast<int64_t>(v)) {}
  FormatArg(long long v) : value_(static_cast<int64_t>(v)) {}
  FormatArg(unsigned long long v) : value_(static_cast<int64_t>(v)) {}
  FormatArg(double v) : value_(v) {}
  FormatArg(const char* v) : value_(std::string(v)) {}
  FormatArg(std::string v) : value_(std::move(v)) {}
  FormatArg(std::string_view v) : value_(std::string(v)) {}
  const std::variant<int64_t, double, std::string>& value() const { return value_; }

 private:
  std::variant<int64_t, double, std::string> value_;
};

// Delphi-style Format: %[index:][-][width][.precision]type (width and precision may be
// "*", taken from the arguments), and %% for "%".
// %d whole number (precision = minimum digits, zero padded), %u unsigned, %x hex,
// %s text (precision = maximum length), %f fixed with 2 decimals unless a precision is
// given, %n like %f with thousands separators, %m an amount in the locale's currency
// format, %e scientific, %g general. Amounts round half away from zero. A missing or
// mistyped argument never crashes: it yields an empty field; a "%" that starts no
// field is copied as it stands.
std::string Format(std::string_view pattern, std::initializer_list<FormatArg> args);
std::string Format(std::string_view pattern, std::initializer_list<FormatArg> args,
                   const FormatSettings& fs);

// Format("%.<decimals>f") with "." whatever the locale, without parsing a pattern: for
// files read by other programs, and fast enough for one amount per field of a large export.
std::string FixedPointText(double value, int decimals);

// The currency prefix followed by the amount in fixed notation without thousands
// separators: no decimals when within 0.005 of a whole number, otherwise two.
// MoneyText(450, "£") = "£450", MoneyText(450.5, "£") = "£450.50", MoneyText(-20, "£") = "£-20".
std::string MoneyText(double value, std::string_view prefix = {});

// Round to a whole number with halves to even (banker's rounding). Inline: the
// printer rounds every millimetre it converts.
inline double RoundHalfEven(double value) {
  // Past 2^52 every double is whole; NaN and infinities stay as they are; so does a
  // zero, with its sign.
  if (!(std::fabs(value) < 4503599627370496.0) || value == 0) return value;
  // Below 2^52 a 64-bit integer holds the whole part exactly: no floor or fmod calls.
  const auto toward = static_cast<int64_t>(value);
  const int64_t down = value < static_cast<double>(toward) ? toward - 1 : toward;
  const double diff = value - static_cast<double>(down);  // exact for these magnitudes
  if (diff < 0.5) return static_cast<double>(down);
  if (diff > 0.5) return static_cast<double>(down + 1);
  return static_cast<double>((down & 1) == 0 ? down : down + 1);
}

}  // namespace tb

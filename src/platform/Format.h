#pragma once
// The %-pattern formatter used for every message and log line, and the money text.

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

// The currency prefix followed by the amount in fixed notation without thousands
// separators: no decimals when within 0.005 of a whole number, otherwise two.
// MoneyText(450, "£") = "£450", MoneyText(450.5, "£") = "£450.50", MoneyText(-20, "£") = "£-20".
std::string MoneyText(double value, std::string_view prefix = {});

// Round to a whole number with halves to even (banker's rounding).
double RoundHalfEven(double value);

}  // namespace tb

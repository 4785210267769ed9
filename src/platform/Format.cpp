#include "platform/Format.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>

#include "platform/FormatSettings.h"

namespace tb {
namespace {

constexpr int kMaxWidth = 4096;     // larger widths are typing errors, not layouts
constexpr int kMaxPrecision = 40;

// A number as decimal digits: value = 0.digits x 10^exponent, digits without leading
// zeros; no digits means zero.
struct Decimal {
  bool negative = false;
  std::string digits;
  int exponent = 0;
};

uint64_t Magnitude(int64_t v) {
  return v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
}

Decimal DecimalOf(int64_t v) {
  Decimal d;
  d.negative = v < 0;
  if (v != 0) {
    d.digits = std::to_string(Magnitude(v));
    d.exponent = static_cast<int>(d.digits.size());
  }
  return d;
}

// A double is taken at 15 significant digits, the precision it reliably holds, and
// rounded half away from zero from that decimal text. So 2.675 (held as
// 2.67499999999999982...) shows as 2.68 with two decimals, as the person who typed it
// expects, and 1234.5 with none shows as 1235.
// to_chars gives the same correctly rounded digits as printf's "%.14e" at a fraction of
// the cost: every amount on a printed account comes through here.
Decimal DecimalOf(double v) {
  Decimal d;
  d.negative = std::signbit(v);
  char buf[40];  // d.dddddddddddddde+XX
  char* end = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, 14).ptr;
  const char* e = std::find(buf, end, 'e');
  d.digits.reserve(15);
  for (const char* p = buf; p != e; ++p) {
    if (*p != '.') d.digits += *p;
  }
  int exp = 0;
  std::from_chars(e + (e[1] == '+' ? 2 : 1), end, exp);
  d.exponent = exp + 1;
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  if (d.digits.empty()) d.exponent = 0;
  return d;
}

// Keeps the first `keep` significant digits, rounding half away from zero.
void RoundToDigits(Decimal& d, int keep) {
  if (keep >= static_cast<int>(d.digits.size())) return;
  const bool up = keep >= 0 && d.digits[keep] >= '5';
  d.digits.resize(std::max(keep, 0));
  if (up) {
    int k = keep - 1;
    while (k >= 0 && d.digits[k] == '9') d.digits[k--] = '0';
    if (k >= 0) {
      ++d.digits[k];
    } else {  // 0.95 -> 1.0: one more digit in front
      d.digits.insert(d.digits.begin(), '1');
      ++d.exponent;
    }
  }
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  if (d.digits.empty()) d.exponent = 0;
}

// Fixed notation of the magnitude with `decimals` places and optional grouping.
// Sets `negative` only when the rounded amount is not zero: no "-0.00".
std::string FixedDigits(Decimal d, int decimals, char decimalSep, char thousandSep,
                        bool& negative) {
  RoundToDigits(d, d.exponent + decimals);
  negative = d.negative && !d.digits.empty();
  auto digitAt = [&](int pos) {  // pos = index from the first digit of 0.ddd
    return pos >= 0 && pos < static_cast<int>(d.digits.size()) ? d.digits[pos] : '0';
  };
  // The whole part written straight into the text, grouped from the right.
  std::string out;
  const int whole = std::max(d.exponent, 1);
  out.reserve(static_cast<std::size_t>(whole + whole / 3 + decimals + 1));
  for (int pos = d.exponent - whole; pos < d.exponent; ++pos) {
    const int left = d.exponent - pos;  // digits from here to the decimal point
    if (thousandSep != '\0' && pos > d.exponent - whole && left % 3 == 0) out += thousandSep;
    out += digitAt(pos);
  }
  if (decimals > 0) {
    out += decimalSep;
    for (int k = 0; k < decimals; ++k) out += digitAt(d.exponent + k);
  }
  return out;
}

// The same text as FixedDigits(DecimalOf(v), ...) worked out in integers, for amounts
// from 1 up to 10^13 with as many decimals as their 15 significant digits have: the
// amounts of every report. The exact value M / 2^s times 10^k (k the decimals 15
// digits leave) is rounded half to even, as the conversion to 15 digits rounds it,
// then half away from zero to `decimals`. False outside that range.
bool QuickFixedDigits(double v, int decimals, char decimalSep, char thousandSep, std::string& out,
                      bool& negative) {
  static constexpr uint64_t kPow10[] = {1,
                                        10,
                                        100,
                                        1000,
                                        10000,
                                        100000,
                                        1000000,
                                        10000000,
                                        100000000,
                                        1000000000,
                                        10000000000,
                                        100000000000,
                                        1000000000000,
                                        10000000000000,
                                        100000000000000,
                                        1000000000000000};
  const double a = std::fabs(v);
  if (!(a >= 1 && a < 1e13) || decimals < 0) return false;
  int digits = 1;  // of the whole part: 10^(digits-1) <= a < 10^digits, exact comparisons
  while (a >= static_cast<double>(kPow10[digits])) ++digits;
  const int k = 15 - digits;
  if (decimals > k) return false;
  int exp2 = 0;
  const double fraction = std::frexp(a, &exp2);  // a = fraction * 2^exp2, exp2 1..44
  const auto mantissa = static_cast<uint64_t>(std::ldexp(fraction, 53));
  const int shift = 53 - exp2;  // a = mantissa / 2^shift, shift 9..52
  const unsigned __int128 scaled = static_cast<unsigned __int128>(mantissa) * kPow10[k];
  auto q = static_cast<uint64_t>(scaled >> shift);
  const unsigned __int128 rest = scaled & ((static_cast<unsigned __int128>(1) << shift) - 1);
  const unsigned __int128 half = static_cast<unsigned __int128>(1) << (shift - 1);
  if (rest > half || (rest == half && (q & 1) != 0)) ++q;
  const uint64_t drop = kPow10[k - decimals];
  uint64_t kept = q / drop;
  if ((q % drop) * 2 >= drop) ++kept;
  negative = std::signbit(v);  // kept is at least 1: never "-0"
  const uint64_t whole = kept / kPow10[decimals];
  char buf[48];
  char* end = buf + sizeof buf;
  char* p = end;
  for (uint64_t f = kept % kPow10[decimals], n = 0; n < static_cast<uint64_t>(decimals); ++n, f /= 10)
    *--p = static_cast<char>('0' + f % 10);
  if (decimals > 0) *--p = decimalSep;
  int group = 0;
  uint64_t w = whole;
  do {
    if (thousandSep != '\0' && group == 3) {
      *--p = thousandSep;
      group = 0;
    }
    *--p = static_cast<char>('0' + w % 10);
    ++group;
    w /= 10;
  } while (w != 0);
  out.assign(p, end);
  return true;
}

// Fixed notation of an amount: the integer way where it applies, else by its digits.
std::string FixedText(double v, int decimals, char decimalSep, char thousandSep, bool& negative) {
  std::string out;
  if (QuickFixedDigits(v, decimals, decimalSep, thousandSep, out, negative)) return out;
  return FixedDigits(DecimalOf(v), decimals, decimalSep, thousandSep, negative);
}

// Scientific notation with `significant` digits, "1.2345E+003" (e) or, with
// `compact`, the exponent without sign or padding unless needed, "1.2345E3" (g).
std::string ExponentText(Decimal d, int significant, char decimalSep, bool compact) {
  RoundToDigits(d, significant);
  const int exp = d.digits.empty() ? 0 : d.exponent - 1;
  std::string out = d.negative && !d.digits.empty() ? "-" : "";
  out += d.digits.empty() ? '0' : d.digits[0];
  std::string rest = d.digits.size() > 1 ? d.digits.substr(1) : "";
  if (!compact) rest.resize(std::max(significant - 1, 0), '0');
  if (!rest.empty()) out += decimalSep + rest;
  char buf[16];
  if (compact) {
    std::snprintf(buf, sizeof buf, "E%d", exp);
  } else {
    std::snprintf(buf, sizeof buf, "E%c%03d", exp < 0 ? '-' : '+', std::abs(exp));
  }
  return out + buf;
}

std::string NonFiniteText(double v) {
  if (std::isnan(v)) return "NAN";
  return v < 0 ? "-INF" : "INF";
}

std::string GeneralText(Decimal d, int precision, char decimalSep) {
  RoundToDigits(d, precision);
  // Fixed while the whole part fits the precision and the value is not tiny.
  if (d.digits.empty() || (d.exponent <= precision && d.exponent > -5)) {
    bool negative = false;
    const int decimals = std::max(static_cast<int>(d.digits.size()) - d.exponent, 0);
    std::string text = FixedDigits(d, decimals, decimalSep, '\0', negative);
    return negative ? "-" + text : text;
  }
  return ExponentText(d, precision, decimalSep, true);
}

std::string CurrencyText(const Decimal& d, int decimals, const FormatSettings& fs) {
  bool negative = false;
  const std::string number =
      FixedDigits(d, decimals, fs.decimalSeparator, fs.thousandSeparator, negative);
  static constexpr const char* kPositive[4] = {"$1", "1$", "$ 1", "1 $"};
  static constexpr const char* kNegative[16] = {
      "($1)", "-$1",  "$-1",  "$1-",  "(1$)", "-1$",  "1-$",   "1$-",
      "-1 $", "-$ 1", "1 $-", "$ 1-", "$ -1", "1- $", "($ 1)", "(1 $)"};
  const char* layout = negative ? kNegative[std::clamp(fs.negCurrFormat, 0, 15)]
                                : kPositive[std::clamp(fs.currencyFormat, 0, 3)];
  std::string out;
  for (const char* p = layout; *p; ++p) {
    if (*p == '$') {
      out += fs.currencyString;
    } else if (*p == '1') {
      out += number;
    } else {
      out += *p;
    }
  }
  return out;
}

struct Spec {
  bool leftAlign = false;
  int width = -1;
  int precision = -1;
  char type = 0;
};

// One field's text; an argument of the wrong kind gives an empty field.
std::string FieldText(const Spec& spec, const FormatArg* arg, const FormatSettings& fs) {
  if (arg == nullptr) return "";
  const auto& v = arg->value();
  const int64_t* i = std::get_if<int64_t>(&v);
  const double* f = std::get_if<double>(&v);
  const std::string* s = std::get_if<std::string>(&v);
  const int prec = spec.precision;
  switch (spec.type) {
    case 'd':
    case 'u':
    case 'x': {
      if (i == nullptr) return "";
      char buf[32];
      const auto mag = static_cast<unsigned long long>(
          spec.type == 'd' ? Magnitude(*i) : static_cast<uint64_t>(*i));
      std::snprintf(buf, sizeof buf, spec.type == 'x' ? "%llX" : "%llu", mag);
      std::string digits = buf;
      if (prec > static_cast<int>(digits.size())) digits.insert(0, prec - digits.size(), '0');
      return (spec.type == 'd' && *i < 0 ? "-" : "") + digits;
    }
    case 's': {
      std::string text;
      if (s != nullptr) {
        text = *s;
      } else if (i != nullptr) {
        text = std::to_string(*i);
      } else if (std::isfinite(*f)) {
        text = GeneralText(DecimalOf(*f), 15, fs.decimalSeparator);
      } else {
        text = NonFiniteText(*f);
      }
      if (prec >= 0 && prec < static_cast<int>(text.size())) text.resize(prec);
      return text;
    }
    case 'f':
    case 'n':
    case 'm':
    case 'e':
    case 'g': {
      if (s != nullptr) return "";
      if (f != nullptr && !std::isfinite(*f)) return NonFiniteText(*f);
      bool negative = false;
      if (f != nullptr && (spec.type == 'f' || spec.type == 'n')) {
        const std::string text = FixedText(*f, prec >= 0 ? prec : 2, fs.decimalSeparator,
                                           spec.type == 'n' ? fs.thousandSeparator : '\0', negative);
        return negative ? "-" + text : text;
      }
      const Decimal d = i != nullptr ? DecimalOf(*i) : DecimalOf(*f);
      if (spec.type == 'm') return CurrencyText(d, prec >= 0 ? prec : fs.currencyDecimals, fs);
      if (spec.type == 'e') return ExponentText(d, prec >= 1 ? prec : 15, fs.decimalSeparator, false);
      if (spec.type == 'g') return GeneralText(d, prec >= 1 ? prec : 15, fs.decimalSeparator);
      const std::string text =
          FixedDigits(d, prec >= 0 ? prec : 2, fs.decimalSeparator,
                      spec.type == 'n' ? fs.thousandSeparator : '\0', negative);
      return negative ? "-" + text : text;
    }
  }
  return "";
}

// Reads a number or '*' (taken from the next argument) at p[pos]; -1 when absent.
int ReadCount(std::string_view p, std::size_t& pos, std::span<const FormatArg> args,
              std::size_t& next, int limit) {
  if (pos < p.size() && p[pos] == '*') {
    ++pos;
    const FormatArg* arg = next < args.size() ? &args[next] : nullptr;
    ++next;
    const int64_t* n = arg ? std::get_if<int64_t>(&arg->value()) : nullptr;
    return n ? static_cast<int>(std::clamp<int64_t>(*n, 0, limit)) : -1;
  }
  if (pos >= p.size() || !std::isdigit(static_cast<unsigned char>(p[pos]))) return -1;
  int n = 0;
  while (pos < p.size() && std::isdigit(static_cast<unsigned char>(p[pos]))) {
    n = std::min(n * 10 + (p[pos] - '0'), limit);
    ++pos;
  }
  return n;
}

}  // namespace

std::string Format(std::string_view pattern, std::initializer_list<FormatArg> args) {
  return Format(pattern, args, SystemFormatSettings());
}

std::string Format(std::string_view p, std::initializer_list<FormatArg> argList,
                   const FormatSettings& fs) {
  const std::span<const FormatArg> args(argList.begin(), argList.size());
  std::string out;
  std::size_t next = 0;  // the argument the next field takes
  std::size_t i = 0;
  while (i < p.size()) {
    const std::size_t percent = p.find('%', i);
    if (percent == std::string_view::npos) {
      out.append(p.substr(i));
      break;
    }
    out.append(p.substr(i, percent - i));
    std::size_t pos = percent + 1;
    if (pos < p.size() && p[pos] == '%') {
      out += '%';
      i = pos + 1;
      continue;
    }
    // %[index:][-][width][.precision]type
    Spec spec;
    std::size_t fieldArg = next;
    const std::size_t start = pos;
    const int first = ReadCount(p, pos, args, next, kMaxWidth);
    if (first >= 0 && pos < p.size() && p[pos] == ':') {
      fieldArg = next = static_cast<std::size_t>(first);
      ++pos;
    } else {
      pos = start;  // not an index: read again as the width
      next = fieldArg;
    }
    if (pos < p.size() && p[pos] == '-') {
      spec.leftAlign = true;
      ++pos;
    }
    spec.width = ReadCount(p, pos, args, next, kMaxWidth);
    if (pos < p.size() && p[pos] == '.') {
      ++pos;
      spec.precision = std::max(ReadCount(p, pos, args, next, kMaxPrecision), 0);
    }
    const char type = pos < p.size() ? static_cast<char>(std::tolower(static_cast<unsigned char>(p[pos]))) : 0;
    if (type == 0 || std::string_view("dusfnmexg").find(type) == std::string_view::npos) {
      // Not a field: show the text as written rather than lose it.
      out.append(p.substr(percent, pos - percent));
      i = pos;
      continue;
    }
    spec.type = type;
    const FormatArg* arg = next < args.size() ? &args[next] : nullptr;
    ++next;
    std::string text = FieldText(spec, arg, fs);
    if (spec.width > static_cast<int>(text.size())) {
      const std::string pad(spec.width - text.size(), ' ');
      text = spec.leftAlign ? text + pad : pad + text;
    }
    out += text;
    i = pos + 1;
  }
  return out;
}

std::string FixedPointText(double value, int decimals) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  bool negative = false;
  std::string digits = FixedText(value, decimals, '.', '\0', negative);
  return negative ? "-" + digits : digits;
}

std::string MoneyText(double value, std::string_view prefix) {
  std::string out(prefix);
  if (!std::isfinite(value)) return out + NonFiniteText(value);
  const double whole = std::round(value);
  bool negative = false;
  std::string digits;
  if (std::fabs(value - whole) < 0.005) {
    digits = FixedText(whole, 0, '.', '\0', negative);
  } else {
    digits = FixedText(value, 2, '.', '\0', negative);
  }
  return out + (negative ? "-" : "") + digits;
}

}  // namespace tb

#include "platform/FormatSettings.h"

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "platform/Cp1252.h"

namespace tb {
namespace {

bool IsCLocale(const std::string& name) {
  return name.empty() || name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0;
}

// Owns a locale_t; invalid when the locale is not installed.
class Locale {
 public:
  explicit Locale(const std::string& name)
      : loc_(IsCLocale(name) ? locale_t{} : newlocale(LC_ALL_MASK, name.c_str(), locale_t{})) {}
  ~Locale() {
    if (loc_) freelocale(loc_);
  }
  Locale(const Locale&) = delete;
  Locale& operator=(const Locale&) = delete;
  explicit operator bool() const { return loc_ != locale_t{}; }

  const char* Raw(nl_item item) const {
    const char* s = nl_langinfo_l(item, loc_);
    return s ? s : "";
  }
  // A text of the locale as Windows-1252 bytes.
  std::string Text(nl_item item) const { return ToCp1252(Raw(item)); }
  // A one-byte numeric member (frac_digits, p_cs_precedes, ...); CHAR_MAX when unset.
  int Number(nl_item item) const {
    const char* s = nl_langinfo_l(item, loc_);
    return s ? static_cast<signed char>(*s) : CHAR_MAX;
  }

 private:
  std::string ToCp1252(std::string_view s) const {
    const std::string_view codeset = Raw(CODESET);
    if (codeset == "UTF-8" || codeset == "utf8") return Utf8ToCp1252(s);
    return Utf8ToCp1252(ToUtf8(s, std::string(codeset)));
  }

  static std::string ToUtf8(std::string_view s, const std::string& codeset) {
    iconv_t cd = iconv_open("UTF-8", codeset.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(s);  // non-ASCII becomes '?'
    std::string in(s);
    std::string out(in.size() * 4 + 4, '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    std::size_t inLeft = in.size();
    std::size_t outLeft = out.size();
    iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
  }

  locale_t loc_;
};

// A one-byte separator from a locale text. Texts Windows-1252 cannot hold (a narrow
// no-break space, say) become a no-break space rather than '?'.
char SeparatorOf(const std::string& text, char fallback) {
  if (text.size() == 1 && text[0] != '?') return text[0];
  return text.empty() ? fallback : '\xA0';
}

// Converts a strftime date or time pattern ("%d/%m/%Y", "%I:%M:%S %p") into ours
// ("dd/mm/yyyy", "hh:nn:ss ampm").
std::string PatternFromStrftime(std::string_view f) {
  std::string out;
  for (std::size_t i = 0; i < f.size(); ++i) {
    const char c = f[i];
    if (c != '%') {
      // Letters and quotes would be read as pattern codes: quote them.
      if (std::isalpha(static_cast<unsigned char>(c)) || c == '\'') {
        out += '"', out += c, out += '"';
      } else if (c == '"') {
        out += "'\"'";
      } else {
        out += c;
      }
      continue;
    }
    bool noPad = false;
    while (i + 1 < f.size() && std::strchr("-_0^#EO", f[i + 1]) != nullptr) {
      noPad = noPad || f[i + 1] == '-';
      ++i;
    }
    if (++i >= f.size()) break;
    switch (f[i]) {
      case 'd': out += noPad ? "d" : "dd"; break;
      case 'e': out += "d"; break;
      case 'm': out += noPad ? "m" : "mm"; break;
      case 'y': out += "yy"; break;
      case 'Y': out += "yyyy"; break;
      case 'b': case 'h': out += "mmm"; break;
      case 'B': out += "mmmm"; break;
      case 'a': out += "ddd"; break;
      case 'A': out += "dddd"; break;
      case 'D': out += "mm/dd/yy"; break;
      case 'F': out += "yyyy-mm-dd"; break;
      case 'H': case 'I': out += noPad ? "h" : "hh"; break;
      case 'k': case 'l': out += "h"; break;
      case 'M': out += noPad ? "n" : "nn"; break;
      case 'S': out += noPad ? "s" : "ss"; break;
      case 'p': case 'P': out += "ampm"; break;
      case 'T': out += "hh:nn:ss"; break;
      case 'R': out += "hh:nn"; break;
      case '%': out += '%'; break;
      default: break;  // nothing a date pattern can say
    }
  }
  return out;
}

// The first separator of a strftime pattern ("." in "%d.%m.%Y").
char SeparatorInStrftime(std::string_view f, char fallback) {
  for (std::size_t i = 0; i < f.size(); ++i) {
    if (f[i] == '%') {
      ++i;
      continue;
    }
    const auto c = static_cast<unsigned char>(f[i]);
    if (!std::isalnum(c) && !std::isspace(c)) return f[i];
  }
  return fallback;
}

void ApplyTime(FormatSettings& fs, const Locale& loc) {
  auto take = [&](std::string& member, nl_item item) {
    std::string text = loc.Text(item);
    if (!text.empty()) member = std::move(text);
  };
  const std::string dateFmt = loc.Text(D_FMT);
  if (!dateFmt.empty()) {
    fs.shortDateFormat = PatternFromStrftime(dateFmt);
    fs.dateSeparator = SeparatorInStrftime(dateFmt, fs.dateSeparator);
  }
  std::string timeFmt = loc.Text(T_FMT);
  if (timeFmt == "%r") timeFmt = loc.Text(T_FMT_AMPM);
  fs.timeSeparator = SeparatorInStrftime(timeFmt, fs.timeSeparator);
  if (!timeFmt.empty()) fs.longTimeFormat = PatternFromStrftime(timeFmt);
  // A 12-hour pattern needs the marks; a 24-hour one keeps ours unused.
  if (fs.longTimeFormat.find("ampm") != std::string::npos) {
    take(fs.timeAMString, AM_STR);
    take(fs.timePMString, PM_STR);
  }
  for (int i = 0; i < 12; ++i) {
    take(fs.shortMonthNames[i], ABMON_1 + i);
    take(fs.longMonthNames[i], MON_1 + i);
  }
  for (int i = 0; i < 7; ++i) {  // day 1 is Sunday in both
    take(fs.shortDayNames[i], ABDAY_1 + i);
    take(fs.longDayNames[i], DAY_1 + i);
  }
}

void ApplyNumeric(FormatSettings& fs, const Locale& loc) {
  fs.decimalSeparator = SeparatorOf(loc.Text(RADIXCHAR), fs.decimalSeparator);
  // No grouping character: pick one that cannot be mistaken for the decimal point.
  fs.thousandSeparator =
      SeparatorOf(loc.Text(THOUSEP), fs.decimalSeparator == ',' ? '.' : ',');
}

// Windows' negative currency format number for the POSIX monetary members.
int NegCurrFormat(bool precedes, bool space, int signPosn) {
  // Rows: symbol after / before the amount, each without and with a space;
  // columns: n_sign_posn 0 (parentheses) .. 4 (sign right after the symbol).
  static constexpr int kFormats[4][5] = {
      {4, 5, 7, 6, 7},      // 1$   : (1$) -1$ 1$- 1-$ 1$-
      {15, 8, 10, 13, 10},  // 1 $  : (1 $) -1 $ 1 $- 1- $ 1 $-
      {0, 1, 3, 1, 2},      // $1   : ($1) -$1 $1- -$1 $-1
      {14, 9, 11, 9, 12},   // $ 1  : ($ 1) -$ 1 $ 1- -$ 1 $ -1
  };
  if (signPosn < 0 || signPosn > 4) signPosn = 1;
  return kFormats[(precedes ? 2 : 0) + (space ? 1 : 0)][signPosn];
}

void ApplyMonetary(FormatSettings& fs, const Locale& loc) {
  std::string symbol = loc.Text(__CURRENCY_SYMBOL);
  if (!symbol.empty()) fs.currencyString = std::move(symbol);
  const int digits = loc.Number(__FRAC_DIGITS);
  if (digits >= 0 && digits <= 9) fs.currencyDecimals = digits;
  const int pPrecedes = loc.Number(__P_CS_PRECEDES);
  const int pSpace = loc.Number(__P_SEP_BY_SPACE);
  if (pPrecedes == CHAR_MAX || pSpace == CHAR_MAX) return;
  fs.currencyFormat = (pPrecedes ? 0 : 1) + (pSpace ? 2 : 0);
  int nPrecedes = loc.Number(__N_CS_PRECEDES);
  int nSpace = loc.Number(__N_SEP_BY_SPACE);
  if (nPrecedes == CHAR_MAX) nPrecedes = pPrecedes;
  if (nSpace == CHAR_MAX) nSpace = pSpace;
  fs.negCurrFormat = NegCurrFormat(nPrecedes != 0, nSpace != 0, loc.Number(__N_SIGN_POSN));
}

// Builds settings from one locale per category; a C or missing locale leaves that
// category British.
FormatSettings SettingsFor(const std::string& timeName, const std::string& numericName,
                           const std::string& moneyName) {
  FormatSettings fs = BritishFormatSettings();
  if (Locale loc(timeName); loc) ApplyTime(fs, loc);
  if (Locale loc(numericName); loc) ApplyNumeric(fs, loc);
  if (Locale loc(moneyName); loc) ApplyMonetary(fs, loc);
  return fs;
}

// The locale a category uses, by the usual precedence of the environment.
std::string EnvironmentLocale(const char* category) {
  for (const char* var : {"LC_ALL", category, "LANG"}) {
    const char* value = std::getenv(var);
    if (value != nullptr && *value != '\0') return value;
  }
  return "";
}

}  // namespace

FormatSettings BritishFormatSettings() { return FormatSettings{}; }

FormatSettings FormatSettingsForLocale(const std::string& localeName) {
  return SettingsFor(localeName, localeName, localeName);
}

const FormatSettings& SystemFormatSettings() {
  static const FormatSettings settings =
      SettingsFor(EnvironmentLocale("LC_TIME"), EnvironmentLocale("LC_NUMERIC"),
                  EnvironmentLocale("LC_MONETARY"));
  return settings;
}

}  // namespace tb

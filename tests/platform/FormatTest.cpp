#include "platform/Format.h"

#include <gtest/gtest.h>
#include <locale.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "platform/FormatSettings.h"

namespace tb::test {
namespace {

struct FormatCase {
  const char* pattern;
  std::vector<FormatArg> args;
  std::string expected;
};

// Format takes an initializer_list; the table holds vectors, so spread them out.
std::string FormatVector(const char* pattern, const std::vector<FormatArg>& a,
                         const FormatSettings& fs) {
  switch (a.size()) {
    case 0: return Format(pattern, {}, fs);
    case 1: return Format(pattern, {a[0]}, fs);
    case 2: return Format(pattern, {a[0], a[1]}, fs);
    case 3: return Format(pattern, {a[0], a[1], a[2]}, fs);
    default: return Format(pattern, {a.at(0), a.at(1), a.at(2), a.at(3)}, fs);
  }
}

void ExpectAll(const std::vector<FormatCase>& cases, const FormatSettings& fs) {
  for (const FormatCase& c : cases) {
    EXPECT_EQ(FormatVector(c.pattern, c.args, fs), c.expected) << "pattern \"" << c.pattern << "\"";
  }
}

TEST(FormatTest, WholeNumbersAndTexts) {
  ExpectAll({
                {"%d", {42}, "42"},
                {"%d", {-7}, "-7"},
                {"%d", {INT64_MIN}, "-9223372036854775808"},
                {"%2.2d", {5}, "05"},
                {"%2.2d", {123}, "123"},
                {"%.3d", {-5}, "-005"},
                {"%5d|%-5d|", {42, 42}, "   42|42   |"},
                {"%u", {7u}, "7"},
                {"%x", {255}, "FF"},
                {"%.4x", {255}, "00FF"},
                {"%s", {"abc"}, "abc"},
                {"%6s|%-6s|", {"ab", "ab"}, "    ab|ab    |"},
                {"%.2s", {"abc"}, "ab"},
                {"%s/%s", {12, 1.5}, "12/1.5"},
                {"File %s, error %d", {"x.bks", 1010}, "File x.bks, error 1010"},
                {"%1:s %0:s %s", {"a", "b", "c"}, "b a b"},
                {"%*d|%-*d|", {4, 7, 3, 8}, "   7|8  |"},
            },
            BritishFormatSettings());
}

TEST(FormatTest, FixedNumbersRoundHalfAwayFromZero) {
  ExpectAll({
                {"%f", {1.0 / 3}, "0.33"},
                {"%f", {3}, "3.00"},
                {"%.2f", {2.675}, "2.68"},
                {"%.2f", {1.005}, "1.01"},
                {"%.0f|%.0f", {0.5, -0.5}, "1|-1"},
                {"%.0f", {2.5}, "3"},
                {"%.1f", {0.95}, "1.0"},
                {"%.1f", {9.96}, "10.0"},
                {"%.2f", {-0.001}, "0.00"},
                {"%.2f", {0.0}, "0.00"},
                {"%8.3f|", {-1.5}, "  -1.500|"},
                {"%n", {1234567.891}, "1,234,567.89"},
                {"%n", {-1234}, "-1,234.00"},
                {"%n", {999.999}, "1,000.00"},
                {"%.0n|%.0n", {1234.5, 1234.4}, "1,235|1,234"},
                {"%1.1n", {999.95}, "1,000.0"},
                {"%n", {int64_t{1234567890123}}, "1,234,567,890,123.00"},
                {"%.0n", {0.4}, "0"},
                // Separators at every group boundary, and none before a lone group.
                {"%n|%n|%n|%n", {0.5, 999.0, 1000.0, -100000.0}, "0.50|999.00|1,000.00|-100,000.00"},
                {"%.0n|%.3n", {999999.5, 1234567.0}, "1,000,000|1,234,567.000"},
                // Past 15 significant digits the rest is rounding noise, shown as zeros.
                {"%.2f|%n", {123456789012345.67, 4503599627370495.5}, "123456789012346.00|4,503,599,627,370,500.00"},
                {"%.2f|%.3f", {0.0049999, -0.0005}, "0.00|-0.001"},
                {"%.2f|%.2f", {9999999999999.99, -10000000000000.5}, "9999999999999.99|-10000000000000.50"},
                {"%.14f|%.15f", {4.0 / 3, 4.0 / 3}, "1.33333333333333|1.333333333333330"},
                {"%e", {1234.5}, "1.23450000000000E+003"},
                {"%.3e", {-0.0012345}, "-1.23E-003"},
                {"%g|%g|%g", {1234.5, 1e20, 0.05}, "1234.5|1E20|0.05"},
                {"%f", {std::numeric_limits<double>::quiet_NaN()}, "NAN"},
                {"%n", {-std::numeric_limits<double>::infinity()}, "-INF"},
            },
            BritishFormatSettings());
}

TEST(FormatTest, CurrencyFollowsTheSettings) {
  ExpectAll({
                {"%m", {1234.5}, "\xA3" "1,234.50"},
                {"%m", {-5}, "-\xA3" "5.00"},
                {"%m", {-0.001}, "\xA3" "0.00"},
                {"%.0m", {2.5}, "\xA3" "3"},
            },
            BritishFormatSettings());

  FormatSettings fs = BritishFormatSettings();
  fs.currencyString = "\x80";  // euro
  fs.decimalSeparator = ',';
  fs.thousandSeparator = '.';
  fs.currencyFormat = 3;
  fs.negCurrFormat = 8;
  ExpectAll({{"%m|%m", {1234.5, -1234.5}, "1.234,50 \x80|-1.234,50 \x80"}}, fs);
  fs.currencyFormat = 2;
  fs.negCurrFormat = 14;
  fs.currencyDecimals = 0;
  ExpectAll({{"%m|%m", {1234.5, -1234.5}, "\x80 1.235|(\x80 1.235)"}}, fs);
}

// Mistakes in a pattern or its values must show up as odd text, never as a crash.
TEST(FormatTest, MissingOrMismatchedArgumentsGiveEmptyFields) {
  ExpectAll({
                {"%%", {}, "%"},
                {"%d%%", {50}, "50%"},
                {"50% off", {}, "50% off"},
                {"100%", {}, "100%"},
                {"%z|%5.2", {1}, "%z|%5.2"},
                {"%d", {1.5}, ""},
                {"%x", {"x"}, ""},
                {"%f|%m", {"x", "y"}, "|"},
                {"%d and %s", {1}, "1 and "},
                {"[%4d]", {}, "[    ]"},
                {"%9:d", {1}, ""},
                {"%*d", {"x", 3}, "3"},
            },
            BritishFormatSettings());
  const std::string wide = Format("%99999999999d|%.99999999999f", {1, 1.0});
  EXPECT_LT(wide.size(), 10000u);
}

TEST(MoneyTextTest, WholeAmountsWithoutDecimals) {
  const struct {
    double value;
    const char* expected;
  } cases[] = {
      {450, "\xA3" "450"},         {450.5, "\xA3" "450.50"},   {-20, "\xA3-20"},
      {449.996, "\xA3" "450"},     {449.994, "\xA3" "449.99"}, {0.004, "\xA3" "0"},
      {-0.004, "\xA3" "0"},        {-0.5, "\xA3-0.50"},        {0.005, "\xA3" "0.01"},
      {2.675, "\xA3" "2.68"},      {1234567.25, "\xA3" "1234567.25"},
  };
  for (const auto& c : cases) EXPECT_EQ(MoneyText(c.value, "\xA3"), c.expected) << c.value;
  EXPECT_EQ(MoneyText(12.3), "12.30");
  EXPECT_EQ(MoneyText(std::numeric_limits<double>::quiet_NaN(), "\xA3"), "\xA3NAN");
}

TEST(RoundHalfEvenTest, OnlyExactHalvesGoToEven) {
  const struct {
    double value, expected;
  } cases[] = {
      {2.5, 2},       {3.5, 4},      {-2.5, -2},      {-3.5, -4},          {0.5, 0},
      {1.5, 2},       {467.5, 468},  {466.5, 466},    {425 * 1.1, 468},    {2.4999999, 2},
      {2.5000001, 3}, {-0.4, 0},     {-0.6, -1},      {0.49999999999999994, 0},
      {4503599627370497.0, 4503599627370497.0}, {4503599627370495.5, 4503599627370496.0},
      {-4503599627370494.5, -4503599627370494.0},
  };
  for (const auto& c : cases) EXPECT_EQ(RoundHalfEven(c.value), c.expected) << c.value;
  EXPECT_TRUE(std::isnan(RoundHalfEven(std::numeric_limits<double>::quiet_NaN())));
  EXPECT_TRUE(std::signbit(RoundHalfEven(-0.0)));
  EXPECT_FALSE(std::signbit(RoundHalfEven(-0.4)));
}

TEST(FormatSettingsTest, CAndMissingLocalesAreBritish) {
  EXPECT_EQ(BritishFormatSettings(), FormatSettings{});
  for (const char* name : {"", "C", "POSIX", "C.UTF-8", "xx_NOWHERE.UTF-8"}) {
    EXPECT_EQ(FormatSettingsForLocale(name), BritishFormatSettings()) << name;
  }
}

struct LocaleCase {
  const char* name;
  const char* shortDate;
  char dateSeparator;
  const char* march;
  const char* tuesday;
  const char* longTime;
  const char* amounts;  // Format("%m|%m|%n", {1234.5, -1234.5, 1234567.0})
};

void PrintTo(const LocaleCase& c, std::ostream* os) { *os << c.name; }

class InstalledLocaleTest : public ::testing::TestWithParam<LocaleCase> {};

TEST_P(InstalledLocaleTest, ReadsDatesNamesAndCurrency) {
  const LocaleCase& c = GetParam();
  locale_t probe = newlocale(LC_ALL_MASK, c.name, locale_t{});
  if (probe == locale_t{}) GTEST_SKIP() << c.name << " is not installed";
  freelocale(probe);
  const FormatSettings fs = FormatSettingsForLocale(c.name);
  EXPECT_EQ(fs.shortDateFormat, c.shortDate);
  EXPECT_EQ(fs.dateSeparator, c.dateSeparator);
  EXPECT_EQ(fs.shortMonthNames[2], c.march);
  EXPECT_EQ(fs.longDayNames[2], c.tuesday);
  EXPECT_EQ(fs.longTimeFormat, c.longTime);
  EXPECT_EQ(Format("%m|%m|%n", {1234.5, -1234.5, 1234567.0}, fs), c.amounts);
}

INSTANTIATE_TEST_SUITE_P(
    Locales, InstalledLocaleTest,
    ::testing::Values(
        LocaleCase{"en_US.UTF-8", "mm/dd/yyyy", '/', "Mar", "Tuesday", "hh:nn:ss ampm",
                   "$1,234.50|-$1,234.50|1,234,567.00"},
        LocaleCase{"de_DE.UTF-8", "dd.mm.yyyy", '.', "M\xE4r", "Dienstag", "hh:nn:ss",
                   "1.234,50 \x80|-1.234,50 \x80|1.234.567,00"}),
    [](const auto& p) { return std::string(p.param.name).substr(0, 5); });

}  // namespace
}  // namespace tb::test

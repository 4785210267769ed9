// Reading the lines and fields of an import file, and line checks that must never
// crash on bytes nobody planned for.

#include <gtest/gtest.h>

#include <random>

#include "maintenance/ImportBookings.h"
#include "maintenance/ImportCsv.h"
#include "platform/FormatSettings.h"
#include "store/PropRec.h"

namespace tb {
namespace {

struct FieldCase {
  std::string line;
  std::vector<std::string> fields;  // the fields read before the error (or all)
  std::string error;
};

TEST(ImportCsv, FieldsAreReadUntilTheFirstQuoteFault) {
  const std::string longLast(1200, 'x');
  const FieldCase cases[] = {
      {"a,b,,c", {"a", "b", "", "c", "", ""}, ""},
      {"a,b,", {"a", "b", "", ""}, ""},
      {"\"x, y\",z", {"x, y", "z", ""}, ""},
      {"\"say \"\"hi\"\"\",2", {"say \"hi\"", "2", ""}, ""},
      {"\"\",\"\"\"\"", {"", "\"", ""}, ""},
      {"a\"b,c", {"a\"b", "c"}, ""},  // a quote inside an unquoted field is a character
      {"a,\"open", {"a"}, "No matching quote"},
      {"a,\"ends\"\"", {"a"}, "No matching quote"},
      {"\"q\"x,b", {}, "Quoted string not terminated with comma"},
      {"a,\"q\" ,b", {"a"}, "Quoted string not terminated with comma"},
      {longLast, {std::string(998, 'x'), ""}, ""},
  };
  for (const FieldCase& c : cases) {
    CsvFieldReader reader(c.line);
    std::string field, error;
    for (const std::string& want : c.fields) {
      ASSERT_TRUE(reader.Next(field, error)) << c.line << ": " << error;
      EXPECT_EQ(field, want) << c.line;
    }
    if (!c.error.empty()) {
      EXPECT_FALSE(reader.Next(field, error)) << c.line;
      EXPECT_EQ(error, c.error) << c.line;
    }
  }
}

TEST(ImportCsv, LinesBreakAtCrLfLfOrCr) {
  using V = std::vector<std::string_view>;
  EXPECT_EQ(ImportLines("a\r\nb\nc\rd"), (V{"a", "b", "c", "d"}));
  EXPECT_EQ(ImportLines("a\r\n\r\nb\r\n"), (V{"a", "", "b"}));
  EXPECT_EQ(ImportLines("a\n\n"), (V{"a", ""}));
  EXPECT_EQ(ImportLines(""), V{});
}

// Random and mutated bytes: every file is either valid or names a line of its own.
TEST(ImportCsv, AnyBytesGiveALineNumberOrBookings) {
  Prop_Rec p;
  p.PropName = "Prop 1";
  const FormatSettings fs = BritishFormatSettings();
  const TDateTime today = EncodeDate(2026, 12, 9);
  const std::string good =
      "Prop 1,01/06/2027 14:00,7,500.50,Smith,Mr,John,\"1 \"\"High\"\" St\",Town,,,,AB1 2CD,0123,j@x.uk,Note,H\r\n"
      "Prop 1,08/06/2027,3,0,Jones,,,,,,,,,,,,\r\n";
  std::mt19937 rng(22);
  std::string alphabet = "Prop 1,\"/:.\r\n-0123456789HAMP";
  alphabet += '\0';
  alphabet += '\xff';
  for (int round = 0; round < 3000; ++round) {
    std::string data = good;
    if (round % 3 == 0) {
      data.assign(rng() % 200, '\0');
      for (char& c : data) c = static_cast<char>(rng());
    } else {
      for (int k = 1 + static_cast<int>(rng() % 6); k > 0; --k) {
        const size_t at = rng() % (data.size() + 1);
        const char c = alphabet[rng() % alphabet.size()];
        switch (rng() % 3) {
          case 0: data.insert(at, 1, c); break;
          case 1: if (at < data.size()) data.erase(at, 1); break;
          default: if (at < data.size()) data[at] = c; break;
        }
      }
    }
    const ImportCheck check = CheckImport(data, p, today, fs);
    if (check.badLine == 0) {
      EXPECT_EQ(check.bookings.size(), static_cast<size_t>(check.lines));
      for (const Book_Rec& b : check.bookings) EXPECT_GT(b.EndD, b.StartD);
    } else {
      EXPECT_GE(check.badLine, 1);
      EXPECT_LE(check.badLine, check.lines);
      EXPECT_FALSE(check.reason.empty());
    }
  }
}

}  // namespace
}  // namespace tb

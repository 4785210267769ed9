#include <gtest/gtest.h>

#include <string>

#include "store/BookRec.h"
#include "support/Builders.h"

namespace tb::test {
namespace {

std::string Repeat(const std::string& s, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += s;
  return out;
}

// A text given a piece of itself must copy before it lets its old bytes go.
TEST(BookText, TakesPiecesOfItselfAndGrowsFromItself) {
  struct Case {
    const char* name;
    std::string start;
    void (*change)(BookText&);
    std::string expected;
  };
  const Case cases[] = {
      {"a shorter piece of itself", "Mrs Ann Smith", [](BookText& t) { t = t.view().substr(4); }, "Ann Smith"},
      {"the same bytes", "Smith", [](BookText& t) { t = t.view(); }, "Smith"},
      {"itself, appended", "ab", [](BookText& t) { t += t; }, "abab"},
      {"itself, appended past its room again and again", "xyz",
       [](BookText& t) {
         for (int i = 0; i < 6; ++i) t += t;
       },
       Repeat("xyz", 64)},
      {"a piece of itself, appended", "Leeds", [](BookText& t) { t += t.view().substr(1, 3); }, "Leedseed"},
      {"emptied, then refilled", "Smith",
       [](BookText& t) {
         t.clear();
         t += "Jones";
       },
       "Jones"},
  };
  for (const Case& c : cases) {
    BookText t(c.start);
    c.change(t);
    EXPECT_EQ(t, c.expected) << c.name;
    EXPECT_EQ(t.size(), c.expected.size()) << c.name;
  }
}

// In memory a text may be longer than a file can hold; the file gets its first 65535
// bytes and stays readable.
TEST(BookText, ALongerTextIsKeptWholeAndCutOnlyInTheFile) {
  Book_Rec r = MakeBooking(EncodeDate(2027, 5, 1), 7, "Long");
  r.Comments = std::string(70000, 'c');
  r.Source = "Web";
  EXPECT_EQ(r.Comments.size(), 70000u);
  std::string bytes;
  AppendBookRecord(bytes, r);
  EXPECT_EQ(bytes.size(), BookRecordSize(r));
  size_t pos = 0;
  bool fault = true;
  Book_Rec back;
  ASSERT_TRUE(ParseBookRecord(bytes, pos, back, fault));
  EXPECT_FALSE(fault);
  EXPECT_EQ(pos, bytes.size());
  EXPECT_EQ(back.Comments, std::string(65535, 'c'));
  EXPECT_EQ(back.Source, "Web");
}

}  // namespace
}  // namespace tb::test

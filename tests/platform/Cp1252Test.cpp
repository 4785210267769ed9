#include "platform/Cp1252.h"

#include <gtest/gtest.h>

#include <string>

namespace tb::test {
namespace {

TEST(Cp1252Test, EveryByteRoundTrips) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::string utf8 = Cp1252ToUtf8(all);
  EXPECT_EQ(Utf8ToCp1252(utf8), all);
  // Each byte is one character: no two bytes share a code point.
  std::size_t characters = 0;
  for (char c : utf8) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  EXPECT_EQ(characters, 256u);
}

TEST(Cp1252Test, KnownCharacters) {
  const struct {
    const char* ansi;
    const char* utf8;
  } cases[] = {
      {"A~", "A~"},
      {"\xA3", "\xC2\xA3"},          // pound
      {"\x80", "\xE2\x82\xAC"},      // euro
      {"\xE9", "\xC3\xA9"},          // e acute
      {"\x99", "\xE2\x84\xA2"},      // trade mark
      {"\x9F", "\xC5\xB8"},          // Y diaeresis
      {"\x92", "\xE2\x80\x99"},      // right single quote
      {"\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},  // undefined
      {"\xFF", "\xC3\xBF"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Cp1252ToUtf8(c.ansi), c.utf8) << c.utf8;
    EXPECT_EQ(Utf8ToCp1252(c.utf8), c.ansi) << c.utf8;
  }
}

TEST(Cp1252Test, UnmappableAndInvalidUtf8BecomeQuestionMarks) {
  const struct {
    std::string utf8;
    std::string ansi;
  } cases[] = {
      {"\xE4\xBD\xA0", "?"},                 // a Chinese character: one '?'
      {"x\xF0\x9F\x98\x80y", "x?y"},         // outside the basic plane
      {"a\xFF" "b", "a?b"},                  // never valid
      {"\xC3", "?"},                         // cut short at the end
      {"\xC3(", "?("},                       // cut short by an ASCII byte
      {"\xE2\x82", "??"},
      {"\x80\xBF", "??"},                    // stray continuation bytes
      {"\xC0\xAF", "??"},                    // overlong '/'
      {"\xE0\x80\xAF", "???"},               // overlong, three bytes
      {"\xED\xA0\x80", "???"},               // a surrogate
      {"\xF4\x90\x80\x80", "????"},          // past U+10FFFF
      {std::string("a\0b", 3), std::string("a\0b", 3)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToCp1252(c.utf8), c.ansi) << c.utf8;
  }
  // Any two bytes: never more output than input.
  for (int a = 0; a < 256; ++a) {
    for (int b = 0; b < 256; ++b) {
      const std::string in{static_cast<char>(a), static_cast<char>(b)};
      ASSERT_LE(Utf8ToCp1252(in).size(), 2u);
    }
  }
}

}  // namespace
}  // namespace tb::test

#include "platform/Escape.h"

#include <gtest/gtest.h>

namespace tb::test {
namespace {

TEST(Escape, PercentEncodingKeepsOnlyWhatAUrlMayCarryAsItIs) {
  struct Case {
    std::string in, keep, out;
  } cases[] = {
      {"Bramble-Cottage_2.~", "", "Bramble-Cottage_2.~"},
      {"a b&c#d?e=f%g+h/i", "", "a%20b%26c%23d%3Fe%3Df%25g%2Bh%2Fi"},
      {"line\r\nbreak", "", "line%0D%0Abreak"},
      {"caf\xC3\xA9", "", "caf%C3%A9"},  // UTF-8 bytes, upper-case hex
      {"a+b@c", "@+", "a+b@c"},
      {std::string("nul\0", 4), std::string("\0", 1), "nul%00"},  // a NUL is never kept
  };
  for (const Case& c : cases) EXPECT_EQ(PercentEncode(c.in, c.keep), c.out) << c.in;
}

// A web form's name: Windows-1252 bytes as they are, lower-case hex, "+" for a space.
TEST(Escape, FormUrlEncodingAsWebFormsNameTheirFiles) {
  const struct {
    std::string in, out;
  } cases[] = {
      {"AZaz09!$'()*-.@_", "AZaz09!$'()*-.@_"},
      {"o'brien le roy", "o'brien+le+roy"},
      {"a/b~c+d%e&f", "a%2fb%7ec%2bd%25e%26f"},
      {"caf\xE9 \x80\xFF", "caf%e9+%80%ff"},  // one escape per Windows-1252 byte
  };
  for (const auto& c : cases) EXPECT_EQ(FormUrlEncoded(c.in), c.out) << c.in;
}

TEST(Escape, HtmlAndRichText) {
  struct Case {
    std::string in, html, rtf;
  } cases[] = {
      {"Smith & Sons", "Smith &amp; Sons", "Smith & Sons"},
      {"<!-- Attach x.pdf -->", "&lt;!-- Attach x.pdf --&gt;", "<!-- Attach x.pdf -->"},
      {"say \"hi\"", "say &quot;hi&quot;", "say \"hi\""},
      {"{\\b bold}", "{\\b bold}", "\\{\\\\b bold\\}"},
      {"Caf\xE9 \xA3" "5", "Caf\xE9 \xA3" "5", "Caf\\'e9 \\'a3" "5"},
      {"line\r\nbreak", "line\r\nbreak", "line\r\nbreak"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HtmlEscape(c.in), c.html) << c.in;
    EXPECT_EQ(RtfEscape(c.in), c.rtf) << c.in;
  }
}

TEST(Escape, CsvFieldsStayOneField) {
  struct Case {
    std::string in, out;
  } cases[] = {
      {"", "\"\""},
      {"Smith, Jo", "\"Smith, Jo\""},
      {"O\"Neil \"\"", "\"O\"\"Neil \"\"\"\"\""},
      {"two\r\nlines \xA3" "5", "\"two\r\nlines \xA3" "5\""},
  };
  for (const Case& c : cases) EXPECT_EQ(CsvQuoted(c.in), c.out) << c.in;
  EXPECT_EQ(CsvQuotedOneLine("O\"Neil\r\n1 High St\r\n\r\nbare\rcr\n"),
            "\"O\"\"Neil\xBB" "1 High St\xBB\xBB" "bare\rcr\n\"");
}

TEST(Escape, JsonInsideAnSqlLiteral) {
  struct Case {
    std::string in, json, sql;
  } cases[] = {
      {"Owner's week", "Owner's week", "Owner\\'s week"},
      {"say \"hi\"", "say \\\"hi\\\"", "say \\\"hi\\\""},
      {"C:\\x", "C:\\\\x", "C:\\\\x"},
      {" Late\r\n\t", " Late\\u000d\\u000a\\u0009", " Late\r\n\t"},
      {"Caf\xE9 \x80", "Caf\\u00e9 \\u20ac", "Caf\xE9 \x80"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(JsonStringText(c.in), c.json) << c.in;
    EXPECT_EQ(SqlBackslashed(c.in), c.sql) << c.in;
  }
}

TEST(Escape, MailtoLinkKeepsEachTextInItsField) {
  struct Case {
    const char *address, *subject, *cc, *body, *link;
  } cases[] = {
      {"ann+lets@example.com", "Smith & Sons #2, caf\xE9?", "", "Dear Ann\r\n100%",
       "mailto:ann%2Blets%40example.com?Subject=Smith%20%26%20Sons%20%232%2C%20caf%C3%A9%3F"
       "&Body=Dear%20Ann%0D%0A100%25"},
      {" a@b.com ", " Hi ", " c@d.com ", "B", "mailto:a%40b.com?Subject=Hi&CC=c%40d.com&Body=B"},
      {"a@b.com", "", "", "x", "mailto:a%40b.com?Body=x"},  // no subject: "?" before the body
      {"a@b.com", "", "", " x ", "mailto:a%40b.com?Body=%20x%20"},  // the body is not trimmed
      {"a@b.com", "", "", "", "mailto:a%40b.com"},
      // The pound sign passes as itself; "=" "?" "&" "#" never leave their field.
      {"a@b.com", "\xA3" "5 & more", "", "Total \xA3" "450 = ok? #1",
       "mailto:a%40b.com?Subject=\xC2\xA3" "5%20%26%20more&Body=Total%20\xC2\xA3" "450%20%3D%20ok%3F%20%231"},
      {"a@b.com?cc=x@y.com", "", "", "", "mailto:a%40b.com%3Fcc%3Dx%40y.com"},
  };
  for (const Case& c : cases) EXPECT_EQ(MailtoLink(c.address, c.subject, c.cc, c.body), c.link) << c.address;
}

// The three web-file escapes side by side: each keeps plain text, and none lets a
// name or comment end its string or start a PHP variable.
TEST(Escape, WebFileTexts) {
  struct Case {
    std::string in, phpDouble, sql, json;
  } cases[] = {
      {"Heron Cottage", "Heron Cottage", "Heron Cottage", "Heron Cottage"},
      {"Owner's week", "Owner's week", "Owner\\'s week", "Owner\\'s week"},
      {"C:\\x", "C:\\\\x", "C:\\\\\\\\x", "C:\\\\\\\\x"},
      {"say \"hi\"", "say \\\"hi\\\"", "say \\\"hi\\\"", "say \\\"hi\\\""},
      {"$5 ${x}", "\\$5 \\${x}", "\\$5 \\${x}", "$5 ${x}"},
      {"  Late\r\narrival \t", "  Late\r\narrival \t", "  Late\r\narrival \t", "Late\\u000d\\u000aarrival"},
      {"Caf\xE9 \x80" "5", "Caf\xE9 \x80" "5", "Caf\xE9 \x80" "5", "Caf\\u00e9 \\u20ac5"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PhpDoubleQuoted(c.in), c.phpDouble) << c.in;
    EXPECT_EQ(PhpSqlQuoted(c.in), c.sql) << c.in;
    EXPECT_EQ(PhpJsonQuoted(c.in), c.json) << c.in;
  }
}

}  // namespace
}  // namespace tb::test

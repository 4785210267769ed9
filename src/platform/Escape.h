#pragma once
// Texts written for another program, escaped for its language. One function per
// target; plain text goes through unchanged wherever the target allows it.

#include <string>
#include <string_view>

namespace tb {

// Percent-encoding of UTF-8 text for a URL: every byte but letters, digits, "-._~"
// and the characters in `keep` becomes "%XX" (upper-case hex).
std::string PercentEncode(const std::string& utf8, const std::string& keep = "");

// Bytes for a name in a URL the way web forms encode them: letters, digits and
// "!$'()*-.@_" pass, a space becomes "+", every other byte (a Windows-1252 byte as it
// is) "%xx" with lower-case hex.
std::string FormUrlEncoded(std::string_view bytes);

// A CSV field in double quotes, each double quote inside written twice, so that a
// text holding commas, quotes or line breaks stays one field.
std::string CsvQuoted(std::string_view text);

// The same for a field that must stay on one line: each CR LF becomes "\xBB" ("»"),
// the mark a spreadsheet user can turn back into line breaks.
std::string CsvQuotedOneLine(std::string_view text);
void AppendCsvQuotedOneLine(std::string& out, std::string_view text);  // the same, appended

// A Windows-1252 text as the inside of a JSON string: '"' and "\" with a "\", control
// and non-ASCII characters as "\uXXXX" (their Unicode code points), so the JSON is ASCII.
std::string JsonStringText(std::string_view text);

// A text for an SQL string literal (single-quoted, MySQL/MariaDB rules): every "\", "'"
// and '"' gets a "\", so that the literal gives back exactly the text.
std::string SqlBackslashed(std::string_view text);

// Text for an HTML page or e-mail: "&", "<", ">" and '"' as entities; every other byte
// (Windows-1252 or UTF-8) as it is.
std::string HtmlEscape(const std::string& text);

// Windows-1252 text for a rich-text document: "\", "{" and "}" escaped with a "\",
// bytes above 127 as "\'hh" (lower-case hex); line breaks as they are.
std::string RtfEscape(const std::string& text);

// A "mailto:" link from Windows-1252 texts: the trimmed address, then "Subject=", "CC="
// and "Body=" for those that are not empty ("?" before the first, "&" before the
// others). Each text is escaped as UTF-8: every byte but letters, digits and "-._~"
// becomes "%XX", the pound sign alone passes as itself; so "@", "&", "=", "?", "#"
// and line breaks never leave their field.
std::string MailtoLink(const std::string& address, const std::string& subject, const std::string& cc,
                       const std::string& body);

// A Windows-1252 text inside a PHP double-quoted string: "\", '"' and "$" get a "\",
// so that a name can neither end the string nor start a variable.
std::string PhpDoubleQuoted(std::string_view text);

// A Windows-1252 text for an SQL string in single quotes that itself stands in a PHP
// double-quoted string: "'" as "\'", "\" as four, '"' as "\"" and "$" as "\$".
std::string PhpSqlQuoted(std::string_view text);

// A Windows-1252 text for a JSON string that stands in a PHP single-quoted string:
// trimmed, "\" as four, "'" as "\'", '"' as "\"", and control and non-ASCII
// characters as "\uXXXX" (their Unicode code points), so the JSON stays ASCII.
std::string PhpJsonQuoted(std::string_view text);

}  // namespace tb

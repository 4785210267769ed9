#include "platform/Escape.h"

#include "platform/Cp1252.h"
#include "platform/Text.h"

namespace tb {

std::string PercentEncode(const std::string& utf8, const std::string& keep) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(utf8.size());
  for (const char ch : utf8) {
    const auto c = static_cast<unsigned char>(ch);
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                       c == '.' || c == '_' || c == '~' || (c != 0 && keep.find(ch) != std::string::npos);
    if (plain) {
      out += ch;
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0x0F];
    }
  }
  return out;
}

std::string FormUrlEncoded(std::string_view bytes) {
  static const char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size());
  for (const char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                       (c != 0 && std::string_view("!$'()*-.@_").find(ch) != std::string_view::npos);
    if (plain) {
      out += ch;
    } else if (c == ' ') {
      out += '+';
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0x0F];
    }
  }
  return out;
}

std::string CsvQuoted(std::string_view text) {
  std::string out = "\"";
  out.reserve(text.size() + 2);
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string HtmlEscape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string RtfEscape(const std::string& text) {
  static const char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(text.size());
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '\\' || c == '{' || c == '}') {
      out += '\\';
      out += ch;
    } else if (c > 127) {
      out += "\\'";
      out += kHex[c >> 4];
      out += kHex[c & 0x0F];
    } else {
      out += ch;
    }
  }
  return out;
}

std::string MailtoLink(const std::string& address, const std::string& subject, const std::string& cc,
                       const std::string& body) {
  // The pound sign ("\xC2\xA3" in UTF-8) passes as itself; everything else is escaped.
  const auto escape = [](const std::string& ansi) {
    const std::string utf8 = Cp1252ToUtf8(ansi);
    std::string out;
    size_t from = 0;
    for (size_t pound; (pound = utf8.find("\xC2\xA3", from)) != std::string::npos; from = pound + 2)
      out += PercentEncode(utf8.substr(from, pound - from)) + "\xC2\xA3";
    return out + PercentEncode(utf8.substr(from));
  };
  std::string link = "mailto:" + escape(Trim(address));
  const std::pair<const char*, std::string> fields[] = {{"Subject=", Trim(subject)}, {"CC=", Trim(cc)}, {"Body=", body}};
  for (const auto& [name, value] : fields) {
    if (value.empty()) continue;
    link += (link.find('?') == std::string::npos ? "?" : "&") + std::string(name) + escape(value);
  }
  return link;
}

std::string PhpDoubleQuoted(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (c == '\\' || c == '"' || c == '$') out += '\\';
    out += c;
  }
  return out;
}

std::string PhpSqlQuoted(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '\\': out += "\\\\\\\\"; break;
      case '\'': out += "\\'"; break;
      case '"': out += "\\\""; break;
      case '$': out += "\\$"; break;
      default: out += c;
    }
  }
  return out;
}

namespace {

// A control or non-ASCII Windows-1252 byte as JSON's "\uXXXX" of its code point.
void AppendJsonUnicode(std::string& out, unsigned char c) {
  static const char kHex[] = "0123456789abcdef";
  const char32_t cp = Cp1252CodePoint(c);
  out += "\\u";
  for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(cp >> shift) & 0x0F];
}

}  // namespace

void AppendCsvQuotedOneLine(std::string& out, std::string_view text) {
  out += '"';
  // Runs without a quote or a CR go in one append: most texts have none.
  while (!text.empty()) {
    const size_t stop = text.find_first_of("\"\r");
    out.append(text.substr(0, stop));
    if (stop == std::string_view::npos) break;
    if (text[stop] == '\r' && stop + 1 < text.size() && text[stop + 1] == '\n') {
      out += '\xBB';
      text.remove_prefix(stop + 2);
      continue;
    }
    if (text[stop] == '"') out += '"';
    out += text[stop];
    text.remove_prefix(stop + 1);
  }
  out += '"';
}

std::string CsvQuotedOneLine(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  AppendCsvQuotedOneLine(out, text);
  return out;
}

std::string JsonStringText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '\\' || c == '"') {
      out += '\\';
      out += ch;
    } else if (c < 0x20 || c >= 0x7F) {
      AppendJsonUnicode(out, c);
    } else {
      out += ch;
    }
  }
  return out;
}

std::string SqlBackslashed(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (c == '\\' || c == '\'' || c == '"') out += '\\';
    out += c;
  }
  return out;
}

std::string PhpJsonQuoted(std::string_view text) {
  text = TrimView(text);
  std::string out;
  out.reserve(text.size());
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '\\') {
      out += "\\\\\\\\";
    } else if (c == '\'') {
      out += "\\'";
    } else if (c == '"') {
      out += "\\\"";
    } else if (c < 0x20 || c >= 0x7F) {
      AppendJsonUnicode(out, c);
    } else {
      out += ch;
    }
  }
  return out;
}

}  // namespace tb

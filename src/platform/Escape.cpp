#include "platform/Escape.h"

#include "platform/Cp1252.h"

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

std::string MailtoLink(const std::string& address, const std::string& subject, const std::string& body) {
  return "mailto:" + PercentEncode(Cp1252ToUtf8(address), "@+!$'*,;=") +
         "?Subject=" + PercentEncode(Cp1252ToUtf8(subject)) + "&Body=" + PercentEncode(Cp1252ToUtf8(body));
}

}  // namespace tb

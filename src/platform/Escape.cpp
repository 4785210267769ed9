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

std::string MailtoLink(const std::string& address, const std::string& subject, const std::string& body) {
  return "mailto:" + PercentEncode(Cp1252ToUtf8(address), "@+!$'*,;=") +
         "?Subject=" + PercentEncode(Cp1252ToUtf8(subject)) + "&Body=" + PercentEncode(Cp1252ToUtf8(body));
}

}  // namespace tb

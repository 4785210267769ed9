#include "owners/OwnerText.h"

#include <algorithm>
#include <cstdio>

#include "platform/Text.h"
#include "store/Session.h"

namespace tb {

std::vector<std::string> CrLfLines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t from = 0; from <= text.size();) {
    const size_t end = std::min(text.find("\r\n", from), text.size());
    lines.push_back(text.substr(from, end - from));
    from = end + 2;
  }
  return lines;
}

std::string OwnerNumberText(uint16_t id) {
  char text[8];
  std::snprintf(text, sizeof text, "%02u", static_cast<unsigned>(id));
  return text;
}

std::string OwnerSearchText(const Owner_Rec& o) {
  return o.OwnerSurname + " " + o.OwnerFName + " " + o.OwnerAddress + " " + o.OwnerPhone + " " + o.OwnerEmail + " " +
         o.OwnerURL + " " + o.OwnerNotes;
}

std::string OwnerClipboardText(const OwnerFields& f) {
  std::string text = Trim(f.firstNames + " " + f.surname) + "\r\n";
  const std::vector<std::string> address = CrLfLines(f.address);
  for (size_t i = 0; i < address.size() && i < 6; ++i)
    if (!address[i].empty()) text += address[i] + "\r\n";
  if (!f.phone.empty()) text += "Phone: " + f.phone + "\r\n";
  if (!f.email.empty()) text += "EMail: " + f.email + "\r\n";
  if (!f.url.empty()) text += "URL: " + f.url + "\r\n";
  if (!f.notes.empty()) text += "Notes: " + f.notes.substr(0, 800);
  return text;
}

std::vector<std::string> OwnerPropertyLines(const Session& s, uint16_t id) {
  std::vector<std::string> lines;
  for (int n = 1; n <= s.NumProps() && id != 0; ++n)
    if (s.Prop(n).Owner == id) lines.push_back(std::to_string(n) + "  " + s.Prop(n).PropName);
  return lines;
}

}  // namespace tb

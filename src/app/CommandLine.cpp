#include "app/CommandLine.h"

#include "platform/DateTime.h"
#include "platform/Text.h"

namespace tb {

namespace {

// The switch letter of "/A" or "-A" (and "S" of "/S=name"); 0 when not a switch.
char SwitchLetter(const std::string& p) {
  if (p.size() < 2 || (p[0] != '/' && p[0] != '-')) return 0;
  if (p.size() == 2 && std::string("ARCL").find(p[1]) != std::string::npos) return p[1];
  if (p.size() > 3 && p[1] == 'S' && p[2] == '=') return 'S';
  return 0;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine cl;
  for (const std::string& raw : args) {
    const std::string p = Trim(raw);
    if (p.empty()) continue;
    switch (SwitchLetter(p)) {
      case 'A': cl.openAll = true; continue;
      case 'R': cl.readOnly = true; continue;
      case 'C':
      case 'L':
        if (cl.forcedMode != ' ') cl.invalid = true;
        cl.forcedMode = p[1];
        continue;
      case 'S': cl.settingsName = p.substr(3); continue;
      default: break;
    }
    if (p[0] == '-') cl.invalid = true;
    else if (p.find(".bks") != std::string::npos) cl.bookingFile = p;
    else if (p.back() == '/') cl.rootFolder = p;
    else cl.propertyName = p;
  }
  if (!cl.bookingFile.empty() && !cl.propertyName.empty()) cl.invalid = true;
  if (cl.openAll && (!cl.bookingFile.empty() || !cl.propertyName.empty())) cl.invalid = true;
  return cl;
}

bool ParseOpenBooking(const std::string& text, int& property, double& date) {
  const size_t comma = text.find(',');
  if (comma == std::string::npos || comma == 0 || comma > 4) return false;
  int n = 0;
  for (size_t i = 0; i < comma; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    n = n * 10 + (text[i] - '0');
  }
  if (n < 1 || !ParseIsoDate(text.substr(comma + 1), date)) return false;
  property = n;
  return true;
}

}  // namespace tb

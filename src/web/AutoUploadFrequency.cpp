#include "web/AutoUploadFrequency.h"

#include <charconv>

#include "platform/Text.h"
#include "store/DiagnosticLog.h"
#include "store/Session.h"

namespace tb {

std::optional<int> ParseUploadMinutes(const std::string& text) {
  const std::string t = Trim(text);
  int minutes = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), minutes);
  if (t.empty() || ec != std::errc() || end != t.data() + t.size()) return std::nullopt;
  if (minutes == 0 || (minutes >= 5 && minutes <= 1440)) return minutes;
  return std::nullopt;
}

bool SaveUploadMinutes(Session& s, int minutes) {
  const int seconds = minutes * 60;
  if (!s.registry.WriteDword(kRegistryKey, "AupFREQ", static_cast<uint32_t>(seconds))) return false;
  s.AupFREQ = seconds;
  WriteLog(s, "AutoUpdate Freq=" + std::to_string(seconds));
  return true;
}

}  // namespace tb

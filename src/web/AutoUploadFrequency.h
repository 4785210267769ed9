#pragma once
// The auto-upload period the user sets in whole minutes and the registry keeps in seconds
// ("AupFREQ" of the user's program key).

#include <optional>
#include <string>

namespace tb {

class Session;

// Minutes as typed: 0 (off) or 5 to 1440; nothing for anything else.
std::optional<int> ParseUploadMinutes(const std::string& text);
// Stores minutes × 60 as AupFREQ and logs "AutoUpdate Freq=<seconds>"; false when the
// registry file cannot be written (the period then stays as it was).
bool SaveUploadMinutes(Session& s, int minutes);

}  // namespace tb

#pragma once
// Ferrit's whole run: every file of an upload list put on its site, one line per file
// in "Ferrit.log" beside the list (time, site, local path, the address without a login,
// and "OK" or why not). The log is private: it names customers' files.

#include <ostream>
#include <string>

namespace tb {

class Clock;
class RegistryStore;

// Exit statuses.
constexpr int kFerritAllSent = 0;
constexpr int kFerritSomeFailed = 1;
constexpr int kFerritBadList = 2;

// Each log line is also written to `out`.
int RunUploadList(const std::string& listPath, const RegistryStore& registry, const Clock& clock,
                  std::ostream& out);

}  // namespace tb

#include "ferrit/UploadList.h"

#include "platform/Text.h"

namespace tb {

std::vector<UploadEntry> ParseUploadList(const std::string& text) {
  std::vector<UploadEntry> entries;
  for (std::string& line : TextFileLines(text)) {
    if (line.empty()) continue;
    UploadEntry e;
    const size_t file = line.find(" File=");
    if (line.rfind("Site=", 0) == 0 && file != std::string::npos) {
      e.site = line.substr(5, file - 5);
      e.file = line.substr(file + 6);
      e.understood = !e.site.empty() && !e.file.empty();
    }
    e.line = std::move(line);
    entries.push_back(std::move(e));
  }
  return entries;
}

}  // namespace tb

#include "platform/FileSystem.h"
#include "store/Session.h"
#include "web/WebFiles.h"

namespace tb {

std::string HelperFolder(const Session& s) {
  const std::string& dir = s.common.HS_LDIR;
  if (dir.empty()) return "";
  std::string folder = NativePath(dir);
  if (IsRelativePath(folder)) folder = s.common.RootFolder + folder;
  return IncludeTrailingSlash(folder);
}

}  // namespace tb

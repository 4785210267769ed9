#include "platform/FileSystem.h"
#include "store/Session.h"
#include "store/Settings.h"
#include "web/WebFiles.h"

namespace tb {

std::string HelperFolder(const Session& s) {
  // Relative to the root folder, as every configured folder is; unset, the root itself.
  const std::string folder = ResolvePath(s.common.HS_LDIR, s.common.RootFolder);
  return folder.empty() ? s.common.RootFolder : IncludeTrailingSlash(folder);
}

}  // namespace tb

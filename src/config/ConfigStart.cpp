#include "config/ConfigStart.h"

#include "platform/FileSystem.h"
#include "platform/PathText.h"

namespace tb {

ConfigStart FindSettingsFile(const std::vector<std::string>& args, const std::function<std::string()>& localIniRoot) {
  // Cotlyn starts us with "C", for configure; it may be left out by hand.
  const size_t first = !args.empty() && (args[0] == "C" || args[0] == "c") ? 1 : 0;
  if (args.size() > first + 1) return {"", "Invalid parameters\rUse: CotlynConfig C [root folder/]"};
  const std::string root = args.size() > first ? args[first] : NativePath(localIniRoot());
  if (root.empty()) return {"", "Root folder not set in Local.ini\rUse: CotlynConfig C root folder/"};
  if (!DirectoryExists(root)) return {"", "No root folder: " + PathText(root)};
  const std::string path = IncludeTrailingSlash(root) + "Cotlyn.ini";
  if (!FileExists(path)) return {"", "Settings file not found: " + PathText(path)};
  return {path, ""};
}

}  // namespace tb

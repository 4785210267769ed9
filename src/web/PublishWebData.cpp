#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "store/Session.h"
#include "web/WebFiles.h"

namespace tb {

namespace {

const char* const kFerritSite = "CotlynData";
const char* const kFerritSiteKey = "Software\\Orvane\\Ferrit\\CotlynData";

}  // namespace

PublishResult PublishPHPWebData(Session& s) {
  PublishResult r;
  std::string folder;
  if (!s.common.HS_URL.empty()) {
    folder = HelperFolder(s);
    if (folder.empty() || !DirectoryExists(folder)) {
      r.error = "Local Directory for files " + PathText(folder) + " defined in Web-Up not found";
      return r;
    }
  } else {
    if (!s.registry.KeyExists(kFerritSiteKey)) {
      r.error = std::string("No Ferrit Site named ") + kFerritSite + ". Cannot upload";
      return r;
    }
    // The site was set up on Windows: its folder may be written with backslashes.
    folder = IncludeTrailingSlash(NativePath(s.registry.ReadString(kFerritSiteKey, "LDir").value_or("")));
    if (folder.empty() || !DirectoryExists(folder)) {
      r.error = "Local Directory " + PathText(folder) + " defined in site " + kFerritSite + " not found";
      return r;
    }
  }
  const std::string path = folder + "propinfo.php";
  // A file that could not be written must not be sent: the old one would go up as new.
  if (!CreateWebData(s, path)) {
    r.error = "Cannot write to file " + PathText(path);
    return r;
  }
  r.listLine = std::string("Site=") + kFerritSite + " File=" + PathText(path);
  return r;
}

}  // namespace tb

#pragma once
// A Ferrit site: where the files listed for it go. Kept in the per-user registry
// under Software\Orvane\Ferrit\<site>: Host, Port (dword or text, 21 when missing),
// User, Password, RDir (the remote folder) and LDir (the local folder whose files keep
// their sub-path below RDir; any other file goes into RDir by its name).

#include <optional>
#include <string>

#include "platform/FtpUpload.h"

namespace tb {

class RegistryStore;

struct FerritSite {
  std::string host;
  long port = 21;
  std::string user, password;  // UTF-8, as they go to the server
  std::string remoteFolder;    // UTF-8, "/" between folders; a leading "/" is the server's root
  std::string localFolder;     // native, ending with "/"; "" when none is set
};

// The site's settings; nullopt with `problem` saying why they cannot be used.
std::optional<FerritSite> ReadFerritSite(const RegistryStore& registry, const std::string& site,
                                         std::string& problem);
// Where the local file (native path) goes on the site.
FtpTarget FerritTarget(const FerritSite& site, const std::string& localPath);
// The address a target is shown by: no login, ever.
std::string FtpTargetUrl(const FtpTarget& target);

}  // namespace tb

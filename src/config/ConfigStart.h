#pragma once
// Which settings file the configuration program edits, from its command line
// "C [root folder/]" or, without a root folder, from Local.ini as Cotlyn finds it.

#include <functional>
#include <string>
#include <vector>

namespace tb {

struct ConfigStart {
  std::string settingsPath;  // when error is empty
  std::string error;         // the message to show before ending
};

// args: the parameters after the program's name. localIniRoot: "RootFolder" from
// Local.ini, asked only when no root folder is given.
ConfigStart FindSettingsFile(const std::vector<std::string>& args, const std::function<std::string()>& localIniRoot);

}  // namespace tb

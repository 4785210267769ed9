#pragma once
// "Local.ini" in the program's data folder: where the root folder is, when the
// program was installed, and the key that tells this installation apart from others
// sharing a root folder.

#include <string>

namespace tb {

struct LocalIni {
  std::string RootFolder;
  std::string ID;       // installation date text
  std::string UserKey;  // made on first use and kept
};

// The program's data folder: <executable folder>/Data/ when it exists (portable and
// build trees), else the user's configuration folder.
std::string ProgramDataFolder();
// Reads the file; a missing UserKey is made (random, without ";") and written back.
// When the file cannot be written the key is still made, only not kept.
LocalIni ReadLocalIni(const std::string& path);

}  // namespace tb

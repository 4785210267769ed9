#include "store/LocalIni.h"

#include <cstdio>
#include <random>

#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/SystemInfo.h"

namespace tb {

namespace {

std::string NewUserKey() {
  std::random_device rd;
  char buf[20];
  std::snprintf(buf, sizeof buf, "K%08X%04X", rd(), rd() & 0xFFFF);
  return buf;
}

}  // namespace

std::string ProgramDataFolder() {
  const std::string beside = ExecutableFolder() + "Data/";
  return DirectoryExists(beside) ? beside : ConfigFolder();
}

LocalIni ReadLocalIni(const std::string& path) {
  IniFile ini(path);
  const bool read = ini.Load();
  LocalIni local;
  local.RootFolder = ini.ReadString("Common", "RootFolder", "");
  local.ID = ini.ReadString("Common", "ID", "");
  local.UserKey = ini.ReadString("Common", "UserKey", "");
  if (local.UserKey.empty()) {
    local.UserKey = NewUserKey();
    // A file that is there but could not be read is never written over: it holds the
    // root folder.
    if (read || !FileExists(path)) {
      ForceDirectories(ExtractFilePath(path));
      ini.WriteString("Common", "UserKey", local.UserKey);
      ini.Save();
    }
  }
  return local;
}

}  // namespace tb

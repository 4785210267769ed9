#include "app/Users.h"

#include <algorithm>
#include <map>

#include "app/ChartActions.h"
#include "platform/FileLock.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"
#include "store/DiagnosticLog.h"
#include "store/Session.h"
#include "store/Settings.h"

namespace tb {

namespace {

const char* const kUsersFile = "$users.txt";

bool Contains(const std::string& line, const std::string& part) {
  return !part.empty() && line.find(part) != std::string::npos;
}

// The text from character 18 up to the first ";".
std::string ComputerOf(const std::string& line) {
  if (line.size() <= 17) return {};
  return line.substr(17, line.find(';', 17) == std::string::npos ? std::string::npos : line.find(';', 17) - 17);
}

// Whether a forced mode asks for the other mode than the configured one.
bool ForcesOtherMode(const Session& s) {
  return (s.ForcedMode == 'L' && s.common.CloudData) || (s.ForcedMode == 'C' && !s.common.CloudData);
}

bool StartsWith(const std::string& text, const std::string& prefix) { return text.compare(0, prefix.size(), prefix) == 0; }

// The locks live in the private temporary folder: the copies that can own a line of
// this installation and computer are this user's own. The root folder is named as the
// file system names it, whichever way it was written.
std::string UsersLockPath(const Session& s) {
  return LockPathFor(s.common.TempFolder, "users\n" + CanonicalPath(s.common.RootFolder));
}

std::string LineMarkPath(const Session& s, const std::string& line) {
  return LockPathFor(s.common.TempFolder, "user\n" + CanonicalPath(s.common.RootFolder) + "\n" + line);
}

bool ThisInstallationHere(const Session& s, const std::string& line) {
  return Contains(line, s.UserKey) && ComputerOf(line) == s.common.ComputerName;
}

// A line written by a copy of this installation run by this user on this computer:
// such a copy holds its line's mark where this one can see it.
bool OwnLine(const Session& s, const std::string& line) {
  return ThisInstallationHere(s, line) && UserNameOf(line) == s.common.UserName;
}

// Removes the lines of copies of this installation on this computer that ended without
// removing them (killed, crashed); the lines of this user's copies still running
// (other windows) stay. Lines written in the same second are alike: as many stay as
// live copies hold their mark. True when any line went.
bool RemoveLeftovers(Session& s, std::vector<std::string>& lines) {
  std::map<std::string, int> live;
  bool removed = false;
  for (size_t i = lines.size(); i-- > 0;) {
    const std::string line = lines[i];
    if (!ThisInstallationHere(s, line)) continue;
    auto [it, fresh] = live.try_emplace(line, 0);
    if (fresh) {
      int alike = 0;
      for (const std::string& l : lines) alike += l == line ? 1 : 0;
      // Another login's copies keep their marks where this one cannot see them.
      const int holders = OwnLine(s, line) ? OwnerMark::Holders(LineMarkPath(s, line)) : 0;
      // The first `holders` of the alike lines, counting from the top, are live.
      it->second = holders - alike;
      if (holders == 0) DeleteFileAt(LineMarkPath(s, line));
    }
    if (it->second++ >= 0) continue;
    WriteLog(s, "QZ1210 Delete duplicate user: " + line);
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
    removed = true;
  }
  return removed;
}

// Writes the lines back, or deletes the file when none is left.
bool SaveUserLines(const std::string& path, const std::vector<std::string>& lines) {
  return lines.empty() ? DeleteFileAt(path) : WriteUserLines(path, lines);
}

void DecideMode(Session& s, const std::string& ip) {
  const std::string& lan = s.common.IP;
  const bool cloud = s.common.CloudData;
  if (lan.empty()) {
    if (s.ForcedMode == 'L' && cloud) ForceModeChange(s, 'L');
    else if (s.ForcedMode == 'C' && !cloud) ForceModeChange(s, 'C');
    return;
  }
  if (!StartsWith(ip, lan)) {
    // Away from the LAN.
    if (s.ForcedMode == 'C' && !cloud) {
      ForceModeChange(s, 'C');
    } else if (s.ForcedMode == 'L' && cloud) {
      s.dialogs.Beep();
      if (s.dialogs.Message("QZ1200 Change to LAN Mode?  You don't appear to be on your LAN\rAre you sure?",
                            MsgIcon::Warning, MsgButton::Yes | MsgButton::Abort | MsgButton::Help,
                            1200) != MsgButton::Yes) {
        WriteLog(s, "QZ1200 USER ABORT. In Cloud but force=" + std::string(1, s.ForcedMode));
        ExitNow(s);
      }
      ForceModeChange(s, 'L');
    }
    return;
  }
  // On the LAN.
  if (!cloud && s.ForcedMode != 'C') return;
  if (s.ForcedMode == 'L') {
    ForceModeChange(s, 'L');
    return;
  }
  s.dialogs.Beep();
  if (s.dialogs.Message("QZ1190 On LAN - starting in Cloud mode\rAre you sure?\r", MsgIcon::Warning,
                        MsgButton::Yes | MsgButton::Abort | MsgButton::Help, 1190) != MsgButton::Yes) {
    WriteLog(s, "QZ1190 USER ABORT. On LAN but force=" + std::string(1, s.ForcedMode));
    ExitNow(s);
  }
  if (s.ForcedMode == 'C' && !cloud) ForceModeChange(s, 'C');
}

}  // namespace

bool ReadUserLines(const std::string& path, std::vector<std::string>& lines) {
  lines.clear();
  std::string data;
  if (!ReadWholeFile(path, data)) return false;
  lines = TextFileLines(data);
  return true;
}

bool WriteUserLines(const std::string& path, const std::vector<std::string>& lines) {
  std::string data;
  for (const std::string& line : lines) data += line + "\r\n";
  return WriteWholeFile(path, data);
}

std::string UserNameOf(const std::string& line) {
  const size_t first = line.find(';');
  if (first == std::string::npos) return {};
  const size_t second = line.find(';', first + 1);
  return line.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
}

std::string ConflictedCopy(const Session& s) {
  for (const std::string& name : ListFiles(s.common.RootFolder, "$users*.txt"))
    if (name != kUsersFile) return name;
  return {};
}

void CheckUsersAtStart(Session& s, const std::string& ip) {
  const std::string& path = s.common.UsersPath;
  if (s.common.CloudData) {
    const std::string copy = ConflictedCopy(s);
    if (!copy.empty()) {
      WriteLog(s, "Conflicted copy found: " + copy);
      if (s.dialogs.Message("QZ1170 Another user active\rConflicted copy of User Control File found, name=" + copy +
                                "\r" + "You are advised to abort and ensure no other users are active" + "\r" +
                                "(If you are sure a second user is NOT ACTIVE click ignore; conflict will be deleted)",
                            MsgIcon::Warning, MsgButton::Abort | MsgButton::Ignore | MsgButton::Help,
                            1170) != MsgButton::Ignore)
        ExitNow(s);
      DeleteFileAt(s.common.RootFolder + copy);
      WriteLog(s, "QZ1170 Delete conflicted copy " + copy);
    }
  }

  std::vector<std::string> lines;
  bool removeUserFile = false;
  {
    // Leftovers first, while no other copy of this user changes the file.
    FileLock guard(UsersLockPath(s));
    if (ReadUserLines(path, lines) && RemoveLeftovers(s, lines)) SaveUserLines(path, lines);
  }
  // Then the others; the questions are asked without holding the file.
  for (size_t i = lines.size(); i-- > 0;) {
    const std::string& line = lines[i];
    if (OwnLine(s, line)) continue;  // another window of this installation, still running
    const bool otherWrites = line.empty() || line[0] != 'R';
    if (otherWrites && ForcesOtherMode(s)) {
      WriteLog(s, "QZ1180 FORCE " + std::string(1, s.ForcedMode) + " INVALID-2ND USER: " + line);
      FatalError(s, "Error 1180 Another user active - cannot change mode", 1180);
    }
    if (!s.ReadOnly && s.common.CloudData && otherWrites) {
      s.dialogs.Beep();
      if (s.dialogs.Message("QZ1160 Another user is active: " + UserNameOf(line) + "\r" +
                                "Open Cotlyn in read-only mode?" + "\r" +
                                "(If you are sure another user is NOT ACTIVE then click ignore)",
                            MsgIcon::Warning, MsgButton::Yes | MsgButton::Ignore | MsgButton::Help,
                            1160) == MsgButton::Ignore) {
        WriteLog(s, "QZ1160 IGNORED 2ND USER: " + line);
        removeUserFile = true;
      } else {
        s.ReadOnly = true;
        WriteLog(s, "QZ1160 2ND USER active, opening readonly. " + line);
      }
    }
  }
  if (removeUserFile) {
    // The other users' lines go; this user's windows still running keep theirs.
    FileLock guard(UsersLockPath(s));
    std::vector<std::string> now;
    ReadUserLines(path, now);
    std::erase_if(now, [&s](const std::string& line) { return !OwnLine(s, line); });
    SaveUserLines(path, now);
  }
  DecideMode(s, ip);
}

void RegisterUser(Session& s) {
  const CommonSettings& c = s.common;
  const std::string line = std::string(s.ReadOnly ? "R" : " ") + FormatDateTime("yymmdd hh:nn:ss ", s.clock.Now()) +
                           c.ComputerName + ";" + c.UserName + ";" + s.UserKey;
  // Copies started together (-A) each add their line: none may lose another's.
  FileLock guard(UsersLockPath(s));
  // Marked before the line exists, so no other copy ever takes it for a leftover.
  s.UserMark.Hold(LineMarkPath(s, line));
  std::vector<std::string> lines;
  if (FileExists(c.UsersPath) && !ReadUserLines(c.UsersPath, lines)) {
    WriteLog(s, "Failed to read/write " + c.UsersPath);
    return;
  }
  lines.push_back(line);
  if (!WriteUserLines(c.UsersPath, lines)) {
    WriteLog(s, "Failed to read/write " + c.UsersPath);
    return;
  }
  s.UserLine = line;
}

void UnregisterUser(Session& s) {
  const CommonSettings& c = s.common;
  FileLock guard(UsersLockPath(s));
  std::vector<std::string> lines;
  const bool exists = FileExists(c.UsersPath);
  if (!exists) {
    WriteLog(s, "ERROR-CLOSE. No $user file.");
  } else if (!ReadUserLines(c.UsersPath, lines)) {
    WriteLog(s, "Failed to read/write " + c.UsersPath);
  } else {
    // Exactly the line this copy wrote (none when it wrote none): another window of the
    // same user keeps its own.
    const auto it = std::find(lines.begin(), lines.end(), s.UserLine);
    if (!s.UserLine.empty() && it != lines.end()) {
      lines.erase(it);
      if (!SaveUserLines(c.UsersPath, lines)) WriteLog(s, "Failed to read/write " + c.UsersPath);
    }
  }
  s.UserMark.Release();
  if (!s.UserLine.empty() && OwnerMark::Holders(LineMarkPath(s, s.UserLine)) == 0)
    DeleteFileAt(LineMarkPath(s, s.UserLine));
  s.UserLine.clear();
}

void ForceModeChange(Session& s, char mode) {
  WriteLog(s, "FORCE MODE CHANGE TO " + std::string(1, mode));
  SaveCloudMode(s, mode == 'C');
}

std::string UsersText(const Session& s) {
  std::string text = std::string("Mode = ") + (s.common.CloudData ? "Cloud" : "LAN") + "\r" + "---Active Users---";
  std::vector<std::string> lines;
  if (!ReadUserLines(s.common.UsersPath, lines)) return text + "\r" + "No users found";
  for (size_t i = 0; i < lines.size(); ++i) {
    text += "\r" + std::to_string(i + 1) + " " + UserNameOf(lines[i]);
    if (Contains(lines[i], s.UserKey)) text += " (SELF)";
  }
  return text;
}

bool RefreshFindsConflict(Session& s) {
  if (!s.common.CloudData || s.ReadOnly) return false;
  const std::string copy = ConflictedCopy(s);
  if (copy.empty()) return false;
  return s.dialogs.Message("QZ1170 Another user active\rConflicted copy of User Control File found, name=" + copy +
                               "\r" + "Probable reason - 2nd user active" + "\r" +
                               "You are strongly advised to ABORT to prevent data loss",
                           MsgIcon::Error, MsgButton::Abort | MsgButton::Ignore | MsgButton::Help,
                           1170) == MsgButton::Abort;
}

bool RefreshFromOtherUsers(Session& s) {
  // Never under an open editing window: its data must not change beneath it.
  if (s.BookFormOpen || s.RatesFormOpen || s.SearchFormOpen || s.OwnerFormOpen) return false;
  bool any = false;
  for (int n : ShownProperties(s)) any = RefreshProperty(s, n, false, true) || any;
  return any;
}

}  // namespace tb

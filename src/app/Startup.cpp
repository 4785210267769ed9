#include "app/Startup.h"

#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/Format.h"
#include "platform/PathText.h"
#include "store/DiagnosticLog.h"
#include "store/LocalIni.h"
#include "store/Session.h"
#include "store/Settings.h"

namespace tb {

namespace {

[[noreturn]] void StartError(Session& s, const std::string& text, int help) {
  s.dialogs.Message(text, MsgIcon::Error, MsgButton::Abort | MsgButton::Help, help);
  ExitNow(s);
}

[[noreturn]] void InvalidParameters(Session& s) { StartError(s, "Error 1130 Invalid Parameters", 1130); }

void CheckVersion(Session& s, const std::string& version) {
  const std::string& ver = s.common.ver;
  const std::string inSettings = ver.size() > 1 ? ver.substr(1, 3) : std::string();
  if (inSettings == version) return;
  const MsgButton answer = s.dialogs.Message(
      "Warning: Version number mismatch\rInstalled version = " + version + "  Version in settings = " + inSettings +
          "\r" + "If you migrated machines, ensure the same version is installed on both" + "\r" +
          "IGNORE will continue but data may be incompatible",
      MsgIcon::Error, MsgButton::Abort | MsgButton::Ignore | MsgButton::Help, 1050);
  if (answer != MsgButton::Ignore) ExitNow(s);
}

void SetUpBookingFile(Session& s, const std::string& name) {
  std::string folder = ExtractFilePath(name);
  const std::vector<std::string> found = ListFiles(folder.empty() ? "./" : folder, ExtractFileName(name));
  if (found.empty()) {
    s.dialogs.Message("L03 " + PathText(name) + " not found", MsgIcon::Error, MsgButton::Abort);
    ExitNow(s);
  }
  s.AppState = 'F';
  s.CurrentProperty = 0;
  s.DirectFile = AbsolutePath(folder + found.front());

  // Compared as the file system names them: a relative path, "..", or a link to the
  // root folder must still find the property the file belongs to.
  const std::string root = IncludeTrailingSlash(CanonicalPath(s.common.RootFolder));
  const std::string file = CanonicalPath(s.DirectFile);
  if (file.compare(0, root.size(), root) == 0) {
    const std::string rest = file.substr(root.size());
    const size_t slash = rest.find('/');
    if (slash != std::string::npos) {
      const std::string propName = rest.substr(0, slash);
      for (int n = 1; n <= s.NumProps(); ++n) {
        if (PathFromText(s.Prop(n).PropName) != propName) continue;
        // The file is edited with its property's settings, its live file as that property.
        if (rest.substr(slash + 1) == "Data/Bookings.bks") s.CurrentProperty = n;
        CopyConfiguration(s.Prop(n), s.Prop(0));
      }
    }
  }
  if (s.Prop(0).PropName.empty() && s.NumProps() >= 1) {
    CopyConfiguration(s.Prop(1), s.Prop(0));
    s.Prop(0).PropName.clear();
    s.Prop(0).PropNo = 0;
    s.Prop(0).Folder.clear();
  }
}

}  // namespace

void CopyConfiguration(const Prop_Rec& from, Prop_Rec& to) {
  Prop_Rec copy = from;
  copy.Bookings.Clear();
  copy.Weeks.clear();
  copy.RateCache = {};
  copy.RateCacheAge = {0, 0};
  copy.BookFileAge = 0;
  copy.ListModified = copy.BookingChanged = copy.ImportSel = copy.DatesChanged = 0;
  to = std::move(copy);
}

std::string InstanceKey(const std::string& rootFolder, const std::string& title) {
  return CanonicalPath(AbsolutePath(rootFolder)) + "\n" + title;
}

std::string StartInstanceKey(const std::vector<std::string>& args, const std::string& localRoot) {
  const CommandLine cl = ParseCommandLine(args);
  const std::string root = IncludeTrailingSlash(cl.rootFolder.empty() ? NativePath(localRoot) : cl.rootFolder);
  if (!cl.bookingFile.empty()) {
    // Every property's live file is "Bookings.bks": the whole path tells them apart.
    const std::string folder = ExtractFilePath(cl.bookingFile);
    const std::vector<std::string> found = ListFiles(folder.empty() ? "./" : folder, ExtractFileName(cl.bookingFile));
    return InstanceKey(root, CanonicalPath(AbsolutePath(found.empty() ? cl.bookingFile : folder + found.front())));
  }
  IniFile ini(root + (cl.settingsName.empty() ? "Cotlyn.ini" : cl.settingsName));
  ini.Load();
  const std::string view = ini.ReadString("Common", "ViewMode", "C");
  if (!view.empty() && view[0] == 'M') return InstanceKey(root, kAllPropertiesTitle);
  const std::string name = cl.propertyName.empty() ? Cp1252ToUtf8(ini.ReadString(PropertySection(1), "PropName", "Fail"))
                                                   : cl.propertyName;
  return InstanceKey(root, name);
}

std::string InstanceTitle(const Session& s) {
  if (s.AppState == 'F') return CanonicalPath(s.DirectFile);
  if (s.common.AllPropertiesView()) return kAllPropertiesTitle;
  return Cp1252ToUtf8(s.Prop(s.CurrentProperty).PropName);
}

std::vector<std::string> PropertyCopyArgs(const Session& s, int n) {
  std::vector<std::string> args{Cp1252ToUtf8(s.Prop(n).PropName)};
  args.insert(args.end(), s.PassedSwitches.begin(), s.PassedSwitches.end());
  // Without the root folder a copy started with one on its command line could not
  // find the data.
  if (s.RootFromCommandLine) args.push_back(s.common.RootFolder);
  return args;
}

CommandLine PrepareSession(Session& s, const StartupEnvironment& env) {
  CommonSettings& c = s.common;
  c.ProgramFolder = env.programFolder;
  c.TempFolder = env.tempFolder;
  c.HelpFolder = env.helpFolder;
  const LocalIni local = ReadLocalIni(env.dataFolder + "Local.ini");
  s.InstallDate = local.ID;
  s.UserKey = local.UserKey;

  const CommandLine cl = ParseCommandLine(env.args);
  if (cl.invalid) InvalidParameters(s);
  s.ReadOnly = cl.readOnly;
  s.ForcedMode = cl.forcedMode;
  s.RootFromCommandLine = !cl.rootFolder.empty();
  // Copies for other properties run as this one was asked to.
  s.PassedSwitches.clear();
  if (cl.readOnly) s.PassedSwitches.push_back("-R");
  if (cl.forcedMode != ' ') s.PassedSwitches.push_back(std::string("-") + cl.forcedMode);
  if (!cl.settingsName.empty()) s.PassedSwitches.push_back("-S=" + cl.settingsName);
  // A relative root is taken from the working folder, once: every path below it and
  // every copy started later must name the same folder.
  c.RootFolder = AbsolutePath(s.RootFromCommandLine ? cl.rootFolder : NativePath(local.RootFolder));

  if (c.RootFolder.empty()) StartError(s, "Error 1110 Root folder not set. Reinstall? See Help", 1110);
  if (!DirectoryExists(c.RootFolder)) {
    s.dialogs.Beep();
    StartError(s, "Error 1010: No Root Folder = " + PathText(c.RootFolder) + "\r" + "Read Help", 1010);
  }
  c.RootFolder = IncludeTrailingSlash(c.RootFolder);
  c.SettingsPath = c.RootFolder + (cl.settingsName.empty() ? "Cotlyn.ini" : cl.settingsName);
  if (!FileExists(c.SettingsPath))
    StartError(s, "Error 1120 Settings file not found: " + PathText(c.SettingsPath) + "\r" + "Read help", 1120);

  LoadSettings(s);
  CheckVersion(s, env.version);

  c.ComputerName = env.computerName.substr(0, 256);
  c.UserName = env.userName.empty() ? "Unknown" : env.userName.substr(0, 255);
  c.LogPath = c.RootFolder + "Cotlyn.log";
  c.UsersPath = c.RootFolder + "$users.txt";
  s.AppState = ' ';
  s.ComputeSeasonYear();

  const bool all = c.AllPropertiesView();
  // A settings file without properties leaves nothing to show or edit.
  if (s.NumProps() < 1)
    StartError(s, "Error 1140 No properties in settings file: " + PathText(c.SettingsPath) + "\r" + "Read help", 1140);

  if (!all) {
    s.CurrentProperty = 1;
    if (cl.openAll) {
      for (int j = 2; j <= s.NumProps(); ++j) {
        if (s.Prop(j).PropName == "Ruza Rorazed") continue;
        s.processes.Run(env.programPath, PropertyCopyArgs(s, j), false);
      }
    }
  }
  if (!cl.propertyName.empty()) {
    if (all) {
      s.CurrentProperty = 0;
    } else {
      int match = 0;
      for (int n = 1; n <= s.NumProps(); ++n)
        if (s.Prop(n).PropName == Utf8ToCp1252(cl.propertyName)) match = n;
      if (match == 0) InvalidParameters(s);
      s.CurrentProperty = match;
    }
  } else if (!cl.bookingFile.empty()) {
    SetUpBookingFile(s, cl.bookingFile);
    return cl;
  }
  if (all) s.CurrentProperty = 0;
  ReadWindowPos(s, s.CurrentProperty);
  return cl;
}

std::string NetworkModeText(const Session& s, const std::string& ip) {
  return std::string(s.common.CloudData ? "Cloud " : "LAN ") + ip + (s.ReadOnly ? " ReadOnly" : "");
}

std::string StartLine(const Session& s, const StartupEnvironment& env) {
  const std::string mode(1, s.common.AllPropertiesView() ? 'M' : 'C');
  return Format("START Mode=%s P=%d Ver=%s WinVer=%d.%2.2d.%d Root=%s S:%s %s",
                {mode, s.CurrentProperty, env.fullVersion, env.os.major, env.os.minor, env.os.build,
                 PathText(s.common.RootFolder), s.UserKey, NetworkModeText(s, env.ipAddress)});
}

void LogStart(Session& s, const StartupEnvironment& env) {
  if (!s.ReadOnly) RotateLog(s);
  WriteLog(s, StartLine(s, env));
}

}  // namespace tb

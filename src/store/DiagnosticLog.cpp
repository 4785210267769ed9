#include "store/DiagnosticLog.h"

#include <cstdio>
#include <cstdlib>

#include "platform/FileSystem.h"
#include "platform/SharedFile.h"
#include "store/Session.h"
#include "store/Settings.h"

namespace tb {

namespace {

bool AppendToErrorLog(Session& s, const std::string& line) {
  // Error.log takes no lock: it is the file of last resort.
  const std::string path = s.common.RootFolder + "Error.log";
  return AppendToFile(path, "LD99 Log locked?\r\n" + line + "\r\n");
}

}  // namespace

std::string LogLine(const Session& s, const std::string& text) {
  return FormatDateTime("yymmdd hh:nn:ss.zzz", s.clock.Now()) + " " + s.common.UserName + " " +
         s.common.ComputerName + " " + text + "\r\n";
}

bool WriteLog(Session& s, const std::string& text) {
  const std::string line = LogLine(s, text);
  const std::string& path = s.common.LogPath;
  SharedFile log;
  if (FileExists(path)) {
    if (log.OpenReadWriteDenyWriters(path) != SharedFile::Result::Ok) {
      if (AppendToErrorLog(s, line)) return false;
      s.dialogs.Beep();
      s.dialogs.Message("Cannot write to " + s.common.RootFolder + "Error.log" + "\r" +
                            "File Locked? Check permissions?",
                        MsgIcon::Error, MsgButton::Abort | MsgButton::Help, 1015);
      return false;
    }
  } else if (log.OpenOrCreateDenyWriters(path) != SharedFile::Result::Ok) {
    s.dialogs.Beep();
    s.dialogs.Message("Cannot write to " + path + "\r" + "Check folder permissions", MsgIcon::Error,
                      MsgButton::Abort | MsgButton::Help, 1015);
    return false;
  }
  const bool ok = log.AppendLine(line);
  log.Close();
  return ok;
}

void RotateLog(Session& s) {
  const std::string& path = s.common.LogPath;
  const int64_t size = FileSizeOf(path);
  if (size <= kLogRotateSize) return;

  const std::string root = s.common.RootFolder;
  const TDateTime today = s.clock.Today();
  auto fail = [&s]() {
    s.dialogs.Message("QZ1015 Cannot write to root folder", MsgIcon::Error, MsgButton::Abort | MsgButton::Help,
                      1015);
    ExitNow(s);
  };

  const std::string name = ExtractFileName(path);
  const size_t dot = name.rfind('.');
  const std::string dated = name.substr(0, dot) + "-" + FormatDateTime("yymmdd", today) + name.substr(dot);
  // A generation of today already there: keep growing until a later day.
  if (!FileExists(root + dated)) {
    if (!RenameFileAt(path, root + dated)) fail();
    WriteLog(s, "Diagnostic Log exceeds 300K. Renamed to " + dated);
  }

  for (const std::string& old : ListFiles(root, "Cotlyn*.log")) {
    if (old.size() <= 16) continue;
    const size_t hyphen = old.find('-');
    if (hyphen == std::string::npos || hyphen + 7 > old.size()) continue;
    const TDateTime when = ParseYYMMDD(old.substr(hyphen + 1, 6));
    if (when == 0) continue;
    if (today - when > 240) {
      if (!DeleteFileAt(root + old)) fail();
      WriteLog(s, "Deleted log file (>240 days old): " + old);
    }
  }
}

void FatalError(Session& s, const std::string& text, int code) {
  if (s.stopRefreshTimer) s.stopRefreshTimer();
  s.dialogs.Beep();
  s.dialogs.Message(text, MsgIcon::Error, MsgButton::Abort | MsgButton::Help, code);
  ExitNow(s);
}

void ExitNow(Session& s) {
  s.exitProcess(kFatalExitCode);
  std::abort();  // an exit function that returns is a programming error
}

}  // namespace tb

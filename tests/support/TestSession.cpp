#include "support/TestSession.h"

#include "platform/FileSystem.h"
#include "store/Settings.h"

namespace tb::test {

TestSession::TestSession(TDateTime now)
    : clock(now),
      registry("HKEY_CURRENT_USER", dir.Path() + "HKCU.reg"),
      session(clock, dialogs, registry, runner) {
  session.exitProcess = [](int code) { throw ProcessExit(code); };
  ForceDirectories(Root());
  session.common.RootFolder = Root();
  session.common.SettingsPath = Root() + "Cotlyn.ini";
  session.common.LogPath = Root() + "Cotlyn.log";
  session.common.UsersPath = Root() + "$users.txt";
  session.common.TempFolder = dir.Path() + "tmp/";
  ForceDirectories(session.common.TempFolder);
  session.common.UserName = "tester";
  session.common.ComputerName = "testpc";
}

std::string TestSession::WriteSettings(const std::string& text) {
  std::string crlf;
  for (char c : text) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  return dir.Write("root/Cotlyn.ini", crlf);
}

void TestSession::Load(const std::string& text) {
  WriteSettings(text);
  LoadSettings(session);
}

void TestSession::JoinRoot(const TestSession& other) {
  const std::string temp = session.common.TempFolder;
  session.common = other.session.common;
  session.common.TempFolder = temp;
  LoadSettings(session);
  session.SeasonYear = other.session.SeasonYear;
  session.CurrentProperty = other.session.CurrentProperty;
}

std::string SimpleSettings(int properties, const std::string& extraCommon) {
  std::string s = "[Common]\nver=V4.4\nNumProps=" + std::to_string(properties) + "\n" + extraCommon;
  for (int n = 1; n <= properties; ++n) {
    char sec[24];  // room for any int, which the compiler checks
    std::snprintf(sec, sizeof sec, "[Prop%02d]\n", n);
    s += sec;
    s += "PropName=Prop " + std::to_string(n) + "\n";
  }
  return s;
}

}  // namespace tb::test

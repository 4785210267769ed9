// Which settings file CotlynConfig opens, and the program ending on a bad start.

#include <gtest/gtest.h>

#include "config/ConfigStart.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

namespace tb::test {
namespace {

TEST(ConfigStart, FindsTheSettingsFileFromTheCommandLineOrLocalIni) {
  TempDir dir;
  const std::string root = dir.Path() + "root/";
  dir.Write("root/Cotlyn.ini", "[Common]\r\nNumProps=0\r\n");
  ForceDirectories(dir.Path() + "empty");
  struct Case {
    std::vector<std::string> args;
    std::string localRoot;  // "RootFolder" in Local.ini
    std::string path, error;
  };
  const std::string usage = "\rUse: CotlynConfig C [root folder/]";
  const Case cases[] = {
      {{"C", root}, "", root + "Cotlyn.ini", ""},
      {{"C", dir.Path() + "root"}, "", root + "Cotlyn.ini", ""},
      {{root}, "", root + "Cotlyn.ini", ""},
      {{"C"}, root, root + "Cotlyn.ini", ""},
      {{}, dir.Path() + "root", root + "Cotlyn.ini", ""},
      {{"C"}, "", "", "Root folder not set in Local.ini\rUse: CotlynConfig C root folder/"},
      {{"C", dir.Path() + "none/"}, "", "", "No root folder: " + dir.Path() + "none/"},
      {{"C", dir.Path() + "empty/"}, "", "", "Settings file not found: " + dir.Path() + "empty/Cotlyn.ini"},
      {{"C", root, "extra"}, "", "", "Invalid parameters" + usage},
  };
  for (const Case& c : cases) {
    bool asked = false;
    const ConfigStart start = FindSettingsFile(c.args, [&]() {
      asked = true;
      return c.localRoot;
    });
    EXPECT_EQ(start.settingsPath, c.path) << c.args.size();
    EXPECT_EQ(start.error, c.error) << c.args.size();
    // Local.ini is read (and perhaps made) only when the root folder is not given.
    EXPECT_EQ(asked, c.args.empty() || c.args == std::vector<std::string>{"C"});
  }
}

TEST(ConfigProgram, ARootFolderWithoutSettingsIsReportedWithExitCode1) {
  TempDir dir;
  ForceDirectories(dir.Path() + "root");
  const std::string text = "Settings file not found: " + dir.Path() + "root/Cotlyn.ini";
  ChildProcess p = ChildProcess::Run(
      ProgramPath("CotlynConfig"), {"C", dir.Path() + "root/"},
      {"COTLYN_NONINTERACTIVE=1", "QT_QPA_PLATFORM=offscreen", "XDG_CONFIG_HOME=" + dir.Path() + "config"});
  EXPECT_EQ(p.exitCode, 1) << p.Errors();
  EXPECT_NE(p.Errors().find(ConsoleDialogs::Describe({text, MsgIcon::Error, MsgButton::OK}, MsgButton::OK)),
            std::string::npos)
      << p.Errors();
}

}  // namespace
}  // namespace tb::test

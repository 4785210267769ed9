// CotlynConfig: edits the settings file of a root folder. Cotlyn starts it as
// "CotlynConfig C [root folder/]" when it closes for configuration.

#include <QApplication>
#include <memory>
#include <string>
#include <vector>

#include "config/ConfigModel.h"
#include "config/ConfigStart.h"
#include "config/forms/TConfigForm.h"
#include "platform/Dialogs.h"
#include "platform/PathText.h"
#include "platform/SystemInfo.h"
#include "platform/forms/QtDialogs.h"
#include "store/LocalIni.h"

using namespace tb;

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("CotlynConfig"));
  std::unique_ptr<Dialogs> dialogs;
  if (NonInteractiveRun()) dialogs = std::make_unique<ConsoleDialogs>(ConsoleDialogs::FromEnvironment());
  else dialogs = std::make_unique<QtDialogs>([](int) {});  // no box of ours has help

  const std::vector<std::string> args(argv + 1, argv + argc);
  const ConfigStart start =
      FindSettingsFile(args, []() { return ReadLocalIni(ProgramDataFolder() + "Local.ini").RootFolder; });
  ConfigModel model(PrivateTempFolder());
  std::string error = start.error;
  if (error.empty() && !model.Load(start.settingsPath)) error = "Cannot read " + PathText(start.settingsPath);
  if (!error.empty()) {
    dialogs->Message(error, MsgIcon::Error, MsgButton::OK);
    return 1;
  }
  TConfigForm form(model, *dialogs);
  form.show();
  return QApplication::exec();
}

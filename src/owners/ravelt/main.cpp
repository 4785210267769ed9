// Ravelt: shows the owner archive ("Owner-archive.bko") of a root folder, read only.
// Cotlyn starts it with the root folder as its argument; started by hand without one,
// it takes the root folder from Local.ini as Cotlyn finds it, else the current folder.

#include <QApplication>
#include <QTimer>
#include <memory>
#include <string>

#include "owners/forms/TArchiveViewForm.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/forms/QtDialogs.h"
#include "store/LocalIni.h"

using namespace tb;

namespace {

std::string RootFolder(int argc, char** argv) {
  std::string root = argc > 1 ? argv[1] : "";
  if (root.empty()) {
    // Read only: the viewer never writes, not even the key Cotlyn adds to Local.ini.
    IniFile local(ProgramDataFolder() + "Local.ini");
    local.Load();
    root = NativePath(local.ReadString("Common", "RootFolder", ""));
    if (!DirectoryExists(root)) root = ".";
  }
  return IncludeTrailingSlash(AbsolutePath(root));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Ravelt"));
  std::unique_ptr<Dialogs> dialogs;
  if (NonInteractiveRun()) dialogs = std::make_unique<ConsoleDialogs>(ConsoleDialogs::FromEnvironment());
  else dialogs = std::make_unique<QtDialogs>([](int) {});  // no box of ours has help

  TArchiveViewForm form(ReadArchiveForView(RootFolder(argc, argv)));
  form.show();
  const OwnerArchiveView& view = form.View();
  if (!view.problem.empty())
    QTimer::singleShot(0, &form, [&]() { dialogs->Message(view.problem, view.problemIcon, MsgButton::OK); });
  return QApplication::exec();
}

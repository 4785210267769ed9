// Cotlyn: the interactive program.

#include <QApplication>
#include <QTimer>
#include <cstdlib>
#include <cstdio>
#include <memory>
#include <unistd.h>

#include "app/BookingFileMode.h"
#include "app/ChartActions.h"
#include "app/CommandLine.h"
#include "app/Startup.h"
#include "app/Users.h"
#include "app/Version.h"
#include "app/forms/ScriptedKeys.h"
#include "app/forms/SingleInstance.h"
#include "app/forms/TMainForm.h"
#include "owners/OwnerHooks.h"
#include "bookings/forms/TBookForm.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"
#include "platform/forms/QtDialogs.h"
#include "store/LocalIni.h"
#include "store/Session.h"
#include "store/Settings.h"
#include "web/WebCommands.h"

using namespace tb;

namespace {

StartupEnvironment MachineEnvironment(int argc, char** argv) {
  StartupEnvironment env;
  for (int i = 1; i < argc; ++i) env.args.emplace_back(argv[i]);
  env.programFolder = ExecutableFolder();
  env.programPath = ExecutablePath();
  env.dataFolder = ProgramDataFolder();
  env.tempFolder = PrivateTempFolder();
  env.helpFolder = DirectoryExists(env.programFolder + "help/") ? env.programFolder + "help/"
                                                                : std::string(TENBROOK_SOURCE_HELP_DIR);
  env.computerName = ComputerName();
  env.userName = UserName();
  env.ipAddress = LocalIPAddress();
  env.os = KernelVersion();
  env.version = TENBROOK_VERSION;
  env.fullVersion = std::string(TENBROOK_FULL_VERSION) + " " +
                    FormatDateTime("ddddd hh:nn:ss", FileTimeAsDateTime(env.programPath));
  return env;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Cotlyn"));
  const StartupEnvironment env = MachineEnvironment(argc, argv);

  // "/A" starts the other properties' copies (each finds its own window) before it
  // looks for property 1's.
  const bool openAll = ParseCommandLine(env.args).openAll;
  if (!openAll &&
      SingleInstance::ActivateExisting(StartInstanceKey(env.args, ReadLocalIni(env.dataFolder + "Local.ini").RootFolder)))
    return 0;

  SystemClock clock;
  PosixProcessRunner processes;
  RegistryStore registry("HKEY_CURRENT_USER", ConfigFolder() + "HKCU.reg");
  const auto showHelp = [&processes, &env](int context) {
    processes.ShellOpen(HelpPagePath(env.helpFolder, context));
  };
  std::unique_ptr<Dialogs> dialogs;
  if (NonInteractiveRun()) dialogs = std::make_unique<ConsoleDialogs>(ConsoleDialogs::FromEnvironment());
  else dialogs = std::make_unique<QtDialogs>(showHelp);
  Session s(clock, *dialogs, registry, processes);
  // Start-up and fatal errors end the run at once, without closing windows.
  s.exitProcess = [](int code) {
    std::fflush(nullptr);
    _exit(code);
  };

  PrepareSession(s, env);
  InstallAgencyCalendarHook(s);
  const std::string instanceKey = InstanceKey(s.common.RootFolder, InstanceTitle(s));
  if (openAll && SingleInstance::ActivateExisting(instanceKey)) return 0;

  if (s.AppState == 'F') {
    // Booking-file mode shows only the booking window, modal; closing it ends the run.
    // Like the main window it answers for its key before its start line is written, so
    // a start that comes after the line finds it.
    TBookForm* window = nullptr;
    SingleInstance instance;
    instance.Listen(instanceKey, [&window]() {
      if (!window) return;  // still starting: it comes up anyway
      window->showNormal();
      window->raise();
      window->activateWindow();
    });
    StartBookingFileMode(s);
    TBookForm form(s);
    window = &form;
    form.setWindowModality(Qt::ApplicationModal);
    form.OpenFile();
    form.show();
    app.exec();
    EndBookingFileMode(s);
    return 0;
  }

  // Titles, the chart and the menus show owners once the database is read.
  LoadOwnerDatabase(s);
  TMainForm mainForm(s, env);
  SingleInstance instance;
  instance.Listen(instanceKey, [&mainForm]() { mainForm.BringToFront(); });
  mainForm.ApplyPlacement();
  CheckUsersAtStart(s, env.ipAddress);
  mainForm.StartupChecked();
  if (s.common.Splash) mainForm.ShowSplash();
  LogStart(s, env);
  RegisterUser(s);
  mainForm.StartTimers();
  if (std::getenv("COTLYN_FIRST_PAINT")) {
    // Start-up measurements: once the window is on screen with its chart painted (the
    // rest of that paint, the margins in "M", comes first), say so and close as a user would.
    mainForm.onFirstPaint = [&mainForm]() {
      QTimer::singleShot(0, &mainForm, [&mainForm]() {
        std::printf("first paint\n");
        std::fflush(stdout);
        mainForm.close();
      });
    };
  }
  mainForm.show();  // the first show reads the data and draws the chart
  // Scripted keys are typed once the scripted booking is open; only in a run whose boxes
  // go to the console, so that nothing types into a window a person is using.
  const char* keyList = NonInteractiveRun() ? std::getenv("COTLYN_KEYS") : nullptr;
  const QString keys = QString::fromUtf8(keyList ? keyList : "");
  int openProperty = 0;
  TDateTime openDate = 0;
  if (const char* open = std::getenv("COTLYN_OPEN_BOOKING"); open && ParseOpenBooking(open, openProperty, openDate)) {
    QTimer::singleShot(0, &mainForm, [&]() {
      mainForm.OpenBooking(OpenBookingAt(s, openProperty, openDate));
      PressKeysLater(keys, 500);
    });
  } else {
    PressKeysLater(keys, 500);
  }
  return app.exec();
}

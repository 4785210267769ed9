// cotlynctl: the command-line front end for headless jobs.

#include <QApplication>
#include <iostream>
#include <memory>

#include "ctl/Ctl.h"
#include "platform/forms/QtPrintCanvas.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  // Qt starts only for a printed report, off screen: cotlynctl shows nothing and runs
  // from cron without a display.
  std::unique_ptr<QApplication> app;
  const tb::PdfCanvasMaker pdf = [&](const std::string& path) -> std::unique_ptr<tb::PrintCanvas> {
    if (!app) {
      qputenv("QT_QPA_PLATFORM", "offscreen");
      // Qt's notes about the desktop it runs without would mix with the messages of
      // the job; only its errors are written.
      qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << text.toStdString() << "\n";
      });
      app = std::make_unique<QApplication>(argc, argv);
    }
    return std::make_unique<tb::QtPrintCanvas>(path);
  };
  return tb::RunCtl(args, std::cout, std::cerr, pdf);
}

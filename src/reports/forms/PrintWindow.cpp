#include "reports/forms/PrintWindow.h"

#include <QWidget>

#include "platform/forms/QtPrintCanvas.h"
#include "reports/PrintPicture.h"
#include "reports/ReportPrinter.h"

namespace tb {

PrintCanvasFactory PrinterCanvas(QWidget* parent) {
  return [parent]() -> std::unique_ptr<PrintCanvas> { return std::make_unique<QtPrintCanvas>(parent); };
}

void PrintWindowImage(Session& s, QWidget& window, const PrintCanvasFactory& canvas, const std::string& title) {
  // Taken before any dialog can cover the window.
  const QImage image = window.grab().toImage();
  std::unique_ptr<PrintCanvas> target = canvas ? canvas() : nullptr;
  if (!target) return;
  ReportPrinter printer(s, *target);
  PrintPicture(printer, PictureFromImage(image), title);
}

}  // namespace tb

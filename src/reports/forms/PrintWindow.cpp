#include "reports/forms/PrintWindow.h"

#include <QWidget>

#include "platform/forms/QtPrintCanvas.h"
#include "reports/PrintPicture.h"
#include "reports/ReportPrinter.h"

namespace tb {

PrintCanvasFactory PrinterCanvas(QWidget* parent) {
  return [parent]() -> std::unique_ptr<PrintCanvas> { return std::make_unique<QtPrintCanvas>(parent); };
}

bool PrintImage(Session& s, const QImage& image, const PrintCanvasFactory& canvas, const std::string& title) {
  std::unique_ptr<PrintCanvas> target = canvas ? canvas() : nullptr;
  if (!target) return false;
  ReportPrinter printer(s, *target);
  return PrintPicture(printer, PictureFromImage(image), title);
}

bool PrintWindowImage(Session& s, QWidget& window, const PrintCanvasFactory& canvas, const std::string& title) {
  // Taken before the print dialog can cover the window.
  return PrintImage(s, window.grab().toImage(), canvas, title);
}

}  // namespace tb

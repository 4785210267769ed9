#include "reports/forms/PrintWindow.h"

#include <QPrinter>
#include <QWidget>

#include "platform/forms/QtPrintCanvas.h"
#include "reports/PrintPicture.h"
#include "reports/ReportPrinter.h"

namespace tb {

std::shared_ptr<QPrinter> NewPrinter() { return std::make_shared<QPrinter>(QPrinter::HighResolution); }

PrintCanvasFactory PrinterCanvas(QWidget* parent, std::shared_ptr<QPrinter> printer) {
  if (!printer) printer = NewPrinter();
  return [parent, printer]() -> std::unique_ptr<PrintCanvas> { return std::make_unique<QtPrintCanvas>(parent, printer); };
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

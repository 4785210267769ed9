#pragma once
// "Print copy" / "Print Form": an image of a window on paper, titled with its caption.

#include <functional>
#include <memory>
#include <string>

class QImage;
class QPrinter;
class QWidget;

namespace tb {

class PrintCanvas;
class Session;

// Where a window prints: a printer chosen in the print dialog, or (tests) a PDF file.
// Null when the user cancelled.
using PrintCanvasFactory = std::function<std::unique_ptr<PrintCanvas>()>;

// A printer set-up of its own, for a run.
std::shared_ptr<QPrinter> NewPrinter();
// The print dialog over `parent`, on the given printer set-up (a new one when null).
PrintCanvasFactory PrinterCanvas(QWidget* parent, std::shared_ptr<QPrinter> printer = nullptr);

// An image on paper, titled `title`; false when nothing was printed.
bool PrintImage(Session& s, const QImage& image, const PrintCanvasFactory& canvas, const std::string& title);
// The window as it is on screen.
bool PrintWindowImage(Session& s, QWidget& window, const PrintCanvasFactory& canvas, const std::string& title);

}  // namespace tb

#include "reports/PrintPicture.h"

#include <algorithm>

#include "platform/Format.h"
#include "reports/ReportPrinter.h"

namespace tb {

bool PrintPicture(ReportPrinter& printer, const Picture& picture, const std::string& title) {
  if (!picture.Valid()) return false;
  if (!printer.BeginPrintJob(picture.height > picture.width ? 'P' : 'L', title)) return false;
  PrintCanvas& canvas = printer.canvas;

  canvas.SetFont({"Arial", 12, false});
  const int margin = printer.Mm(10);
  const int gap = printer.Mm(2);
  const int titleHeight = canvas.TextHeight(title);
  const int pageWidth = canvas.PageWidth();
  const int areaTop = margin + titleHeight + gap;
  const double roomX = pageWidth - 2.0 * margin;
  const double roomY = canvas.PageHeight() - margin - areaTop;

  // On paper as large as on the screen, unless that would not fit.
  double width = picture.width * static_cast<double>(canvas.DpiX()) / kScreenDpi;
  double height = picture.height * static_cast<double>(canvas.DpiY()) / kScreenDpi;
  const double fit = std::max(0.0, std::min({1.0, roomX / width, roomY / height}));
  width *= fit;
  height *= fit;

  const int w = static_cast<int>(RoundHalfEven(width));
  const int h = static_cast<int>(RoundHalfEven(height));
  const int left = (pageWidth - w) / 2;
  const int top = areaTop + static_cast<int>((roomY - h) / 2);
  canvas.DrawText(std::max(0, (pageWidth - canvas.TextWidth(title)) / 2), top - gap - titleHeight, title);
  canvas.DrawPicture(picture, {left, top, left + w, top + h});
  canvas.FrameRect({left - 2, top - 2, left + w + 2, top + h + 2}, 2, kBlack);
  printer.EndPrintJob();
  return true;
}

}  // namespace tb

#include "reports/ReportPrinter.h"

#include <algorithm>
#include <cmath>

#include "platform/DateTime.h"
#include "platform/Format.h"
#include "store/Session.h"

namespace tb {

namespace {

// Below this the title is unreadable anyway; stopping here also ends the loop for a
// text too long to fit at any size.
constexpr int kSmallestTitlePoints = 4;

}  // namespace

ReportPrinter::ReportPrinter(Session& session, PrintCanvas& printCanvas) : canvas(printCanvas), session_(session) {}

int ReportPrinter::Mm(double mm) const { return static_cast<int>(RoundHalfEven(mm * ppmm)); }

int ReportPrinter::MmTrunc(double mm) const { return static_cast<int>(std::trunc(mm * ppmm)); }

bool ReportPrinter::BeginPrintJob(char orientation, const std::string& title) {
  if (canvas.Busy()) {
    session_.dialogs.Message("Printer in use. Close it.", MsgIcon::Warning, MsgButton::OK);
    return false;
  }
  if (!canvas.Begin(title, orientation != 'P')) return false;
  const int dpi = canvas.DpiY();
  ppmm = dpi / 25.4;
  rowHeight = dpi / 5;
  y = 0;
  pageNumber_ = 1;
  PrintPageHeader();
  return true;
}

void ReportPrinter::NewPage() {
  canvas.NewPage();
  ++pageNumber_;
  PrintPageHeader();
}

void ReportPrinter::EndPrintJob() { canvas.End(); }

void ReportPrinter::AbortPrintJob() { canvas.Abort(); }

void ReportPrinter::PrintPageHeader() {
  canvas.SetFont({"Times New Roman", 8, false});
  const int top = MmTrunc(1);
  canvas.DrawText(MmTrunc(10), top, "Page " + std::to_string(pageNumber_));
  const TDateTime now = session_.clock.Now();
  const std::string printed = "Printed " + ShortDateText(now) + " " + LongTimeText(now);
  canvas.DrawText(canvas.PageWidth() - Mm(10) - canvas.TextWidth(printed), top, printed);
}

void ReportPrinter::PrintTitle(const std::string& text) {
  PrintFont font = canvas.Font();
  font.pointSize = 14;
  font.bold = true;
  canvas.SetFont(font);
  const int room = canvas.PageWidth() - Mm(20);
  while (canvas.TextWidth(text) > room && font.pointSize - 2 >= kSmallestTitlePoints) {
    font.pointSize -= 2;
    canvas.SetFont(font);
  }
  const int x = static_cast<int>(std::trunc((canvas.PageWidth() - canvas.TextWidth(text)) / 2.1));
  canvas.DrawText(x, Mm(8), text);
}

void ReportPrinter::PrintCell(int x1, int x2, int cellTop, const std::string& text, Rgb colour, char alignment) {
  const PixelRect box{x1, cellTop, x2 + 1, cellTop + rowHeight + 1};
  canvas.FillRect(box, colour);
  canvas.FrameRect(box, Mm(0.1), kBlack);

  const int spare = (x2 - x1) - canvas.TextWidth(text);
  int offset = MmTrunc(1);  // 'L'
  if (alignment == 'C') {
    offset = spare < 3 ? static_cast<int>(std::trunc(ppmm / 3)) : static_cast<int>(RoundHalfEven(spare / 2.0));
  } else if (alignment == 'R') {
    // A text that fits but has less than a millimetre to spare would start left of
    // the cell and lose its first letters to the clip; it starts at the edge instead.
    offset = spare > 2 ? std::max(spare - MmTrunc(1), 0) : 3;
  }
  canvas.DrawText(x1 + offset, cellTop + Mm(0.3), text, PixelRect{x1, cellTop, x2, cellTop + rowHeight});
}

void ReportPrinter::PrintRule(int x1, int x2, int& ruleY) {
  const int pen = Mm(0.33);
  canvas.Line({x1, ruleY}, {x2, ruleY}, pen, kBlack);
  ruleY += static_cast<int>(RoundHalfEven(pen / 2.0));
}

}  // namespace tb

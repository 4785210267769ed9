#include "reports/OverduePrint.h"

#include <iterator>
#include <string>

#include "platform/DateTime.h"
#include "reports/ReportPrinter.h"

namespace tb {

namespace {

constexpr const char* kTitle = "Overdue Payments List";
// A text stops this far short of the next cell's left edge.
constexpr double kCellGap = 1.2;
constexpr double kTopMm = 20;
constexpr double kFootMm = 20;

struct Cell {
  double left, right;  // millimetres from the page's left edge
};
constexpr Cell kHeadingCells[] = {{14, 52}, {52, 60}, {60, 80}, {80, 124}, {124, 204}};
constexpr const char* kHeadings[] = {"Property", "Rec", "Let starts", "Name", "Comment"};
constexpr Cell kRowCells[] = {{10, 16}, {16, 52}, {52, 60}, {60, 80}, {80, 124}, {124, 204}};

void Text(ReportPrinter& p, const Cell& cell, const std::string& text) {
  const int left = p.Mm(cell.left);
  p.canvas.DrawText(left, p.y, text, PixelRect{left, p.y, p.Mm(cell.right - kCellGap), p.y + p.rowHeight});
}

}  // namespace

bool PrintOverdueList(ReportPrinter& p, const std::vector<OverdueRow>& rows) {
  if (!p.BeginPrintJob('P', kTitle)) return false;
  p.PrintTitle(kTitle);
  PrintFont font = p.canvas.Font();  // the title's, still bold
  font.pointSize = 10;
  p.canvas.SetFont(font);
  p.y = p.Mm(kTopMm);
  for (size_t c = 0; c < std::size(kHeadings); ++c) Text(p, kHeadingCells[c], kHeadings[c]);
  p.y += p.rowHeight;
  font.bold = false;
  p.canvas.SetFont(font);
  const int foot = p.canvas.PageHeight() - p.Mm(kFootMm);
  for (const OverdueRow& r : rows) {
    if (p.y + p.rowHeight > foot) {
      p.NewPage();
      p.y = p.Mm(kTopMm);
      p.canvas.SetFont({"Arial", 10, false});
    }
    const std::string texts[] = {std::to_string(r.prop), r.propName,           std::to_string(r.rec),
                                 SortableDateText(r.start), r.surname + ", " + r.firstName, r.reason};
    for (size_t c = 0; c < std::size(kRowCells); ++c) Text(p, kRowCells[c], texts[c]);
    p.y += p.rowHeight;
  }
  p.EndPrintJob();
  return true;
}

}  // namespace tb

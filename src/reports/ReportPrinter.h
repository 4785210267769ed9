#pragma once
// The printed-report primitives every printed report is laid out with: the job, the
// page header, the title, a text cell and a rule, in printer pixels. Lengths given in
// millimetres become pixels through Mm (nearest, halves to even) or MmTrunc.

#include <string>

#include "platform/PrintCanvas.h"

namespace tb {

class Session;

class ReportPrinter {
 public:
  // session: the dialogs for the busy-printer warning and the clock for the header.
  ReportPrinter(Session& session, PrintCanvas& canvas);

  // orientation 'P' portrait, anything else landscape. False when the printer is busy
  // (after the warning) or the user cancelled the print dialog. On success the state
  // is set and the first page has its header.
  bool BeginPrintJob(char orientation, const std::string& title);
  // Starts the next page with its header.
  void NewPage();
  void EndPrintJob();
  void AbortPrintJob();

  // "Page n" at the top left and "Printed <date> <time>" at the top right.
  void PrintPageHeader();
  // Centred near the top, bold, made smaller until it fits between 10 mm margins.
  void PrintTitle(const std::string& text);
  // A framed cell from x1 to x2 (right edge drawn at x2 + 1), one row high from y,
  // filled with colour and holding text aligned 'L', 'C' or 'R', cut off at x2.
  void PrintCell(int x1, int x2, int y, const std::string& text, Rgb colour, char alignment);
  // A black line from x1 to x2 at y; y moves down by half its thickness.
  void PrintRule(int x1, int x2, int& y);

  int Mm(double mm) const;       // nearest pixel, halves to even
  int MmTrunc(double mm) const;  // fraction cut off
  int PageNumber() const { return pageNumber_; }

  PrintCanvas& canvas;
  // The state of the current job: pixels per millimetre (vertical resolution), the
  // row height of PrintCell and the report's current vertical position.
  double ppmm = 0;
  int rowHeight = 0;
  int y = 0;

 private:
  Session& session_;
  int pageNumber_ = 0;
};

}  // namespace tb

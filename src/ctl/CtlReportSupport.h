#pragma once
// What the cotlynctl report commands share: the properties a report window would
// select, and a printed report drawn into a PDF file.

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "ctl/Ctl.h"

namespace tb {

class CtlSession;
class ReportPrinter;
class Session;

struct CtlOptions;

// ROOT of a report command opened with --today, and its properties with their bookings
// read: --props as given, else every property but those named "Ruza Rorazed", as the
// report windows select them. A printed report is refused when there is no PDF maker;
// so are no properties and a booking file that cannot be read. Null on failure, with
// the reason on err and exitCode set.
std::unique_ptr<CtlSession> OpenCtlReport(const CtlOptions& o, bool printed, const PdfCanvasMaker& pdf,
                                          const std::string& usage, std::ostream& err, int& exitCode,
                                          std::vector<int>& properties);

// Reads the bookings of the properties; false when a file could not be read (its
// message shown): a report would show that property as empty.
bool ReadCtlBookings(CtlSession& ctl, const std::vector<int>& properties);

// Prints a report through a PDF canvas into a private work file, then puts the
// finished document in place in one step, so that a failed or cancelled run leaves
// the old file. `print` lays the report out and says whether it printed. Pages
// printed, or 0 after the message.
int PrintToPdf(CtlSession& ctl, const PdfCanvasMaker& pdf, const std::string& path,
               const std::function<bool(ReportPrinter&)>& print, std::ostream& err);

}  // namespace tb

#pragma once
// Printed reports of cotlynctl: the pages a report lays out, drawn into a PDF file.

#include <functional>
#include <ostream>
#include <string>

#include "ctl/Ctl.h"

namespace tb {

class ReportPrinter;
class Session;

// Runs print on a printer over a PDF canvas writing a private work file, then puts the
// finished document at path in one step, so that a failed or cancelled run leaves the
// old file. print returns false when the report ended without pages (it has said why).
// Pages printed, or 0 after the message.
int PrintToPdf(Session& s, const PdfCanvasMaker& pdf, const std::string& path,
               const std::function<bool(ReportPrinter&)>& print, std::ostream& err);

}  // namespace tb

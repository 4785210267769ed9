#pragma once
// cotlynctl: headless jobs on a root folder, for scripts and tests.

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace tb {

class PrintCanvas;

// A canvas that writes its pages to a PDF file at path. The engine has no drawing of
// its own: cotlynctl's main gives one on Qt; without one printed reports are refused.
using PdfCanvasMaker = std::function<std::unique_ptr<PrintCanvas>(const std::string& path)>;

// Runs one command; returns the process exit code (2 for a usage error).
int RunCtl(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const PdfCanvasMaker& pdf = {});

}  // namespace tb

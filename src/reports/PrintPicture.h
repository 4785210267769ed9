#pragma once
// Prints a captured window on one page: the orientation follows the picture's shape,
// the title stands above it, and the picture keeps its on-screen size where it fits.

#include <string>

#include "platform/PrintCanvas.h"

namespace tb {

class ReportPrinter;

// The resolution captured windows are drawn at.
inline constexpr int kScreenDpi = 96;

// Begins a job (its title is title too), prints the page and ends the job. False when
// the picture is empty or the job did not begin.
bool PrintPicture(ReportPrinter& printer, const Picture& picture, const std::string& title);

}  // namespace tb

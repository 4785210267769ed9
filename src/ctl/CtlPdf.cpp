#include "ctl/CtlPdf.h"

#include <cerrno>
#include <memory>

#include "platform/FileSystem.h"
#include "platform/PrintCanvas.h"
#include "reports/ReportPrinter.h"

namespace tb {

int PrintToPdf(Session& s, const PdfCanvasMaker& pdf, const std::string& path,
               const std::function<bool(ReportPrinter&)>& print, std::ostream& err) {
  const std::string work = WorkFileFor(path, "pdf");
  // Made private first: the printer keeps the permissions of a file it writes over.
  if (!WriteWholeFile(work, "", FileAccess::Private)) {
    err << "Cannot write " << path << ": " << SystemErrorText(errno) << "\n";
    return 0;
  }
  int pages = 0;
  {
    const std::unique_ptr<PrintCanvas> canvas = pdf(work);
    ReportPrinter printer(s, *canvas);
    if (print(printer)) pages = printer.PageNumber();
  }
  std::string document;
  const bool read = pages > 0 && ReadWholeFile(work, document) && !document.empty();
  DeleteFileAt(work);
  if (pages == 0) return 0;  // the report has said why
  if (!read) {
    err << "Cannot write " << path << ": the PDF was not made\n";
    return 0;
  }
  if (!WriteWholeFile(path, document, FileAccess::Private)) {
    err << "Cannot write " << path << ": " << SystemErrorText(errno) << "\n";
    return 0;
  }
  return pages;
}

}  // namespace tb

#include "ctl/CtlReportSupport.h"

#include <cerrno>

#include "ctl/CtlOptions.h"
#include "ctl/CtlSession.h"
#include "platform/FileSystem.h"
#include "platform/PrintCanvas.h"
#include "reports/ReportPrinter.h"
#include "store/BookingFile.h"
#include "store/Session.h"

namespace tb {

std::unique_ptr<CtlSession> OpenCtlReport(const CtlOptions& o, bool printed, const PdfCanvasMaker& pdf,
                                          const std::string& usage, std::ostream& err, int& exitCode,
                                          std::vector<int>& properties) {
  if (printed && !pdf) {
    err << "This build of cotlynctl cannot write PDF files\n";
    exitCode = 1;
    return nullptr;
  }
  auto ctl = OpenCtlRoot(o.positional[0], o.Get("--today"), usage, err, exitCode);
  if (!ctl) return nullptr;
  exitCode = 1;
  const std::string props = o.Get("--props");
  if (!props.empty()) {
    if (std::string unknown; !ctl->FindProperties(props, properties, unknown)) {
      err << "no such property: " << unknown << "\n";
      return nullptr;
    }
  } else {
    const Session& s = ctl->session();
    for (int n = 1; n <= s.NumProps(); ++n)
      if (n == 1 || s.Prop(n).PropName != "Ruza Rorazed") properties.push_back(n);
  }
  if (properties.empty()) {
    err << "No properties to report\n";
    return nullptr;
  }
  if (!ReadCtlBookings(*ctl, properties)) return nullptr;
  return ctl;
}

bool ReadCtlBookings(CtlSession& ctl, const std::vector<int>& properties) {
  // Nothing is held here, whatever the view mode: every list is read, the current
  // property's too.
  const size_t shown = ctl.Messages().size();
  for (const int n : properties) ReadBookings(ctl.session(), n, false, false);
  return ctl.Messages().size() == shown;
}

int PrintToPdf(CtlSession& ctl, const PdfCanvasMaker& pdf, const std::string& path,
               const std::function<bool(ReportPrinter&)>& print, std::ostream& err) {
  Session& s = ctl.session();
  const size_t shownBefore = ctl.Messages().size();
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
  if (pages == 0) {
    // The report has said why, unless the canvas itself could not begin.
    if (ctl.Messages().size() == shownBefore) err << "Cannot write " << path << ": the PDF was not made\n";
    return 0;
  }
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

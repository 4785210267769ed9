#include "web/WebForms.h"

#include "bookings/BookingDocuments.h"
#include "bookings/BookingEditor.h"
#include "platform/Escape.h"
#include "platform/FileSystem.h"
#include "platform/HttpGet.h"
#include "platform/PathText.h"
#include "store/BookingFile.h"
#include "store/DiagnosticLog.h"
#include "store/Session.h"
#include "web/UploadToHelper.h"
#include "web/WebFormData.h"

namespace tb {

namespace {

// The web site sees the program by its file's name.
const char* const kAgent = "Cotlyn";
// A form is a page of a few KB; past this, something else is answering.
constexpr size_t kPageLimit = 4 << 20;
constexpr long kRedirects = 5;
constexpr long kStallSeconds = 30;
constexpr int kDownloadHelp = 1230;

std::string LowerAscii(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

HttpAnswer Fetch(const std::string& url, size_t limit) {
  return HttpGet(url, kAgent, limit, kRedirects, kStallSeconds);
}

// Why an answer is not the whole page, for the log.
std::string Failure(const HttpAnswer& a) {
  if (a.cut) return "longer than " + std::to_string(kPageLimit) + " bytes";
  if (a.code != CURLE_OK) return a.error;
  return "status " + std::to_string(a.status);
}

// The data file's lines when the site has form data for this booking. A file longer
// than the limit is read up to it.
std::vector<std::string> FetchFormData(const std::string& url) {
  const HttpAnswer a = Fetch(url, kFormTextLimit);
  if (a.status != 200 || (a.code != CURLE_OK && !a.cut)) return {};
  return FormDataLines(a.body, a.cut);
}

}  // namespace

WebFormPlace WebFormPlaceOf(const Session& s, int n, TDateTime start, const std::string& surname) {
  WebFormPlace p;
  p.name = BookingFormName(start, surname);
  std::string folder = s.common.FormData;
  if (!folder.empty() && folder.back() != '/') folder += '/';
  p.base = folder + "P" + std::to_string(n) + "-" + FormUrlEncoded(LowerAscii(p.name));
  p.localPath = BookingFormsFolder(s, n) + FileNamePart(p.name) + ".htm";
  return p;
}

WebFormDownload DownloadWebForm(Session& s, int n, TDateTime start, const std::string& surname) {
  WebFormDownload d;
  d.place = WebFormPlaceOf(s, n, start, surname);
  const std::string url = d.place.PageUrl();
  const HttpAnswer page = Fetch(url, kPageLimit);
  if (page.code == CURLE_OK && (page.status == 404 || page.status == 410)) {
    d.outcome = WebFormOutcome::NotFound;
    return d;
  }
  if (page.code != CURLE_OK || page.status != 200) {
    WriteLog(s, "Web form download failed. URL=" + UrlForLog(url) + " " + Failure(page));
    d.outcome = WebFormOutcome::InternetProblem;
    return d;
  }
  if (HoldsNotFoundText(page.body)) {
    d.outcome = WebFormOutcome::NotFound;
    return d;
  }
  // Written whole or not at all: a form cut short would be found and opened next time.
  ForceDirectories(ExtractFilePath(d.place.localPath));
  if (!WriteWholeFile(d.place.localPath, page.body)) {
    d.outcome = WebFormOutcome::NotWritten;
    return d;
  }
  d.outcome = WebFormOutcome::Downloaded;
  d.mergeAsked = s.common.Merge;
  if (d.mergeAsked) d.data = FetchFormData(d.place.DataUrl());
  return d;
}

bool ReportWebFormDownload(Session& s, const WebFormDownload& d) {
  const std::string base = UrlForLog(d.place.base);
  switch (d.outcome) {
    case WebFormOutcome::InternetProblem:
      s.dialogs.Message("Internet problem. Check connection\rCannot download file " + base + ".htm", MsgIcon::Error,
                        MsgButton::Abort | MsgButton::Help, kDownloadHelp);
      return false;
    case WebFormOutcome::NotFound:
      s.dialogs.Message("File not found on server at " + base + ".htm", MsgIcon::Error,
                        MsgButton::Abort | MsgButton::Help, kDownloadHelp);
      return false;
    case WebFormOutcome::NotWritten:
      CannotWriteFileMessage(s, d.place.localPath);
      return false;
    case WebFormOutcome::Downloaded:
      break;
  }
  std::string text = "Form downloaded: " + PathText(d.place.localPath) + "\r";
  if (d.mergeAsked) {
    text += d.HasData() ? std::string("Form data found - will merge into record")
                        : "WARNING. No data found: " + base + ".txt" + "\r" + "Cannot merge data";
  }
  s.dialogs.Message(text + "\r" + "Form will now be opened", MsgIcon::Information, MsgButton::OK);
  return true;
}

WebFormDownload TryToDownloadForm(Session& s, int n, BookingFields& f) {
  WebFormDownload d = DownloadWebForm(s, n, f.form.startD, f.form.surname);
  if (ReportWebFormDownload(s, d) && d.HasData()) {
    MergeFormData(f, d.data);
    d.merged = true;
  }
  return d;
}

}  // namespace tb

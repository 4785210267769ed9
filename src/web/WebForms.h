#pragma once
// Booking forms customers send through the user's web site. The site keeps each form
// as a page (and, when it can, a data file) in the folder FormData names; "Try to
// download" fetches a booking's page into the property's "Booking Forms/" folder and,
// with Merge set, its data for the booking window's empty fields.

#include <string>
#include <vector>

#include "platform/DateTime.h"

namespace tb {

class Session;
struct BookingFields;

// Where one booking's form is.
struct WebFormPlace {
  std::string name;       // start as "yymmdd" + the trimmed surname (Windows-1252)
  std::string base;       // FormData + "/" when missing + "P<n>-" + the name in lower case, URL-encoded
  std::string localPath;  // the property's "Booking Forms/" + name + ".htm" (native)
  std::string PageUrl() const { return base + ".htm"; }
  std::string DataUrl() const { return base + ".txt"; }
};
WebFormPlace WebFormPlaceOf(const Session& s, int n, TDateTime start, const std::string& surname);

enum class WebFormOutcome { Downloaded, NotFound, InternetProblem, NotWritten };

struct WebFormDownload {
  WebFormPlace place;
  WebFormOutcome outcome = WebFormOutcome::InternetProblem;
  bool mergeAsked = false;        // Merge is set, so the data file was asked for
  std::vector<std::string> data;  // the data file's lines when it was form data
  bool merged = false;            // the data went into the booking's fields
  bool HasData() const { return data.size() >= 2; }
};

// The page is stored only when the server answered 200 with the whole page and it is
// not a "not found" page of the server's own; it is written whole or not at all. A
// 404 or 410 is "not found"; any other failure (no answer, another status, a transfer
// cut short, a page past a few MB) an internet problem, logged with curl's reason.
// Nothing is shown.
WebFormDownload DownloadWebForm(Session& s, int n, TDateTime start, const std::string& surname);

// The message saying how the download went; true when the stored form is to be opened.
bool ReportWebFormDownload(Session& s, const WebFormDownload& d);

// "Try to download" for the booking whose fields are f (property n): the download, its
// message and, when the site had form data, the data merged into f (not saved: the
// user saves in the booking window).
WebFormDownload TryToDownloadForm(Session& s, int n, BookingFields& f);

}  // namespace tb

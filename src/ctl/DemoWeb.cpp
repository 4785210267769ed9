#include "ctl/DemoWeb.h"

#include "platform/Escape.h"
#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "web/AvailabilityPages.h"

namespace tb {

namespace {

// The page as a user would write it: the date line and the table body are the program's,
// the rest is theirs and stays as it is.
std::string DemoPage(const std::string& name) {
  const std::string title = HtmlEscape(name);
  return "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<meta charset=\"windows-1252\">\r\n<title>" + title +
         " - availability</title>\r\n<style>\r\nbody { font-family: sans-serif; }\r\n"
         "table { border-collapse: collapse; }\r\ntd, th { padding: 2px 8px; }\r\n"
         "tr.odd { background: #f4f4f4; }\r\ntr.sep td { font-weight: bold; background: #dde; }\r\n"
         "</style>\r\n</head>\r\n<body>\r\n<h1>" + title + "</h1>\r\n<p><i><!--PubDate-->\r\nNot yet published\r\n"
         "</i></p>\r\n<table>\r\n<tr><th>From</th><th>To</th><th>Week</th><th>Rate</th><th>Free</th>"
         "<th>Notes</th></tr>\r\n<!--RateLines-->\r\n</table>\r\n<p>Prices include linen and fuel.</p>\r\n"
         "</body>\r\n</html>\r\n";
}

constexpr const char* kDemoRow =
    "<tr class=\"@OE\"><td>@SD</td><td>@ED</td><td>@N</td><td>@R</td><td>@A</td><td>@C</td></tr>\r\n";

}  // namespace

std::string DemoWebFolder(int n) { return "Web/P" + std::to_string(n) + "/"; }

std::string WriteDemoWebFolder(const std::string& root, int n, const std::string& propertyName) {
  const std::string folder = root + DemoWebFolder(n);
  if (!ForceDirectories(folder)) return "Cannot create folder " + folder;
  if (!WriteWholeFile(folder + kDemoWebPage, DemoPage(propertyName)))
    return "Cannot write " + folder + kDemoWebPage;
  if (!WriteWholeFile(folder + kRowTemplateFile, kDemoRow)) return "Cannot write " + folder + kRowTemplateFile;
  return "";
}

}  // namespace tb

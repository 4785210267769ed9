#include "maintenance/ExportTemplate.h"

#include <cerrno>

#include "platform/Cp1252.h"
#include "platform/DateTime.h"
#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "platform/Text.h"
#include "store/Session.h"

namespace tb {

namespace {

const char* const kSeparator = "--Optional items - not currently exported--";
const char* const kCrLf = "\r\n";

// The item code of a line: its first two characters as a whole number ("7", "07",
// "-1"); false when they are not one.
bool ReadCode(std::string_view line, int& code) {
  std::string_view digits = line.substr(0, 2);
  bool negative = false;
  if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) {
    negative = digits[0] == '-';
    digits.remove_prefix(1);
  }
  if (digits.empty()) return false;
  int value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  code = negative ? -value : value;
  return true;
}

void AppendItems(std::string& out, const std::vector<ExportItem>& items) {
  for (const ExportItem& item : items) {
    if (item.code >= 0 && item.code < 10) out += '0';
    out += std::to_string(item.code) + " " + item.heading + kCrLf;
  }
}

std::string Stamp(const Session& s) {
  const TDateTime now = s.clock.Now();
  return ShortDateText(now) + " " + LongTimeText(now);
}

}  // namespace

bool ExportTemplate::Has(int code) const {
  for (const ExportItem& item : exported)
    if (item.code == code) return true;
  return false;
}

int ParseExportTemplate(std::string_view text, ExportTemplate& t) {
  t = ExportTemplate{};
  bool optional = false;
  int number = 0;
  for (const std::string& line : TextFileLines(text)) {
    ++number;
    if (!line.empty() && line[0] == ';') continue;
    if (line.compare(0, 3, "--O") == 0) {
      optional = true;
      continue;
    }
    ExportItem item;
    if (!ReadCode(line, item.code)) return number;
    if (line.size() > 3) item.heading = line.substr(3);
    (optional ? t.optional : t.exported).push_back(std::move(item));
  }
  return 0;
}

std::string ExportTemplateText(const ExportTemplate& t, const std::string& stamp) {
  std::string out = "; Export Template File. Last updated " + stamp + kCrLf;
  AppendItems(out, t.exported);
  out += std::string(kSeparator) + kCrLf;
  AppendItems(out, t.optional);
  return out;
}

std::string DefaultExportTemplateText() {
  // A guest list for mailings and the season's arrivals; the money, payment dates and
  // notes wait in the optional list.
  const ExportTemplate t{
      {{1, "Property"}, {2, "Arrival"}, {32, "Departure"}, {3, "Nights"}, {6, "Title"}, {7, "First names"},
       {5, "Surname"}, {8, "Address"}, {9, "Postcode"}, {10, "Phone"}, {11, "Email"}, {21, "Guests"},
       {4, "Total"}, {31, "Status"}},
      {{14, "Property No"}, {15, "Rent"}, {16, "Charge 1"}, {17, "Charge 2"}, {18, "Charge 3"},
       {19, "Deposit"}, {20, "Balance"}, {29, "Refund"}, {27, "Total less VAT"}, {28, "VAT"},
       {23, "Date booked"}, {24, "Deposit paid"}, {25, "Balance paid"}, {30, "Refund paid"},
       {22, "Source"}, {26, "Special instructions"}, {13, "Special"}, {12, "Comments"}}};
  return ExportTemplateText(t, "01/01/2026 00:00:00");
}

std::string TemplatesFolder(const Session& s) { return s.common.RootFolder + "Templates/"; }

std::string TemplatePath(const Session& s, const std::string& name) {
  return TemplatesFolder(s) + PathFromText(name) + ".xtf";
}

std::vector<std::string> TemplateNames(const Session& s) {
  std::vector<std::string> names;
  for (const std::string& file : ListFiles(TemplatesFolder(s), "*.xtf"))
    names.push_back(PathText(file.substr(0, file.size() - 4)));
  return names;
}

bool IsDefaultTemplate(const std::string& name) { return CompareText1252(Trim(name), kDefaultTemplate) == 0; }

bool LoadExportTemplate(Session& s, const std::string& name, ExportTemplate& t) {
  t = ExportTemplate{};
  const std::string path = TemplatePath(s, name);
  std::string text;
  if (!ReadWholeFile(path, text)) {
    s.dialogs.Beep();
    s.dialogs.Message("Export Template \"" + PathText(path) + "\" not found", MsgIcon::Error, MsgButton::Abort,
                      kExportTemplateHelp);
    return false;
  }
  const int bad = ParseExportTemplate(text, t);
  if (bad == 0) return true;
  s.dialogs.Beep();
  s.dialogs.Message("Export Template Error. File=\"" + PathText(path) + "\". Line=" + std::to_string(bad),
                    MsgIcon::Error, MsgButton::Abort, kExportTemplateHelp);
  return false;
}

std::string SaveExportTemplate(Session& s, const std::string& current, const ExportTemplate& t) {
  std::string name = IsDefaultTemplate(current) ? std::string() : current;
  for (;;) {
    if (!s.dialogs.InputQuery("Save Export list as template", "Enter template name (change if required):", name))
      return "";
    if (!IsDefaultTemplate(name)) break;
    s.dialogs.Message("Cannot alter default template", MsgIcon::Error, MsgButton::Retry);
  }
  name = Trim(name);
  if (name.empty()) return "";
  const std::string path = TemplatePath(s, name);
  ForceDirectories(TemplatesFolder(s));
  errno = 0;
  // The old file is copied rather than moved, so that a failed write leaves it in place.
  bool written = !FileExists(path) || CopyFileOverwrite(path, path.substr(0, path.size() - 4) + ".bak");
  if (written) written = WriteWholeFile(path, ExportTemplateText(t, Stamp(s)));
  if (!written) {
    const int reason = errno;
    s.dialogs.Message("Cannot write " + PathText(path) + "\r" + SystemErrorText(reason), MsgIcon::Error,
                      MsgButton::Abort);
    return "";
  }
  s.dialogs.Beep();
  return name;
}

bool DeleteExportTemplate(Session& s, const std::string& name) {
  const std::string path = TemplatePath(s, name);
  if (s.dialogs.Message("Delete current template = " + name + " ?", MsgIcon::Confirmation,
                        MsgButton::Yes | MsgButton::Cancel) != MsgButton::Yes)
    return false;
  errno = 0;
  if (!DeleteFileAt(path)) {
    const int reason = errno;
    s.dialogs.Message("Unable to delete " + PathText(path) + "\rError code:" + std::to_string(reason),
                      MsgIcon::Error, MsgButton::OK);
    return false;
  }
  s.dialogs.Message("Template " + PathText(path) + " deleted. Current template now first in list",
                    MsgIcon::Information, MsgButton::OK);
  return true;
}

std::string RenameExportTemplate(Session& s, const std::string& name) {
  std::string renamed = name;
  if (!s.dialogs.InputQuery("Rename current Template", "Enter new name:", renamed)) return "";
  renamed = Trim(renamed);
  if (renamed.empty() || renamed == name) return "";
  const std::string path = TemplatePath(s, name);
  if (IsDefaultTemplate(renamed) || !RenameFileAt(path, TemplatePath(s, renamed))) {
    s.dialogs.Message("Unable to rename " + PathText(path), MsgIcon::Error, MsgButton::OK);
    return "";
  }
  s.dialogs.Beep();
  return renamed;
}

}  // namespace tb

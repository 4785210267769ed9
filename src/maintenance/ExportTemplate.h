#pragma once
// Export templates (".xtf" in the root's "Templates/"): which columns the configurable
// bookings export writes, in which order and under which headings, and the items kept
// aside. Windows-1252 text, CR LF lines.

#include <string>
#include <string_view>
#include <vector>

namespace tb {

class Session;

struct ExportItem {
  int code = 0;         // 1..32; any other number writes nothing
  std::string heading;  // the column heading, as shown and exported
  bool operator==(const ExportItem&) const = default;
};

struct ExportTemplate {
  std::vector<ExportItem> exported;  // written, in this order
  std::vector<ExportItem> optional;  // kept for the user to drag back
  bool Has(int code) const;
  bool operator==(const ExportTemplate&) const = default;
};

inline constexpr int kExportTemplateHelp = 999;
inline constexpr const char* kDefaultTemplate = "default";

// Reads a template's text into t (emptied first). Returns 0, or the number (from 1) of
// the first line whose code does not read as a number; t then keeps what came before.
int ParseExportTemplate(std::string_view text, ExportTemplate& t);
// The file's text: the comment line with `stamp` (date and time), the exported items,
// the separator, the optional items; CR LF after each line.
std::string ExportTemplateText(const ExportTemplate& t, const std::string& stamp);
// The template the program installs.
std::string DefaultExportTemplateText();

std::string TemplatesFolder(const Session& s);  // root + "Templates/"
std::string TemplatePath(const Session& s, const std::string& name);
// The names (without ".xtf") of the templates in the folder, sorted.
std::vector<std::string> TemplateNames(const Session& s);
// True for "default" in any case: it cannot be overwritten.
bool IsDefaultTemplate(const std::string& name);

// Loads a template, showing the missing-file or bad-line error (help 999) on failure;
// t keeps the lines read before a bad one.
bool LoadExportTemplate(Session& s, const std::string& name, ExportTemplate& t);
// "Save Template": asks for the name (`current` proposed unless it is "default", which
// is refused and asked again), keeps an existing file as ".bak" and writes the new one.
// Returns the name saved under, or "" when cancelled or the write failed (said so).
std::string SaveExportTemplate(Session& s, const std::string& current, const ExportTemplate& t);
// Asks, deletes and says so; true when the file went.
bool DeleteExportTemplate(Session& s, const std::string& name);
// Asks for the new name and renames the file; the new name, or "" when nothing changed.
std::string RenameExportTemplate(Session& s, const std::string& name);

}  // namespace tb

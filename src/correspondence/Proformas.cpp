#include "correspondence/Proformas.h"

#include <strings.h>

#include "platform/FileSystem.h"
#include "platform/Format.h"
#include "platform/PathText.h"
#include "platform/Process.h"
#include "platform/SharedFile.h"
#include "platform/Text.h"
#include "store/Session.h"
#include "store/Settings.h"

namespace tb {

namespace {

constexpr int kProformaHelp = 785;
constexpr ProformaKind kKinds[] = {ProformaKind::Rtf, ProformaKind::Txt, ProformaKind::Htm};

void AddSection(const Session& s, std::vector<ProformaRow>& rows, const std::string& folder, const char* heading,
                bool propertySpecific) {
  std::vector<ProformaRow> files;
  for (int type = 1; type <= s.common.NLetters; ++type) {
    for (const ProformaKind kind : kKinds) {
      const std::string name = ProformaIn(folder, type, kind);
      if (name.empty()) continue;
      ProformaRow r;
      r.no = "L" + std::to_string(type);
      r.description = s.common.LetterDesc[static_cast<size_t>(type)];
      r.delivery = ProformaDelivery(kind);
      r.folder = folder;
      r.fileName = name;
      r.typeText = propertySpecific ? "Property specific" : "Shared";
      r.modified = FormatDateTime("dd/mm/yyyy", FileTimeAsDateTime(folder + name));
      r.type = type;
      r.kind = kind;
      r.propertySpecific = propertySpecific;
      files.push_back(std::move(r));
    }
  }
  if (files.empty()) return;
  ProformaRow head;
  head.heading = true;
  head.description = heading;
  rows.push_back(head);
  rows.insert(rows.end(), files.begin(), files.end());
}

// A number from 1 to NLetters, asked until given; false when cancelled.
bool AskProformaNumber(Session& s, const std::string& caption, int& number) {
  const std::string prompt = "Enter new proforma number: (1 to " + std::to_string(s.common.NLetters) + ")";
  std::string text;
  for (;;) {
    if (!s.dialogs.InputQuery(caption, prompt, text)) return false;
    const std::string t = Trim(text);
    if (!t.empty() && t.size() < 6 && t.find_first_not_of("0123456789") == std::string::npos) {
      number = std::stoi(t);
      if (number >= 1 && number <= s.common.NLetters) return true;
    }
    s.dialogs.Beep();
  }
}

}  // namespace

const char* ProformaExtension(ProformaKind kind) {
  switch (kind) {
    case ProformaKind::Rtf: return ".rtf";
    case ProformaKind::Txt: return ".txt";
    case ProformaKind::Htm: return ".htm";
  }
  return "";
}

const char* ProformaDelivery(ProformaKind kind) {
  switch (kind) {
    case ProformaKind::Rtf: return "Post";
    case ProformaKind::Txt: return "EMail";
    case ProformaKind::Htm: return "HTML";
  }
  return "";
}

std::string ProformaName(int type) { return "Prof-L" + std::to_string(type); }

std::string ProformaIn(const std::string& folder, int type, ProformaKind kind) {
  if (folder.empty()) return {};
  const std::vector<std::string> found = ListFiles(folder, ProformaName(type) + ProformaExtension(kind));
  return found.empty() ? std::string() : found.front();
}

std::string ProformaFolder(const Session& s, int n) {
  return n >= 1 && n <= s.NumProps() ? s.Prop(n).Folder + "Data/" : std::string();
}

ProformaFound FindProforma(const Session& s, int n, int type, bool email) {
  const std::string own = ProformaFolder(s, n);
  const std::string& root = s.common.RootFolder;
  const std::pair<std::string, ProformaKind> order[] = {
      {own, email ? ProformaKind::Htm : ProformaKind::Rtf},
      {own, email ? ProformaKind::Txt : ProformaKind::Rtf},
      {root, email ? ProformaKind::Htm : ProformaKind::Rtf},
      {root, email ? ProformaKind::Txt : ProformaKind::Rtf},
  };
  for (const auto& [folder, kind] : order) {
    const std::string name = ProformaIn(folder, type, kind);
    if (!name.empty()) return {folder + name, kind};
  }
  return {};
}

std::vector<ProformaRow> ProformaRows(const Session& s, int n) {
  std::vector<ProformaRow> rows;
  if (n >= 1) AddSection(s, rows, ProformaFolder(s, n), "----Property specific----", true);
  AddSection(s, rows, s.common.RootFolder, "----Shared Proformas----", false);
  return rows;
}

std::vector<std::string> ProformaWarnings(const std::vector<ProformaRow>& rows) {
  std::vector<std::string> warnings;
  for (const ProformaRow& r : rows) {
    if (r.heading || r.kind != ProformaKind::Htm) continue;
    const std::string text = ProformaIn(r.folder, r.type, ProformaKind::Txt);
    if (text.empty()) continue;
    warnings.push_back("Warning: Proforma Number " + std::to_string(r.type) + ": Both text and HTML Proformas exist." +
                       "\r" + "The HTML proforma gets preference when sending email, so proforma " +
                       PathText(r.folder + r.fileName) + " will be used" + "\r" +
                       "To avoid this message, delete one of the two proformas. The text proforma is " +
                       PathText(r.folder + text) + "\r" + "Read HELP");
  }
  return warnings;
}

bool OpenInWordProcessor(Session& s, const std::string& path, bool reportFailure) {
  const std::string& word = s.common.WordProc;
  if (word.empty()) return s.processes.ShellOpen(path);
  // The path is one argument, whatever it holds: no shell reads it.
  if (s.processes.Run(word, {path}, false) >= 0) return true;
  if (reportFailure)
    s.dialogs.Message("Error 1000. Cannot launch " + word, MsgIcon::Error, MsgButton::Abort | MsgButton::Help, 1000);
  return false;
}

void EditProforma(Session& s, const std::vector<ProformaRow>& rows, size_t row) {
  const ProformaRow& r = rows.at(row);
  if (r.heading) return;
  if (!r.propertySpecific) {
    for (const ProformaRow& other : rows) {
      // Named as the folder has it: "PROF-L1.RTF" there is the same proforma.
      if (!other.propertySpecific || other.heading || strcasecmp(other.fileName.c_str(), r.fileName.c_str()) != 0)
        continue;
      if (s.dialogs.Message("You selected shared proforma: " + r.fileName + "\r" +
                                "A property specific version exists (this is always used for this property)" + "\r" +
                                "Are you sure you want to edit the shared proforma?",
                            MsgIcon::Confirmation, MsgButton::Yes | MsgButton::Cancel) != MsgButton::Yes)
        return;
      break;
    }
  }
  const std::string path = r.folder + r.fileName;
  if (r.kind == ProformaKind::Rtf) OpenInWordProcessor(s, path, false);
  else s.processes.ShellOpen(path);
}

void EditProformaWithTextEditor(Session& s, const ProformaRow& row) {
  if (row.heading) return;
  // The application the desktop opens plain text with, started on the HTML file: the
  // desktop itself would open the file as a web page.
  std::string id;
  s.processes.Capture("xdg-mime", {"query", "default", "text/plain"}, id);
  id = Trim(id);
  const MsgButtons abortHelp = MsgButton::Abort | MsgButton::Help;
  if (id.empty()) {
    s.dialogs.Beep();
    s.dialogs.Message("Error 1005. FindExecutable error", MsgIcon::Error, abortHelp, 1005);
    return;
  }
  const std::string entry = DesktopEntryPath(id);
  if (entry.empty() || s.processes.Run("gio", {"launch", entry, row.folder + row.fileName}, true) != 0) {
    s.dialogs.Beep();
    s.dialogs.Message("Error 1005. Cannot launch " + PathText(entry.empty() ? id : entry), MsgIcon::Error, abortHelp,
                      1005);
  }
}

bool CopyProforma(Session& s, const ProformaRow& row, ProformaCopy how, int n) {
  if (row.heading) return false;
  const bool rename = how == ProformaCopy::Rename;
  const std::string target = rename ? row.folder
                             : how == ProformaCopy::Shared ? s.common.RootFolder
                                                           : ProformaFolder(s, n);
  if (target.empty()) return false;
  const std::string caption = rename ? "Rename " + row.fileName
                                     : "Copy " + row.fileName + " as " +
                                           (target == s.common.RootFolder ? "shared" : "property specific");
  int number = 0;
  if (!AskProformaNumber(s, caption, number)) return false;
  const std::string name = ProformaName(number) + ProformaExtension(row.kind);
  const std::string verb = rename ? "Rename" : "Copy";
  if (s.dialogs.Message(verb + " proforma " + PathText(row.folder + row.fileName) + " to " + PathText(target + name) +
                            "?",
                        MsgIcon::Confirmation, MsgButton::Yes | MsgButton::Cancel, kProformaHelp) != MsgButton::Yes)
    return false;
  // Never over a file that is there, whatever its case (another "PROF-L2.RTF").
  bool done = ProformaIn(target, number, row.kind).empty();
  if (done && rename) {
    done = RenameFileAt(row.folder + row.fileName, target + name);
  } else if (done) {
    std::string data;
    SharedFile made;
    done = ReadWholeFile(row.folder + row.fileName, data) &&
           made.CreateDenyWriters(target + name, data) == SharedFile::Result::Ok;
  }
  s.dialogs.Beep();
  if (!done)
    s.dialogs.Message(verb + " failed" + "\r" + "Target " + PathText(target + name) + " exists?", MsgIcon::Error,
                      MsgButton::Abort);
  return done;
}

bool DeleteProforma(Session& s, const ProformaRow& row) {
  if (row.heading) return false;
  const std::string path = row.folder + row.fileName;
  if (s.dialogs.Message("Delete proforma " + PathText(path) + "?", MsgIcon::Confirmation,
                        MsgButton::Yes | MsgButton::Cancel) != MsgButton::Yes)
    return false;
  s.dialogs.Beep();
  if (DeleteFileAt(path)) return true;
  s.dialogs.Message("Cannot delete " + PathText(path) + " Is it in use?", MsgIcon::Error, MsgButton::Abort);
  return false;
}

}  // namespace tb

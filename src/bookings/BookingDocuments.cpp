#include "bookings/BookingDocuments.h"

#include <algorithm>
#include <cctype>

#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "platform/Text.h"
#include "store/BookRec.h"
#include "store/Session.h"

namespace tb {

namespace {

std::string DayName(TDateTime start) { return FormatDateTime("yymmdd", start); }

bool StartsWithNoCase(const std::string& name, const std::string& prefix) {
  if (name.size() < prefix.size()) return false;
  return std::equal(prefix.begin(), prefix.end(), name.begin(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
  });
}

// The first file in folder whose name begins with prefix (a native name), or "".
std::string FirstStartingWith(const std::string& folder, const std::string& prefix) {
  for (const std::string& name : ListFiles(folder, "*"))
    if (StartsWithNoCase(name, prefix)) return name;
  return {};
}

std::string Extension(const std::string& name) {
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

}  // namespace

std::string FileNamePart(const std::string& text) {
  std::string out = text;
  std::replace(out.begin(), out.end(), '/', '_');
  out.erase(std::remove(out.begin(), out.end(), '\0'), out.end());
  return PathFromText(out);
}

std::string LetterFileName(TDateTime start, const std::string& surname, int type) {
  std::string part = Trim(surname).substr(0, 8);
  part.erase(std::remove(part.begin(), part.end(), '-'), part.end());
  return DayName(start) + "L" + std::to_string(type) + part;
}

std::string BookingFormsFolder(const Session& s, int n) { return s.Prop(n).Folder + "Booking Forms/"; }

std::string BookingFormName(TDateTime start, const std::string& surname) { return DayName(start) + Trim(surname); }

void RenameBookingDocuments(Session& s, int n, const Book_Rec& before, const Book_Rec& after) {
  if (n < 1 || n > s.NumProps()) return;
  const std::string letters = s.Prop(n).Folder + "Letters/";
  for (int type = 1; type <= s.common.NLetters; ++type) {
    const std::string from = letters + FileNamePart(LetterFileName(before.StartD, before.Surname, type));
    const std::string to = letters + FileNamePart(LetterFileName(after.StartD, after.Surname, type));
    if (from == to) continue;
    for (const char* ext : {".rtf", ".txt", ".htm"})
      if (FileExists(from + ext)) RenameFileAt(from + ext, to + ext);
  }
  const std::string forms = BookingFormsFolder(s, n);
  const std::string old =
      FirstStartingWith(forms, FileNamePart(DayName(before.StartD) + Trim(before.Surname).substr(0, 8)));
  if (old.empty()) return;
  const std::string renamed =
      FileNamePart(DayName(after.StartD) + Trim(after.Surname).substr(0, 99)) + Extension(old);
  if (renamed != old) RenameFileAt(forms + old, forms + renamed);
}

BookingFormLookup FindBookingForm(Session& s, int n, TDateTime start, const std::string& surname) {
  BookingFormLookup out;
  if (n < 1 || n > s.NumProps()) return out;
  if (TrimView(surname).empty()) {
    s.dialogs.Beep();
    s.dialogs.Message("Surname needed", MsgIcon::Error, MsgButton::Abort | MsgButton::Help, 284);
    return out;
  }
  out.ok = true;
  out.name = BookingFormName(start, surname);
  const std::string forms = BookingFormsFolder(s, n);
  const std::string found = FirstStartingWith(forms, FileNamePart(out.name.substr(0, 14)));
  if (!found.empty()) out.path = forms + found;
  return out;
}

bool AskToBrowseForForm(Session& s, const std::string& name) {
  return s.dialogs.Message("Booking Form " + name + " does not exist." + "\r" + "Browse for it?",
                           MsgIcon::Confirmation, MsgButton::Yes | MsgButton::No | MsgButton::Help,
                           284) == MsgButton::Yes;
}

std::string AdoptBookingForm(Session& s, int n, const std::string& chosen, const std::string& name) {
  const std::string forms = BookingFormsFolder(s, n);
  const std::string target = forms + FileNamePart(name) + Extension(ExtractFileName(chosen));
  ForceDirectories(forms);
  // A form saved from a browser is often on another disk or a share: moved, not renamed.
  if (!MoveFileAt(chosen, target)) {
    s.dialogs.Message("Unable to rename " + PathText(chosen) + " to " + PathText(target), MsgIcon::Error,
                      MsgButton::Abort);
    return {};
  }
  s.dialogs.Message("File " + PathText(chosen) + " renamed to " + PathText(target), MsgIcon::Information,
                    MsgButton::OK);
  return target;
}

void OpenBookingForm(Session& s, const std::string& path) {
  // The desktop's handler shows pictures in its picture viewer and opens the rest.
  s.processes.ShellOpen(path);
}

}  // namespace tb

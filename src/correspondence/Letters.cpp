#include "correspondence/Letters.h"

#include "bookings/BookingDocuments.h"
#include "bookings/BookingEditor.h"
#include "correspondence/LetterMerge.h"
#include "platform/FileSystem.h"
#include "platform/Format.h"
#include "platform/PathText.h"
#include "platform/Text.h"
#include "store/Session.h"

namespace tb {

namespace {

constexpr int kLetterHelp = 270;
constexpr ProformaKind kByPreference[] = {ProformaKind::Rtf, ProformaKind::Txt, ProformaKind::Htm};

// Reports a refusal: the message, and nothing was written.
LetterOutcome Refuse(Session& s, const std::string& text, MsgIcon icon, MsgButtons buttons, int help, bool beep) {
  if (beep) s.dialogs.Beep();
  s.dialogs.Message(text, icon, buttons, help);
  return LetterOutcome::Refused;
}

// An e-mail proforma whose first line holds "*OWNER*" goes to the property's owner; the
// line (ended by CR LF or a lone LF) is not part of the letter. No line break at all:
// not an owner proforma.
bool TakeOwnerLine(std::string& text) {
  const size_t lf = text.find('\n');
  if (lf == std::string::npos || text.substr(0, lf).find("*OWNER*") == std::string::npos) return false;
  text.erase(0, lf + 1);
  return true;
}

// The HTML body of a send that failed, kept for the user in the temporary folder.
void KeepDraft(Session& s, const std::string& body) {
  const std::string draft = s.common.TempFolder + "Draft.txt";
  if (s.common.TempFolder.empty() || !WriteWholeFile(draft, body, FileAccess::Private)) {
    s.dialogs.Message("Cannot write " + PathText(draft), MsgIcon::Error, MsgButton::Abort);
    return;
  }
  if (s.dialogs.Message("Draft email saved in Windows Temp Folder as Draft.txt\rReply YES to open in a text editor or "
                        "Abort to delete",
                        MsgIcon::Information, MsgButton::Yes | MsgButton::Abort) == MsgButton::Yes)
    s.processes.ShellOpen(draft);
  else
    DeleteFileAt(draft);
}

}  // namespace

std::string LetterPath(const Session& s, int n, TDateTime start, const std::string& surname, int type,
                       ProformaKind kind) {
  return s.Prop(n).Folder + "Letters/" + FileNamePart(LetterFileName(start, surname, type)) + ProformaExtension(kind);
}

std::vector<LetterRow> LetterRows(const Session& s, int n, TDateTime start, const std::string& surname,
                                  const std::string& email) {
  std::vector<LetterRow> rows;
  const bool noEmail = Trim(email).empty();
  // A booking file of no property has no letters folder to look in.
  const bool property = n >= 1 && n <= s.NumProps();
  for (int type = 1; type <= s.common.NLetters; ++type) {
    LetterRow r;
    r.type = type;
    r.no = "L" + std::to_string(type);
    r.description = s.common.LetterDesc[static_cast<size_t>(type)];
    r.status = "None";
    for (const ProformaKind kind : kByPreference) {
      const std::string path = property ? LetterPath(s, n, start, surname, type, kind) : std::string();
      if (!FileExists(path)) continue;
      r.defaultDelivery = kind == ProformaKind::Rtf ? "Post" : "EMail";
      r.status = kind == ProformaKind::Htm ? "Exists(htm)" : "Exists";
      r.modified = FormatDateTime("dd/mm/yyyy", FileTimeAsDateTime(path));
      break;
    }
    if (!r.Exists()) r.defaultDelivery = s.common.LetterEMail[static_cast<size_t>(type)] && !noEmail ? "EMail" : "Post";
    rows.push_back(std::move(r));
  }
  return rows;
}

int FirstRowToSelect(const std::vector<LetterRow>& rows) {
  int selected = -1;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].Exists()) selected = -1;
    else if (selected < 0) selected = static_cast<int>(i);
  }
  return selected;
}

bool OnlyPostPossible(const Session& s, const std::vector<LetterRow>& rows, const std::string& email) {
  if (!Trim(email).empty()) return false;
  bool anyEmail = false;
  for (const LetterRow& r : rows) {
    if (r.Exists()) return false;
    anyEmail = anyEmail || s.common.LetterEMail[static_cast<size_t>(r.type)];
  }
  return anyEmail;
}

LetterMenu LetterMenuFor(const LetterRow* row, const std::string& email) {
  LetterMenu m;
  if (!row) return m;
  const bool hasEmail = !Trim(email).empty();
  if (row->Exists()) {
    m.deleteLetter = m.recreatePost = true;
    m.recreateEmail = hasEmail;
  } else {
    m.createPost = true;
    m.createEmail = hasEmail;
  }
  return m;
}

bool AskRecreate(Session& s, int type, bool email) {
  return s.dialogs.Message("Recreate Letter " + std::to_string(type) + " (" +
                               s.common.LetterDesc[static_cast<size_t>(type)] + ") " +
                               (email ? "as EMail" : "as Postal letter") + "\r" +
                               "Are you sure? (Old letter will be deleted)",
                           MsgIcon::Confirmation, MsgButton::Yes | MsgButton::Cancel, kLetterHelp) != MsgButton::Cancel;
}

void OpenLetter(Session& s, const std::string& path) {
  if (path.size() > 4 && path.compare(path.size() - 4, 4, ".rtf") == 0) OpenInWordProcessor(s, path, true);
  else s.processes.ShellOpen(path);
}

std::string ExistingLetter(const Session& s, int n, TDateTime start, const std::string& surname, int type) {
  for (const ProformaKind kind : kByPreference) {
    const std::string path = LetterPath(s, n, start, surname, type, kind);
    if (FileExists(path)) return path;
  }
  return {};
}

bool DeleteLetter(Session& s, int n, TDateTime start, const std::string& surname, int type) {
  const std::string path = ExistingLetter(s, n, start, surname, type);
  if (path.empty()) {
    s.dialogs.Beep();
    s.dialogs.Message("Error 1080. No letter found", MsgIcon::Error, MsgButton::OK, 1080);
    return false;
  }
  if (s.dialogs.Message("Delete Letter " + std::to_string(type) + " (" +
                            s.common.LetterDesc[static_cast<size_t>(type)] + ")" + "\r" + "Are you sure?",
                        MsgIcon::Confirmation, MsgButton::Yes | MsgButton::Cancel, kLetterHelp) != MsgButton::Yes)
    return false;
  const bool deleted = DeleteFileAt(path);
  s.dialogs.Beep();
  if (!deleted) s.dialogs.Message("Cannot delete file " + PathText(path), MsgIcon::Error, MsgButton::OK);
  return deleted;
}

std::string ProformaNotFoundText(int type, bool email) {
  return std::string(email ? "Email" : "Postal") + " proforma " + ProformaName(type) +
         " not found in either Root or Property folder" + "\r" +
         "Cannot create letter.  Click HELP to read topic \"Managing Letter Proformas\"" + "\r" +
         "Then create a suitable proforma";
}

LetterTextResult MergeProforma(const Session& s, int n, const Book_Rec& r, const ProformaFound& proforma, bool email,
                               LetterText& out) {
  std::string text;
  if (!ReadWholeFile(proforma.path, text)) return LetterTextResult::Unreadable;
  const Prop_Rec& p = s.Prop(n);
  std::optional<Session::OwnerContact> owner;
  Session::OwnerContact contact;
  if (p.Owner != 0 && s.ownerContact && s.ownerContact(p.Owner, contact)) owner = contact;
  out.to = Trim(r.Email);
  if (email && TakeOwnerLine(text)) {
    if (!owner) return LetterTextResult::InvalidOwner;
    out.to = owner->email;
  }
  out.subject = LetterSubject(s, n, r);
  out.text = MergeLetter(text, LetterFields(s, n, r, proforma.kind, owner), proforma.kind);
  return LetterTextResult::Ok;
}

LetterOutcome CreateLetter(Session& s, BookingEditor& editor, int type, bool email, bool recreate,
                           LetterDelivery& delivery) {
  // Recreating is allowed in read-only mode: it saves nothing when nothing changed.
  if (!recreate && editor.ReadOnly())
    return Refuse(s, "Read-only mode: cannot create letter.", MsgIcon::Information, MsgButton::OK, 0, false);
  const BookingForm& form = editor.fields.form;
  if (TrimView(form.surname).empty())
    return Refuse(s, "No surname - cannot produce letter", MsgIcon::Information, MsgButton::OK, kLetterHelp, false);
  const int n = editor.Property();
  if (editor.Mode() == EditorMode::File || n < 1 || n > s.NumProps())
    return Refuse(s, "Cannot process letters - not a main booking file", MsgIcon::Information, MsgButton::OK,
                  kLetterHelp, false);
  const ProformaFound proforma = FindProforma(s, n, type, email);
  if (proforma.path.empty())
    return Refuse(s, ProformaNotFoundText(type, email), MsgIcon::Error, MsgButton::Abort | MsgButton::Help, 785, true);
  const bool html = proforma.kind == ProformaKind::Htm;
  const CommonSettings& c = s.common;
  if (html && (c.eAddr.empty() || c.eHost.empty() || c.eUser.empty() || c.ePC.empty()))
    return Refuse(s, "EMail client not configured correctly\rSee Help", MsgIcon::Error,
                  MsgButton::Abort | MsgButton::Help, 720, true);
  if (!editor.Save("LUNIT") || !editor.Node()) return LetterOutcome::Refused;

  const Book_Rec rec = editor.Node()->Rec;  // as saved
  LetterText merged;
  switch (MergeProforma(s, n, rec, proforma, email, merged)) {
    case LetterTextResult::Ok: break;
    case LetterTextResult::Unreadable:
      return Refuse(s, "Cannot read " + PathText(proforma.path), MsgIcon::Error, MsgButton::Abort, 0, false);
    case LetterTextResult::InvalidOwner:
      return Refuse(s, kInvalidOwnerText, MsgIcon::Error, MsgButton::Abort | MsgButton::Help, 1090, true);
  }
  std::string& letter = merged.text;
  const std::string& to = merged.to;
  const std::string& subject = merged.subject;

  if (html) {
    switch (delivery.SendHtml(to, subject, letter)) {
      case HtmlSendResult::Sent: break;
      case HtmlSendResult::Cancelled:
        s.dialogs.Beep();
        s.dialogs.Message("EMail cancelled - not sent.", MsgIcon::Information, MsgButton::OK);
        return LetterOutcome::Cancelled;
      case HtmlSendResult::Failed: KeepDraft(s, letter); return LetterOutcome::Failed;
    }
  } else if (email) {
    const int code = delivery.HandOver(to, subject, letter);
    if (code != 0) {
      s.dialogs.Beep();
      s.dialogs.Message("Error sending EMail.\rCheck email client is running\rError Code=" + std::to_string(code),
                        MsgIcon::Error, MsgButton::Abort);
      return LetterOutcome::Failed;
    }
    letter = "** Sent by eMail.  " + FormatDateTime("ddddd hh:nn", s.clock.Now()) + " **\r\n" +
             "** Note - text below was passed to mail client. It could have changed. **\r\n" + letter;
  }

  const std::string path = LetterPath(s, n, rec.StartD, rec.Surname, type, proforma.kind);
  // What a recreate replaces: the HTML letter, and the postal one or else the text one,
  // as they were before the new letter is written.
  std::vector<std::string> old;
  if (recreate) {
    const std::string rtf = LetterPath(s, n, rec.StartD, rec.Surname, type, ProformaKind::Rtf);
    old = {LetterPath(s, n, rec.StartD, rec.Surname, type, ProformaKind::Htm),
           FileExists(rtf) ? rtf : LetterPath(s, n, rec.StartD, rec.Surname, type, ProformaKind::Txt)};
  }
  if (!WriteWholeFile(path, letter))
    return Refuse(s, "Cannot write " + PathText(path), MsgIcon::Error, MsgButton::Abort, 0, false);
  // The old letter goes only now that the new one is written.
  for (const std::string& o : old)
    if (o != path) DeleteFileAt(o);
  if (proforma.kind == ProformaKind::Rtf) OpenLetter(s, path);
  else if (!html && !c.NoShowEM) s.processes.ShellOpen(path);
  return LetterOutcome::Created;
}

}  // namespace tb

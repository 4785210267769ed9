#pragma once
// The letters of a booking: one per letter type, stored in the property's "Letters/"
// folder as start "yymmdd" + "L" + type + the first 8 characters of the surname without
// "-", with ".rtf" (postal), ".txt" (plain-text e-mail) or ".htm" (HTML e-mail).

#include <string>
#include <vector>

#include "correspondence/LetterDelivery.h"
#include "correspondence/Proformas.h"
#include "platform/DateTime.h"

namespace tb {

class BookingEditor;
struct Book_Rec;
class Session;

// The letter file of a type and kind for a booking of property n.
std::string LetterPath(const Session& s, int n, TDateTime start, const std::string& surname, int type,
                       ProformaKind kind);

// A row of the letter window.
struct LetterRow {
  int type = 0;
  std::string no, description, defaultDelivery, status, modified;
  bool Exists() const { return status.rfind("Exists", 0) == 0; }
};
// The letter window's rows for the booking as it stands in the window (start date,
// surname, e-mail field).
std::vector<LetterRow> LetterRows(const Session& s, int n, TDateTime start, const std::string& surname,
                                  const std::string& email);
// The row selected on opening: the first without a letter after the last with one; -1
// for none.
int FirstRowToSelect(const std::vector<LetterRow>& rows);
// Whether the window tells that only post is possible (no e-mail address, no letter
// yet, and some type defaults to e-mail).
bool OnlyPostPossible(const Session& s, const std::vector<LetterRow>& rows, const std::string& email);

// The letter window's context menu for the selected row (none: everything off).
struct LetterMenu {
  bool createPost = false, createEmail = false, recreatePost = false, recreateEmail = false, deleteLetter = false;
};
LetterMenu LetterMenuFor(const LetterRow* row, const std::string& email);
// "Recreate Letter ...? (Old letter will be deleted)": true for Yes.
bool AskRecreate(Session& s, int type, bool email);

// Opens an existing letter: a postal one in the word processor, the others with the desktop.
void OpenLetter(Session& s, const std::string& path);
// The letter file a row's letter is, as it stands: ".rtf", else ".txt", else ".htm"; "".
std::string ExistingLetter(const Session& s, int n, TDateTime start, const std::string& surname, int type);

// "Delete Existing Letter": asks, deletes; true when deleted.
bool DeleteLetter(Session& s, int n, TDateTime start, const std::string& surname, int type);

// "Email"/"Postal proforma Prof-L<n> not found ...": what a letter without a proforma says.
std::string ProformaNotFoundText(int type, bool email);
inline constexpr const char* kInvalidOwnerText = "OWNER Proforma found but invalid owner.\rSee Help";

// A letter merged, before it is delivered.
struct LetterText {
  std::string to;       // the customer's e-mail address, or the owner's
  std::string subject;  // plain
  std::string text;
};
enum class LetterTextResult { Ok, Unreadable, InvalidOwner };
// Property n's booking `r` merged into its proforma. An e-mail proforma whose first
// line holds "*OWNER*" goes to the property's owner, without that line.
LetterTextResult MergeProforma(const Session& s, int n, const Book_Rec& r, const ProformaFound& proforma, bool email,
                               LetterText& out);

enum class LetterOutcome { Refused, Created, Cancelled, Failed };
// Makes the letter of `type` for the booking open in `editor`, as post or e-mail, again
// when `recreate` (the old letter goes only once the new one is written): checks,
// saves the booking (caller tag "LUNIT"), merges, delivers, writes and opens it.
LetterOutcome CreateLetter(Session& s, BookingEditor& editor, int type, bool email, bool recreate,
                           LetterDelivery& delivery);

}  // namespace tb

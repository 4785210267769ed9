#pragma once
// The files that belong to a booking by name: its letters in "Letters/" and its
// stored booking form in "Booking Forms/". Both are named after the start date and
// the surname, so they are renamed when either changes.

#include <string>

#include "platform/DateTime.h"

namespace tb {

class Session;
struct Book_Rec;

// A text turned into one file name: "/" cannot be part of a name, so it becomes "_".
std::string FileNamePart(const std::string& text);
// The letter of type `type` without its extension: start as "yymmdd", "L", the type,
// and the first 8 characters of the trimmed surname with every "-" removed.
std::string LetterFileName(TDateTime start, const std::string& surname, int type);
// Property n's "Booking Forms/" folder, where its bookings' forms are stored.
std::string BookingFormsFolder(const Session& s, int n);
// A booking form's name: start as "yymmdd" + the trimmed surname.
std::string BookingFormName(TDateTime start, const std::string& surname);

// After property n's booking moved from `before` to `after` (start or surname): its
// letters (".rtf", ".txt", ".htm" of every configured type) and its first stored form
// get the new names.
void RenameBookingDocuments(Session& s, int n, const Book_Rec& before, const Book_Rec& after);

struct BookingFormLookup {
  bool ok = false;        // false: nothing to do (booking-file mode, no surname)
  std::string name;       // the form name
  std::string path;       // the stored form found, "" when there is none
};
// The stored form whose name begins with the first 14 characters of the form name.
// Without a surname: "Surname needed".
BookingFormLookup FindBookingForm(Session& s, int n, TDateTime start, const std::string& surname);
// Asks "Booking Form ... does not exist. Browse for it?"; true for Yes.
bool AskToBrowseForForm(Session& s, const std::string& name);
// Moves a chosen file into property n's "Booking Forms/" as name + its extension and
// reports it; the new path, or "" when it could not be moved.
std::string AdoptBookingForm(Session& s, int n, const std::string& chosen, const std::string& name);
// Opens a stored form with the desktop (pictures go to the picture viewer it uses).
void OpenBookingForm(Session& s, const std::string& path);

}  // namespace tb

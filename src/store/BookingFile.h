#pragma once
// A property's booking file ("Data/Bookings.bks") and its list in memory: read whole
// with every corruption check, held locked while a booking is edited, written whole
// after a safety copy, and the change and deletion logs appended to.

#include <string>
#include <utility>
#include <vector>

#include "platform/SharedFile.h"
#include "store/BookingList.h"

namespace tb {

class Session;

// Folder + "Data/Bookings.bks"; the booking file given on the command line for n = 0.
std::string BookingFilePath(const Session& s, int n);

// Re-reads property n's file when its time changed since the last read (always with a
// lock request, which also takes the booking file handle). True when the list was
// rebuilt or emptied. refresh marks a read by the multi-user timer (an empty file is
// then tolerated). Corrupt data ends the run (FatalError 1220).
bool ReadBookings(Session& s, int n, bool lock, bool refresh);
// Writes the list of property n when ListModified is set; true when written.
bool WriteBookings(Session& s, int n);
struct Prop_Rec;
// Folder + "Archive/" + name + ".bks": the change log ("Changed") and deletion log ("Deleted").
std::string ArchiveLogPath(const Prop_Rec& p, const char* name);
// Appends records to a file of this format (the change and deletion logs), all in one
// write: a crash leaves none or all of them.
bool AppendBookings(Session& s, const std::vector<Book_Rec>& recs, const std::string& path);
bool AppendBooking(Session& s, const Book_Rec& rec, const std::string& path);
// "E1015 Cannot write to file <path>" / "Check folder permissions", for a file of the
// program's that could not be written.
void CannotWriteFileMessage(Session& s, const std::string& path);
// Closes the booking file handle. When it was held for writing, the file's time becomes
// the one last seen (nobody else can have written).
void ReleaseBookingFile(Session& s);
// Puts property n's list back as its file holds it (through the held handle when this
// copy holds the file), after changes that could not be written were given up.
void RestoreBookings(Session& s, int n);
// Copies a file about to be rewritten to the temporary folder as "P<n>-" + its name,
// readable by this user only; a failure is logged. True when copied.
bool SafetyCopy(Session& s, int n, const std::string& path);

// Any file of this format as a separate list, the file held open and locked. A file that
// is appended to may end in a record an interrupted append cut short (left out); a file
// only ever replaced whole (appendedTo false: a booking file or its backup) may not, and
// an empty one is damaged too.
struct LoadedList {
  SharedFile handle;
  BookingList list;
  int count = 0;  // 0: no file (no handle); -1: cannot be opened or read
};
LoadedList LoadBookingList(Session& s, const std::string& path, bool appendedTo = true);
// Writes a separate list to its file (safety copy first) and frees the list; an empty
// list only closes the handle. True when written.
bool SaveBookingList(Session& s, SharedFile& handle, BookingList& list, int n, const std::string& path);

// Orders property n's list by start date, keeping equal dates in order; true when any moved.
bool SortBookings(Session& s, int n);
// Verifies the links and the count, reporting each fault; nothing is repaired.
void CheckBookingList(Session& s, const Book_Buffer* first, const Book_Buffer* last, int count);
void FreeBookings(Session& s, int n);
// The first booking, in list order, with StartD <= date < EndD that is not Cancelled,
// and its 1-based position; null and 0 when none.
std::pair<Book_Buffer*, int> FindBookingAt(const Session& s, int n, TDateTime date);

// The whole file image of a list: each record's 144 bytes and its 9 texts.
std::string BookingsImage(const BookingList& list);

}  // namespace tb

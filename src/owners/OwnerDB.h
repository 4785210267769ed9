#pragma once
// The owner database: "Owners.bko" in the root folder, shared by every user of the
// root, loaded whole into the session and written back whole through the handle that
// holds it (writers denied). Deleted owners are appended to "Owner-archive.bko".

#include <memory>
#include <string>
#include <vector>

#include "owners/OwnerRec.h"
#include "platform/SharedFile.h"

namespace tb {

class Session;

struct OwnerDB {
  std::vector<Owner_Rec> owners;  // sorted by name
  // The file as last read: the texts of the owners read from it point here.
  std::unique_ptr<const std::string> image;
  int current = 0;                // 1-based position of the owner the editor shows; 0 none
  bool changed = false;
  bool readOnly = false;
  bool saved = false;      // written at least once since it was loaded
  TDateTime fileAge = -2;  // the file's time as last read (-1 is "no file")
  SharedFile file;         // held while a window that asked for the lock is open
  int Count() const { return static_cast<int>(owners.size()); }
};

// The session's owner database (made empty on first use).
OwnerDB& Owners(Session& s);
// Its owners; none before the database was first used.
const std::vector<Owner_Rec>& OwnerList(const Session& s);

std::string OwnerFilePath(const Session& s);     // root + "Owners.bko"
std::string OwnerArchivePath(const Session& s);  // root + "Owner-archive.bko"

// Opens "Owners.bko" and re-reads it when its time changed since the last read; true
// when it was re-read. With lock the file stays held, writers denied, until
// ReleaseOwnerDB; when another user holds it the database is read-only instead.
// Corrupt data ends the run (FatalError 1220) before anything can be written.
bool OpenOwnerDB(Session& s, bool lock);
// Reads the open file whole into the database.
void ReadOwnerFile(Session& s, SharedFile& f);
// The archive's owners, oldest first (none when there is no archive). A record an
// append cut short is left out; other damage ends the run as for the owner file.
std::vector<Owner_Rec> ReadOwnerArchive(Session& s);
// Releases the lock; false when the file was not held open.
bool ReleaseOwnerDB(Session& s);

// Writes the whole database when it is marked changed and holds an owner: safety copy
// "Owners.bko" in the temporary folder, the image through the held handle (or a new
// file made whole), flushed. False when it could not be written: the changed mark
// and the data stay, so a later save can succeed. True when written or not needed.
bool SaveOwnerFile(Session& s);
// Appends the owner's record to the archive; false (with its message) when it could
// not be stored whole. A record cut short is taken off again.
bool ArchiveOwner(Session& s, const Owner_Rec& owner);

// The editor's fields as typed (texts untrimmed) and its number field.
struct OwnerFields {
  uint16_t id = 0;
  std::string surname, firstNames, address, phone, email, url, notes;
};
// The editor's save of the owner it shows (a new one is appended first): stamps the
// owner, sorts, writes the file and logs "<verb> Owner ID=..". verb: "Added",
// "Updated" or "". On return the owner saved is the current one. False when the file
// could not be written: the database is as it was (the window keeps what was typed),
// nothing is logged.
bool SaveOwner(Session& s, const OwnerFields& fields, bool isNew, const std::string& verb);

// Who deletes: the owner editor or the owner list (their log lines differ).
enum class OwnerDeleter { Editor, List };
struct OwnerDeletion {
  int deleted = 0;
  bool archiveFailed = false;  // stopped at an owner the archive did not take
  bool databaseGone = false;   // the last owner went, and "Owners.bko" with it
  bool saved = true;           // the file holds what remains
};
// Deletes the owners at the 0-based positions, highest first, each archived before it
// goes; stops at the first the archive refuses. What was deleted is written back.
// When none remain "Owners.bko" is deleted (held, so a failure leaves it as it was,
// and the last owner with it) and the database is left empty and read-only.
OwnerDeletion DeleteOwners(Session& s, std::vector<int> positions, OwnerDeleter by);

}  // namespace tb

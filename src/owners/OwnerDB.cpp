#include "owners/OwnerDB.h"

#include <algorithm>
#include <memory>

#include "owners/OwnerOrder.h"
#include "platform/FileSystem.h"
#include "platform/Format.h"
#include "platform/PathText.h"
#include "store/DiagnosticLog.h"
#include "store/Session.h"

namespace tb {

namespace {

const MsgButtons kAbortHelp = MsgButton::Abort | MsgButton::Help;

// A write that did not reach the file whole: logged and shown; the caller keeps its data.
void ReportShortWrite(Session& s, size_t written, size_t wanted) {
  const std::string text =
      "QZ1080 Should not occur. Wrote " + std::to_string(written) + " bytes v. req=" + std::to_string(wanted);
  WriteLog(s, text);
  s.dialogs.Message(text + "\r" + "Try again?", MsgIcon::Error, kAbortHelp, 1080);
}

// Owners' names and addresses: the copy is readable by this user only.
void OwnerSafetyCopy(Session& s, const std::string& path) {
  const std::string copy = s.common.TempFolder + "Owners.bko";
  if (s.common.TempFolder.empty() || !CopyFileOverwrite(path, copy, FileAccess::Private))
    WriteLog(s, "QZ1015 Cannot write safety copy " + PathText(copy) + " of " + PathText(path));
}

// The last owner is gone: the file goes too, deleted while still held so that a
// failure leaves it and its lock as they were. True when it went.
bool DeleteOwnerFile(Session& s) {
  OwnerDB& db = Owners(s);
  const std::string path = OwnerFilePath(s);
  if (FileExists(path) && !DeleteFileAt(path)) return false;
  db.file.Close();
  db.owners.clear();
  db.current = 0;
  db.changed = false;
  db.readOnly = true;
  db.fileAge = -1;
  return true;
}

}  // namespace

OwnerDB& Owners(Session& s) {
  if (!s.owners) s.owners = std::make_shared<OwnerDB>();
  return *s.owners;
}

const std::vector<Owner_Rec>& OwnerList(const Session& s) {
  static const std::vector<Owner_Rec> none;
  return s.owners ? s.owners->owners : none;
}

std::string OwnerFilePath(const Session& s) { return s.common.RootFolder + "Owners.bko"; }
std::string OwnerArchivePath(const Session& s) { return s.common.RootFolder + "Owner-archive.bko"; }

namespace {

// Parses a whole file image into owners, their texts pointing into it when views (the
// image then outlives them) or their own; corrupt data ends the run with its log line
// and message.
void ParseOwnerImage(Session& s, const std::string& path, const std::string& data, std::vector<Owner_Rec>& owners,
                     bool views) {
  const std::string shown = PathText(path);
  const std::string please = "Please investigate and recover lost data before continuing - see Help.";
  std::string logLine, message;
  switch (views ? ParseOwnerViews(data, owners) : ParseOwners(data, owners)) {
    case OwnerFileFault::None: return;
    case OwnerFileFault::TooSmall:
      logLine = "QZ1220A File " + shown + " corrupt. Size =" + std::to_string(data.size()) + " bytes. DIE";
      message = "Error 1220. Corrupt Owner file=" + shown + "\r" + please;
      break;
    case OwnerFileFault::ShortRecord:
      logLine = "QZO1220C File " + shown + " corrupt - short on bytes";
      message = "Error 1220. Corrupt data. File=" + shown + "\r" +
                "Investigate and recover lost data before continuing - see Help.";
      break;
    case OwnerFileFault::TextPastEnd:
      logLine = "QZ1220B File " + shown + " corrupt structure.";
      message = "Error 1220. Corrupt data in file=" + shown + "\r" + please;
      break;
  }
  // Logged first: the box ends the run.
  WriteLog(s, logLine);
  FatalError(s, message, 1220);
}

// The whole file from the handle; a read that falls short ends the run.
std::string ReadWhole(Session& s, SharedFile& f) {
  std::string data;
  if (f.ReadAll(data)) return data;
  WriteLog(s, "QZ1220B. Corrupt Data. F=" + PathText(f.Path()) + " Read too few bytes =" +
                  std::to_string(data.size()) + ". DIE");
  FatalError(s,
             "Error 1220. Corrupt data. File=" + PathText(f.Path()) + "\r" +
                 "Please investigate and recover lost data before continuing - see Help.",
             1220);
}

}  // namespace

void ReadOwnerFile(Session& s, SharedFile& f) {
  auto image = std::make_unique<const std::string>(ReadWhole(s, f));
  std::vector<Owner_Rec> owners;
  ParseOwnerImage(s, f.Path(), *image, owners, true);
  OwnerDB& db = Owners(s);
  db.owners = std::move(owners);  // before the image their texts pointed into goes
  db.image = std::move(image);
  db.current = std::min(std::max(db.current, db.owners.empty() ? 0 : 1), db.Count());
}

std::vector<Owner_Rec> ReadOwnerArchive(Session& s) {
  const std::string path = OwnerArchivePath(s);
  SharedFile f;
  if (f.OpenReadShareAll(path) != SharedFile::Result::Ok) return {};
  std::string data = ReadWhole(s, f);
  // An append cut short leaves less than a record's worth after the whole ones; that
  // part is left out. Anything more is damage, reported as such.
  constexpr size_t kCutShortLimit = 4096;
  const size_t whole = WholeOwnerRecords(data);
  if (data.size() - whole < kCutShortLimit) data.resize(whole);
  std::vector<Owner_Rec> owners;
  // Texts of their own: data goes when this returns.
  if (!data.empty()) ParseOwnerImage(s, path, data, owners, false);
  return owners;
}

bool OpenOwnerDB(Session& s, bool lock) {
  OwnerDB& db = Owners(s);
  if (db.file.IsOpen()) {
    s.dialogs.Message("QZ1080 Should not occur - owner database open and locked", MsgIcon::Error, kAbortHelp, 1080);
    WriteLog(s, "QZ1080F Should not occur - owner database open and locked");
    return false;
  }
  const std::string path = OwnerFilePath(s);
  const TDateTime age = FileTimeAsDateTime(path);
  if (age < 0) return false;
  if (lock && s.ReadOnly) {
    db.readOnly = true;
    lock = false;
  }
  SharedFile f;
  if (lock) {
    db.readOnly = false;
    if (f.OpenReadWriteDenyWriters(path) != SharedFile::Result::Ok) {
      if (f.OpenReadShareAll(path) != SharedFile::Result::Ok) {
        WriteLog(s, "QZ1080G Should not occur. Cannot read " + PathText(path));
        return false;
      }
      db.readOnly = true;
    }
  } else if (f.OpenReadShareAll(path) != SharedFile::Result::Ok) {
    WriteLog(s, "QZ1080H Should not occur. Reading " + PathText(path));
    s.dialogs.Message("QZ1080 Should not occur. Reading " + PathText(path), MsgIcon::Error, kAbortHelp, 1080);
    return false;
  }
  bool reloaded = false;
  if (age != db.fileAge) {
    db.fileAge = age;
    ReadOwnerFile(s, f);
    reloaded = true;
  }
  // Held only when the lock was asked for and obtained.
  if (lock && !db.readOnly) db.file = std::move(f);
  return reloaded;
}

bool ReleaseOwnerDB(Session& s) {
  OwnerDB& db = Owners(s);
  if (!db.file.IsOpen()) return false;
  db.file.Close();
  return true;
}

bool SaveOwnerFile(Session& s) {
  OwnerDB& db = Owners(s);
  if (!db.changed || db.owners.empty()) return true;
  const std::string path = OwnerFilePath(s);
  const std::string image = OwnersImage(db.owners);
  if (FileExists(path)) {
    if (!db.file.IsOpen() || db.file.IsReadOnly() || db.file.Path() != path) {
      WriteLog(s, "QZ1080 Should not occur: owner database not open");
      s.dialogs.Message("QZ1080 Should not occur: owner database not open", MsgIcon::Error, kAbortHelp, 1080);
      return false;
    }
    OwnerSafetyCopy(s, path);
    size_t written = 0;
    if (!db.file.Replace(image, written)) {
      ReportShortWrite(s, written, image.size());
      return false;
    }
  } else {
    // Made whole and held in one step; another user making the file meanwhile keeps it.
    db.file.Close();
    if (db.file.CreateDenyWriters(path, image) != SharedFile::Result::Ok) {
      s.dialogs.Message("Cannot create Owners file" + PathText(path) + "\r" + "Is file in use?", MsgIcon::Error,
                        MsgButton::Abort, 900);
      return false;
    }
    db.readOnly = false;
  }
  db.changed = false;
  db.saved = true;
  db.fileAge = FileTimeAsDateTime(path);
  s.dialogs.Beep();
  CheckOwnerIDs(s, "Save");
  return true;
}

bool ArchiveOwner(Session& s, const Owner_Rec& owner) {
  const std::string path = OwnerArchivePath(s);
  std::string record;
  AppendOwnerRecord(record, owner);
  SharedFile f;
  if (!FileExists(path)) {
    if (f.CreateDenyWriters(path, record) != SharedFile::Result::Ok) {
      s.dialogs.Beep();
      s.dialogs.Message("Cannot create file=" + PathText(path) + "\r" + "Check permissions?", MsgIcon::Error,
                        MsgButton::Abort);
      return false;
    }
    WriteLog(s, "Created new Owner Archive = " + PathText(path));
    return true;
  }
  if (f.OpenReadWriteDenyWriters(path) != SharedFile::Result::Ok) {
    s.dialogs.Message("QZO01 Owner record cannot be archived to " + PathText(path) + ". Should not occur",
                      MsgIcon::Error, MsgButton::Abort);
    return false;
  }
  const int64_t before = f.Size();
  if (f.AppendRecords(record, WholeOwnerRecords)) return true;
  const int64_t reached = f.Size() - std::max<int64_t>(before, 0);
  // What did reach the file is not a whole record: taken off, so the archive ends
  // with the last owner it holds whole.
  f.AppendRecords(std::string(), WholeOwnerRecords);
  ReportShortWrite(s, static_cast<size_t>(std::max<int64_t>(reached, 0)), record.size());
  return false;
}

bool SaveOwner(Session& s, const OwnerFields& fields, bool isNew, const std::string& verb) {
  OwnerDB& db = Owners(s);
  const bool wasEmpty = db.owners.empty();
  // What the database held before, for a save that cannot be written: the typed owner
  // stays in the window, the owners everybody else reads stay as the file has them.
  const std::vector<Owner_Rec> before = db.owners;
  const int beforeCurrent = db.current;
  const bool beforeChanged = db.changed;
  if (isNew || db.current < 1 || db.current > db.Count()) {
    db.owners.emplace_back();
    db.current = db.Count();
    db.owners.back().OwnerCreated = s.clock.Today();
  }
  Owner_Rec& o = db.owners[static_cast<size_t>(db.current - 1)];
  o.OwnerUpdated = s.clock.Now();
  o.OwnerID = fields.id;
  o.OwnerSurname = fields.surname;
  o.OwnerFName = fields.firstNames;
  o.OwnerAddress = fields.address;
  o.OwnerPhone = fields.phone;
  o.OwnerEmail = fields.email;
  o.OwnerURL = fields.url;
  o.OwnerNotes = fields.notes;
  const Owner_Rec saved = o;
  db.changed = true;
  SortOwners(s, fields.id);
  // The owner just saved is the current one, even where another shares its number.
  for (int i = 0; i < db.Count(); ++i) {
    const Owner_Rec& r = db.owners[static_cast<size_t>(i)];
    if (r.OwnerID == saved.OwnerID && r.OwnerUpdated == saved.OwnerUpdated && r.OwnerCreated == saved.OwnerCreated &&
        r.OwnerSurname == saved.OwnerSurname && r.OwnerFName == saved.OwnerFName) {
      db.current = i + 1;
      break;
    }
  }
  if (!SaveOwnerFile(s)) {
    db.owners = before;
    db.current = beforeCurrent;
    db.changed = beforeChanged;
    return false;
  }
  WriteLog(s, (wasEmpty ? std::string("Created Owner DB.") : verb) + " Owner ID=" + std::to_string(fields.id) +
                  " SName=" + fields.surname + " Tot Owners=" + std::to_string(db.Count()));
  return true;
}

OwnerDeletion DeleteOwners(Session& s, std::vector<int> positions, OwnerDeleter by) {
  OwnerDB& db = Owners(s);
  OwnerDeletion result;
  std::sort(positions.begin(), positions.end());
  positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
  // From the highest down, so the positions still to come stay valid.
  for (auto it = positions.rbegin(); it != positions.rend(); ++it) {
    const int at = *it;
    if (at < 0 || at >= db.Count()) continue;
    const Owner_Rec o = db.owners[static_cast<size_t>(at)];  // outlives its place in the table
    if (!ArchiveOwner(s, o)) {
      result.archiveFailed = true;
      break;
    }
    ++result.deleted;
    if (db.Count() == 1) {
      // The file goes with the last owner; until it has gone, so has nothing.
      if (!DeleteOwnerFile(s)) {
        // The last owner stays (its archive copy is harmless); the owners taken out
        // before it must not come back with the next read.
        --result.deleted;
        db.current = 1;
        db.changed = true;
        result.saved = result.deleted == 0 || SaveOwnerFile(s);
        return result;
      }
      WriteLog(s, by == OwnerDeleter::List ? "LOU DELETED OWNER ID=" + std::to_string(o.OwnerID) +
                                                 " RecNo=0 SName=" + o.OwnerSurname + " Owners=0"
                                           : Format("DELETED Final Owner ID=%2.2d SName=", {o.OwnerID}) +
                                                 o.OwnerSurname);
      result.databaseGone = true;
      return result;
    }
    const std::string line =
        by == OwnerDeleter::List
            ? "LOU DELETED OWNER ID=" + std::to_string(o.OwnerID) + " RecNo=" + std::to_string(at) +
                  " SName=" + o.OwnerSurname + " Owners=" + std::to_string(db.Count() - 1)
            : "DELETED OWNER ID=" + std::to_string(o.OwnerID) + " RecNo=" + std::to_string(at + 1) +
                  " SName=" + o.OwnerSurname + " Tot Owners=" + std::to_string(db.Count() - 1);
    db.owners.erase(db.owners.begin() + at);
    WriteLog(s, line);
  }
  if (result.deleted == 0) return result;
  CheckOwnerIDs(s, "Delete");
  db.current = std::min(std::max(db.current, 1), db.Count());
  // Written even after a refused archive: what was archived and taken out must not
  // come back with the next read.
  db.changed = true;
  result.saved = SaveOwnerFile(s);
  return result;
}

}  // namespace tb

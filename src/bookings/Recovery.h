#pragma once
// Recovery from a property's change log: a booking file rebuilt from the saved records,
// optionally merged with a backup of the booking file, written as "Recovered.bks" in the
// root folder for the user to put in place. Nothing else is written or replaced.

#include <functional>
#include <string>

#include "store/BookingList.h"

namespace tb {

class Session;

// One line of the run's log ("" an empty line); the window's memo or cotlynctl's stdout.
using RecoveryLog = std::function<void(const std::string& line)>;

enum class RecoveryOutcome {
  Stopped,           // a question answered Cancel, or a message about the backup or a file
  NothingToRecover,  // no change-log record newer than the backup
  Written,           // the recovery file holds the result ("RECOVERY COMPLETE")
};

// Root folder + "Recovered.bks".
std::string RecoveryFilePath(const Session& s);

// changeLog: the change log's records in start-date order, equal starts in the order
// they were saved (as booking-file mode reads it); it is only read. backupPath (trimmed;
// empty: none) is a booking file whose records come first and whose latest update is
// the cut-off. A damaged backup ends the run (Error 1220).
RecoveryOutcome RecoverFromChangeLog(Session& s, const BookingList& changeLog, const std::string& backupPath,
                                     const RecoveryLog& log);

}  // namespace tb

// cotlynctl recover: the recovery window's run on a property's change log, optionally
// merged with a backup booking file; the run's lines on stdout, its questions answered
// from COTLYN_ANSWERS. Exit status 0 only when the recovery file was written.

#include "app/Startup.h"
#include "bookings/Recovery.h"
#include "ctl/CtlOptions.h"
#include "ctl/CtlSession.h"
#include "platform/Cp1252.h"
#include "platform/FileSystem.h"
#include "store/BookingFile.h"

namespace tb {

int CtlRecover(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const char* usage = "usage: cotlynctl recover ROOT PROP [--backup FILE] [--today YYYY-MM-DD]";
  const CtlOptions o = ParseCtlOptions(args, {"--backup", "--today"});
  if (!o.ok || o.positional.size() != 2) return CtlUsage(err, usage);
  CtlProperty p = OpenCtlProperty(o.positional[0], o.positional[1], o.Get("--today"), usage, err);
  if (!p.ctl) return p.exitCode;
  Session& s = p.ctl->session();

  // The change log as booking-file mode reads it, with its property's settings: without
  // its lock, so that saves going on meanwhile are not refused, and never written back.
  const std::string changeLog = ArchiveLogPath(s.Prop(p.n), "Changed");
  if (!FileExists(changeLog)) {
    err << "no change log: " << changeLog << "\n";
    return 1;
  }
  s.DirectFile = changeLog;
  CopyConfiguration(s.Prop(p.n), s.Prop(0));
  ReadBookings(s, 0, false, false);
  SortBookings(s, 0);
  const RecoveryOutcome outcome = RecoverFromChangeLog(s, s.Prop(0).Bookings, o.Get("--backup"),
                                                       [&out](const std::string& line) {
                                                         out << Cp1252ToUtf8(line) << "\n";
                                                       });
  return outcome == RecoveryOutcome::Written ? 0 : 1;
}

}  // namespace tb

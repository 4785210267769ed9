// cotlynctl check: every booking and rates file read with the program's own checks.

#include "bookings/Rates.h"
#include "ctl/CtlOptions.h"
#include "ctl/CtlSession.h"
#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "store/BookingFile.h"

namespace tb {

int CtlCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const CtlOptions o = ParseCtlOptions(args, {});
  if (!o.ok || o.positional.size() != 1) return CtlUsage(err, "usage: cotlynctl check ROOT");
  std::string error;
  auto ctl = CtlSession::Open(o.positional[0], "", error);
  if (!ctl) {
    err << error << "\n";
    return 1;
  }
  Session& s = ctl->session();
  // A damaged file ends the run in FatalError with its message and log line.
  for (int n = 1; n <= s.NumProps(); ++n) {
    const Prop_Rec& p = s.Prop(n);
    const std::string path = BookingFilePath(s, n);
    ReadBookings(s, n, false, false);
    out << path << ": " << (FileExists(path) ? std::to_string(p.Bookings.Count()) + " bookings" : "no bookings")
        << "\n";
    for (const std::string& name : ListFiles(p.Folder + "Archive/", "*.bks")) {
      LoadedList loaded = LoadBookingList(s, p.Folder + "Archive/" + name);
      out << p.Folder << "Archive/" << name << ": " << loaded.count << " records\n";
    }
    for (const std::string& name : ListFiles(p.Folder + "Data/", "Rates*.bkc")) {
      Rate_Rec r;
      ReadRatesFile(p.Folder + "Data/" + name, r);
      int priced = 0;
      for (const WeekRate& w : r.WeekRates) priced += w.CostOrBand != 0;
      out << p.Folder << "Data/" << name << ": rates, " << priced << " weeks priced\n";
    }
  }
  return 0;
}

}  // namespace tb

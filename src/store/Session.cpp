#include "store/Session.h"

#include <cstdlib>

namespace tb {

Session::Session(Clock& clk, Dialogs& dlg, RegistryStore& userRegistry, ProcessRunner& procs)
    : clock(clk), dialogs(dlg), registry(userRegistry), processes(procs) {
  exitProcess = [](int code) { std::exit(code); };
  props.resize(1);
}

void Session::ComputeSeasonYear() {
  DateParts today = DecodeDate(clock.Today());
  SeasonYear[0] = today.month <= 3 ? today.year - 1 : today.year;
  SeasonYear[1] = SeasonYear[0] + 1;
}

}  // namespace tb

#pragma once
// Everything that lives for the whole run of the program, in one object passed by
// reference: the settings, the property table, the run's state and the services
// through which the engine reaches the system and the user. Two sessions in one
// process act as two users of one root folder.

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/FileLock.h"
#include "platform/Dialogs.h"
#include "platform/Process.h"
#include "platform/Registry.h"
#include "platform/SharedFile.h"
#include "store/CommonSettings.h"
#include "store/PropRec.h"
#include "store/UserPrefs.h"

namespace tb {

struct OwnerDB;

class Session {
 public:
  Session(Clock& clock, Dialogs& dialogs, RegistryStore& userRegistry, ProcessRunner& processes);
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  Clock& clock;
  Dialogs& dialogs;
  RegistryStore& registry;  // the per-user hive
  ProcessRunner& processes;

  CommonSettings common;
  std::vector<Prop_Rec> props;  // 0..NumProps
  int NumProps() const { return static_cast<int>(props.size()) - 1; }
  Prop_Rec& Prop(int n) { return props.at(static_cast<size_t>(n)); }
  const Prop_Rec& Prop(int n) const { return props.at(static_cast<size_t>(n)); }

  // Registry values of the user.
  UserPrefs prefs;
  std::string BUP;
  int AupFREQ = 0;

  // The run's state.
  int CurrentProperty = 0;
  std::array<int, 2> SeasonYear{0, 0};
  char AppState = ' ';  // ' ' normal, 'F' booking-file mode, 'N' new, 'E' existing booking
  bool ReadOnly = false;
  // Where the HTML e-mail window stood when it last closed in this run (width 0: not
  // shown yet), so that it comes back where the user left it.
  struct WindowPlace {
    int left = 0, top = 0, width = 0, height = 0;
  } EmailFormPlace;
  char ForcedMode = ' ';  // ' ', 'L' or 'C'
  std::string DirectFile;
  std::string UserKey;
  // This run's line in the user control file, and the mark that tells other copies
  // of this installation that its owner is alive.
  std::string UserLine;
  OwnerMark UserMark;
  std::string InstallDate;  // "ID" of Local.ini
  bool RootFromCommandLine = false;
  // The command line's switches that copies started for other properties get too.
  std::vector<std::string> PassedSwitches;

  // Windows open now (the chart, the refresh timer and the commands ask).
  bool BookFormOpen = false;
  bool RatesFormOpen = false;
  bool SearchFormOpen = false;
  bool OwnerFormOpen = false;
  // Set by the rates editor when it saved a year of property n; cleared when the
  // chart has reloaded it.
  int RatesSavedProperty = 0;
  // "M": the property last picked in the property column (0 = none).
  int PickedProperty = 0;
  // Marks for the next auto-upload: web data (bookings re-read), rates (reloaded).
  bool WebDataDue = false;
  bool RatesDue = false;

  // The booking file being edited: held from the click on the chart until the
  // booking window closes, writers denied; read-only when another user holds it.
  SharedFile BookFile;
  int BookFileProp = -1;
  bool FileReadOnly = false;

  // The owner database, made and loaded by the owners layer (src/owners/OwnerDB.h);
  // null until first used.
  std::shared_ptr<OwnerDB> owners;

  // Ends the process with the code. Tests replace it with one that throws.
  std::function<void(int)> exitProcess;
  // The owner's first name and surname for an owner key, "" when there is none
  // (filled in once the owner database is loaded).
  std::function<std::string(uint16_t)> ownerName;
  // The owner's surname alone, for the chart's property column.
  std::function<std::string(uint16_t)> ownerSurname;
  // The owner's surname, first names and e-mail address, for letters; false when there
  // is no such owner (set once the owner database is loaded).
  struct OwnerContact {
    std::string surname, firstNames, email;
  };
  std::function<bool(uint16_t, OwnerContact&)> ownerContact;
  // After a booking file write whose dates changed (DatesChanged): sends the agency
  // calendar of property n and clears the mark. Unset, the mark is simply cleared.
  std::function<void(Session&, int)> agencyCalendarUpload;
  // Repaints property n's rows after its week table was rebuilt (set by the main window).
  std::function<void(int)> chartChanged;
  // After the booking window's save or deletion wrote property n's file (set by the
  // main window, which refreshes the overdue list while it is open).
  std::function<void(int)> bookingsWritten;
  // Counts booking lists read again or freed and bookings deleted: a window holding
  // pointers into the lists since an earlier count holds stale ones.
  uint64_t BookingsFreed = 0;
  // Stops the multi-user refresh timer (set by the main window while it runs).
  std::function<void()> stopRefreshTimer;

  // Computes SeasonYear from today: this calendar year, or the previous one while
  // today is in January, February or March.
  void ComputeSeasonYear();
};

// The program's registry key for per-user values.
inline constexpr const char* kRegistryKey = "Software\\Orvane\\Cotlyn";

}  // namespace tb

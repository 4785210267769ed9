#include "app/Shutdown.h"

#include "app/Users.h"
#include "store/DiagnosticLog.h"
#include "store/Session.h"
#include "store/Settings.h"

namespace tb {

bool MayQuit(Session& s) {
  if (!s.BookFormOpen && !s.RatesFormOpen && !s.OwnerFormOpen) return true;
  return s.dialogs.Message("You may be editing data. Discard any changes and quit?", MsgIcon::Confirmation,
                           MsgButton::Yes | MsgButton::Cancel) == MsgButton::Yes;
}

void CloseRun(Session& s, const std::array<int16_t, 4>& place) {
  const int n = s.common.AllPropertiesView() ? 0 : s.CurrentProperty;
  s.Prop(n).WinPos = s.common.SaveSSP ? place : std::array<int16_t, 4>{0, 0, 0, 0};
  SaveWindowPos(s, n);
  WriteLog(s, "CLOSE");
  UnregisterUser(s);
  SaveUserPrefs(s);
}

}  // namespace tb

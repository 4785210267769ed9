#pragma once
// The orderly end of a run.

#include <array>
#include <cstdint>
#include <string>

namespace tb {

class Session;

// While an editing window is open: true when the user agrees to drop its changes
// and quit (always true when none is open).
bool MayQuit(Session& s);
// The end of a normal run: the window's place remembered ("SWin" + 0 in "M", else
// the property's number; zeros unless "SaveSSP" is set), "CLOSE" logged, this run's
// user line removed, the preferences written. place: top, left, height, width.
void CloseRun(Session& s, const std::array<int16_t, 4>& place);

}  // namespace tb

#include "app/WindowPlacement.h"

#include <algorithm>
#include <cmath>

namespace tb {

namespace {

bool UseSaved(bool saveSSP, const std::array<int16_t, 4>& saved) { return saveSSP && saved[2] != 0; }

Rect Saved(const std::array<int16_t, 4>& saved) { return Rect{saved[0], saved[1], saved[2], saved[3]}; }

}  // namespace

Rect PropertyWindowPlacement(bool saveSSP, const std::array<int16_t, 4>& saved, int workRight, int workBottom,
                             int maxWidth, int currentProperty, int numProps) {
  if (UseSaved(saveSSP, saved)) return Saved(saved);
  Rect r;
  r.top = 1;
  r.height = workBottom - 3;
  r.width = maxWidth;
  int d = 1;
  if (numProps > 1) {
    const int room = workRight - r.width - 65;
    // Rounded with halves to even, as the rest of the program rounds.
    d = room < 0 ? 80 : static_cast<int>(std::nearbyint(static_cast<double>(room) / (numProps - 1)));
  }
  r.left = 60 + d * (currentProperty - 1);
  return r;
}

Rect AllPropertiesPlacement(bool saveSSP, const std::array<int16_t, 4>& saved, int workRight, int workBottom,
                            int wantedHeight) {
  Rect r;
  r.height = std::min(wantedHeight, workBottom);
  r.top = (workBottom - r.height) / 4;
  r.left = workRight / 10;
  r.width = static_cast<int>(workRight * 0.8);
  return UseSaved(saveSSP, saved) ? Saved(saved) : r;
}

}  // namespace tb

#pragma once
// Where the main window opens: the saved place, or a cascade of property windows
// ("C"), or a window centred-ish on the work area ("M").

#include <array>
#include <cstdint>

namespace tb {

struct Rect {
  int top = 0, left = 0, height = 0, width = 0;
};

// "C": saved {top, left, height, width} when saveSSP and its height is not 0;
// otherwise top 1, height = bottom − 3, width = maxWidth, left cascading by property.
Rect PropertyWindowPlacement(bool saveSSP, const std::array<int16_t, 4>& saved, int workRight, int workBottom,
                             int maxWidth, int currentProperty, int numProps);
// "M": height limited to the work area, top = (bottom − height) / 4, left = right / 10,
// width = 80 % of the right edge; then the saved place as in "C".
Rect AllPropertiesPlacement(bool saveSSP, const std::array<int16_t, 4>& saved, int workRight, int workBottom,
                            int wantedHeight);

}  // namespace tb

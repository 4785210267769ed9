#pragma once
// Keys typed by a script: "F10,Return" pressed one after another, each as the keyboard
// would press it (a window's shortcuts first, then the control with the focus),
// whatever window or dialog is up then. Process tests use it where a person would type.

#include <QString>

namespace tb {

// Presses the comma-separated keys (names as QKeySequence reads them) `gapMs` apart,
// the first after `gapMs`. False, with nothing pressed, when a name is not a key.
bool PressKeysLater(const QString& keys, int gapMs);

}  // namespace tb

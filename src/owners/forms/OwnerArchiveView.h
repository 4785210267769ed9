#pragma once
// What the owner archive viewer shows: the owners "Owner-archive.bko" holds, read
// without ever writing, and why any could not be shown. Damage is reported, not
// fatal: the viewer is only a window on the file.

#include <string>
#include <vector>

#include "owners/OwnerRec.h"
#include "platform/Dialogs.h"

namespace tb {

struct OwnerArchiveView {
  std::string path;
  std::vector<Owner_Rec> owners;  // oldest first; those before any damage
  std::string problem;            // "" when the whole archive is shown
  MsgIcon problemIcon = MsgIcon::None;
};

// Reads rootFolder + "Owner-archive.bko". A record cut short at the end by an append
// that did not finish is left out without a word, as the program's own reader does.
OwnerArchiveView ReadArchiveForView(const std::string& rootFolder);

// One archived owner as the viewer's columns show it: number, name (surname, middle
// dot, first names), phone, e-mail, address, created, updated, notes.
std::vector<std::string> ArchiveViewTexts(const Owner_Rec& o);

}  // namespace tb

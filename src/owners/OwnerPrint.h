#pragma once
// The owner editor's two printouts, drawn on a print job the caller has begun.

#include "owners/OwnerRec.h"

namespace tb {

class PrintCanvas;
class Session;

// One owner on a portrait page (job "Owner"): the properties managed in a box at the
// top right, then each detail under its label.
void PrintOwnerDetails(PrintCanvas& c, const Session& s, const Owner_Rec& o);
// Every owner a line, on landscape pages (job "Owners") with a header and column heads.
void PrintOwnerList(PrintCanvas& c, const Session& s);

}  // namespace tb

#pragma once
// Fills a list box with one row per property, for the property pickers.

class QListWidget;

namespace tb {

class Session;

// One row per property (only those with "AS" when agencyOnly), the box sized to
// min(NumProps, maxRows) rows plus 4 pixels. A multi-selection box has every row
// selected except properties named "Ruza Rorazed"; the first row always is.
void FillPropertyList(const Session& s, QListWidget& list, int maxRows, bool agencyOnly);

}  // namespace tb

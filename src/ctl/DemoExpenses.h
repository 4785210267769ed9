#pragma once
// Expenses ledgers for the demo's first properties.

#include <string>

#include "ctl/Demo.h"

namespace tb {

// Writes "Data/Expenses.bkx" for the first two properties: this year and the two
// before it, `cats` categories, amounts for the months gone by. "" or the error text.
std::string WriteDemoExpenses(const DemoOptions& o, const std::string& root, int cats);

}  // namespace tb

#include "ctl/DemoExpenses.h"

#include <algorithm>
#include <random>

#include "platform/DateTime.h"
#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "reports/Expenses.h"

namespace tb {

std::string WriteDemoExpenses(const DemoOptions& o, const std::string& root, int cats) {
  const DateParts today = DecodeDate(o.today);
  std::mt19937 rng(o.seed + 17);
  for (int n = 1; n <= std::min(2, o.properties); ++n) {
    Expense e;
    e.Resize(today.year - 2, 3, cats);
    for (int y = 0; y < e.NYears; ++y)
      for (int m = 0; m < 12; ++m) {
        if (e.FirstYear + y == today.year && m + 1 > today.month) break;
        // Cleaning every month, repairs now and then, laundry in the letting season.
        e.At(y, 0, m) = 40 + static_cast<double>(rng() % 8) * 5;
        if (cats > 1 && rng() % 4 == 0) e.At(y, 1, m) = 25.5 + static_cast<double>(rng() % 300);
        if (cats > 2 && m >= 3 && m <= 9) e.At(y, 2, m) = 30 + static_cast<double>(rng() % 40) / 2;
      }
    const std::string path = root + PathFromText(DemoPropertyName(n, o.properties, o.seed)) + "/Data/Expenses.bkx";
    if (!WriteWholeFile(path, ExpenseImage(e))) return "Cannot write " + path;
  }
  return {};
}

}  // namespace tb

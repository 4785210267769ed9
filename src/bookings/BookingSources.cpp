#include "bookings/BookingSources.h"

#include <algorithm>
#include <utility>

#include "platform/Text.h"

namespace tb {

std::vector<std::string> SourceList(const BookingList& bookings) {
  std::vector<std::pair<std::string, int>> counted;  // in offer order
  for (const Book_Buffer* b = bookings.Last(); b; b = b->Prev) {
    std::string source = Trim(b->Rec.Source);
    if (source.empty()) continue;
    auto it = std::find_if(counted.begin(), counted.end(), [&](const auto& c) { return c.first == source; });
    if (it == counted.end()) {
      counted.emplace_back(std::move(source), 1);
      continue;
    }
    ++it->second;
    // Ahead only of those it now outnumbers, so equal counts keep the newest first.
    while (it != counted.begin() && std::prev(it)->second < it->second) {
      std::iter_swap(it, std::prev(it));
      --it;
    }
  }
  std::vector<std::string> offered;
  for (const auto& c : counted) {
    if (offered.size() == 12) break;
    offered.push_back(c.first);
  }
  if (offered.size() < 6) {
    for (const char* extra : {"Repeat", "Reference"})
      if (std::find(offered.begin(), offered.end(), extra) == offered.end()) offered.emplace_back(extra);
  }
  return offered;
}

}  // namespace tb

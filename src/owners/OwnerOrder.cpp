#include "owners/OwnerOrder.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <numeric>

#include "owners/OwnerDB.h"
#include "platform/Format.h"
#include "platform/Text.h"
#include "store/Session.h"

namespace tb {

int FindOwner(const std::vector<Owner_Rec>& owners, uint16_t id) {
  for (size_t i = 0; i < owners.size(); ++i)
    if (owners[i].OwnerID == id) return static_cast<int>(i);
  return -1;
}

int FindOwner(const Session& s, uint16_t id) { return FindOwner(OwnerList(s), id); }

namespace {

// Surname followed directly by first names, compared byte by byte as unsigned, without
// joining them: at most three runs of memcmp where the parts' ends fall differently.
bool NameBefore(const Owner_Rec& a, const Owner_Rec& b) {
  const std::string_view ap[2] = {a.OwnerSurname, a.OwnerFName}, bp[2] = {b.OwnerSurname, b.OwnerFName};
  size_t ai = 0, bi = 0, ao = 0, bo = 0;  // part and offset in it
  for (;;) {
    while (ai < 2 && ao == ap[ai].size()) ++ai, ao = 0;
    while (bi < 2 && bo == bp[bi].size()) ++bi, bo = 0;
    if (ai == 2 || bi == 2) return ai == 2 && bi < 2;
    const size_t n = std::min(ap[ai].size() - ao, bp[bi].size() - bo);
    if (const int c = std::memcmp(ap[ai].data() + ao, bp[bi].data() + bo, n); c != 0) return c < 0;
    ao += n;
    bo += n;
  }
}

}  // namespace

bool SortOwnersByName(std::vector<Owner_Rec>& owners) {
  if (std::is_sorted(owners.begin(), owners.end(), NameBefore)) return false;
  std::stable_sort(owners.begin(), owners.end(), NameBefore);
  return true;
}

void SortOwners(Session& s, uint16_t shownID) {
  OwnerDB& db = Owners(s);
  if (SortOwnersByName(db.owners)) db.changed = true;
  const int at = FindOwner(db.owners, shownID);
  if (at >= 0) {
    db.current = at + 1;
    return;
  }
  s.dialogs.Message("QZO02 Should not occur", MsgIcon::Error, MsgButton::OK);
  db.current = db.owners.empty() ? 0 : 1;
}

std::vector<std::pair<int, int>> DuplicateOwnerPairs(const std::vector<Owner_Rec>& owners) {
  // Positions grouped by number (in position order within a number), so the pairs come
  // without comparing every owner with every other. Number and position in one key
  // sort without looking back at the owners.
  std::vector<uint64_t> keys(owners.size());
  for (size_t i = 0; i < owners.size(); ++i) keys[i] = uint64_t{owners[i].OwnerID} << 32 | i;
  std::sort(keys.begin(), keys.end());
  const auto position = [&keys](size_t k) { return static_cast<uint32_t>(keys[k]); };
  const auto number = [&keys](size_t k) { return keys[k] >> 32; };
  // For each position, where its number's run continues after it.
  std::vector<std::pair<size_t, size_t>> later(owners.size());  // [from, to) in keys
  for (size_t i = 0; i < keys.size();) {
    size_t j = i;
    while (j < keys.size() && number(j) == number(i)) ++j;
    for (size_t k = i; k < j; ++k) later[position(k)] = {k + 1, j};
    i = j;
  }
  std::vector<std::pair<int, int>> pairs;
  for (size_t a = 0; a < owners.size(); ++a)
    for (size_t k = later[a].first; k < later[a].second; ++k)
      pairs.emplace_back(static_cast<int>(a), static_cast<int>(position(k)));
  return pairs;
}

std::string DuplicateOwnerText(const std::vector<Owner_Rec>& owners, std::pair<int, int> pair) {
  const Owner_Rec& a = owners.at(static_cast<size_t>(pair.first));
  const Owner_Rec& b = owners.at(static_cast<size_t>(pair.second));
  return Format("DUPLICATE OwnerID=%d. First occurrence: Name=%s, row=%d Second: Name=%s, row=%d",
                {a.OwnerID, a.OwnerSurname.view(), pair.first + 1, b.OwnerSurname.view(), pair.second + 1});
}

void CheckOwnerIDs(Session& s, const std::string& caller) {
  const std::vector<Owner_Rec>& owners = OwnerList(s);
  // Only the first pair, as a comparison of each with every later one meets it.
  for (size_t a = 0; a < owners.size(); ++a)
    for (size_t b = a + 1; b < owners.size(); ++b)
      if (owners[a].OwnerID == owners[b].OwnerID) {
        s.dialogs.Message(caller + ": " + DuplicateOwnerText(owners, {static_cast<int>(a), static_cast<int>(b)}),
                          MsgIcon::Error, MsgButton::Ignore);
        return;
      }
}

uint16_t NextOwnerID(const std::vector<Owner_Rec>& owners) {
  int highest = 0;
  for (const Owner_Rec& o : owners) highest = std::max<int>(highest, o.OwnerID);
  if (highest < 0xFFFF) return static_cast<uint16_t>(highest + 1);
  // The next number would not fit in 16 bits: the lowest free one instead.
  std::vector<bool> used(0x10000, false);
  for (const Owner_Rec& o : owners) used[o.OwnerID] = true;
  for (uint32_t id = 1; id <= 0xFFFF; ++id)
    if (!used[id]) return static_cast<uint16_t>(id);
  return 0;
}

std::optional<uint16_t> ParseOwnerNumber(const std::string& text, std::string& error) {
  const std::string_view t = TrimView(text);
  long long v = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  const bool whole = !t.empty() && end == t.data() + t.size();
  const bool tooLarge = ec == std::errc::result_out_of_range ? t.front() != '-' : ec == std::errc() && v > 0xFFFF;
  if (whole && tooLarge) {
    error = "Error - number must not be above 65535";
    return std::nullopt;
  }
  if (!whole || ec != std::errc() || v <= 0) {
    error = "Error - must be positive integer";
    return std::nullopt;
  }
  error.clear();
  return static_cast<uint16_t>(v);
}

}  // namespace tb

#include "owners/OwnerListRows.h"

#include <algorithm>
#include <cstring>

#include "owners/OwnerDB.h"
#include "platform/Cp1252.h"
#include "platform/Escape.h"
#include "platform/Text.h"
#include "store/Session.h"

namespace tb {

namespace {

std::string_view ColumnText(const OwnerListRow& r, OwnerColumn c) {
  switch (c) {
    case OwnerColumn::Phone: return r.Phone;
    case OwnerColumn::eMail: return r.eMail;
    case OwnerColumn::Address: return r.Address;
    case OwnerColumn::DateU: return r.DateU;
    case OwnerColumn::Comment: return r.Comment;
    default: return r.Name;
  }
}

}  // namespace

PropertyOwnerCounts::PropertyOwnerCounts(const Session& s) {
  for (int n = 1; n <= s.NumProps(); ++n) {
    const uint16_t id = s.Prop(n).Owner;
    if (id >= counts_.size()) counts_.resize(size_t{id} + 1, 0);
    ++counts_[id];
  }
}

int PropertyOwnerCounts::operator()(uint16_t id) const { return id < counts_.size() ? counts_[id] : 0; }

size_t CommaLinesInto(std::string_view text, size_t limit, char* out) {
  size_t n = 0;
  for (size_t from = 0; from < text.size() && n < limit;) {
    const size_t br = text.find("\r\n", from);
    const size_t to = br == std::string_view::npos ? text.size() : br;
    const size_t take = std::min(to - from, limit - n);
    std::memcpy(out + n, text.data() + from, take);
    n += take;
    if (br == std::string_view::npos) break;
    if (n < limit) out[n++] = ',';
    from = br + 2;
  }
  return n;
}

std::string CommaLines(std::string_view text, size_t limit) {
  std::string out(std::min(text.size(), limit), '\0');
  out.resize(CommaLinesInto(text, limit, out.data()));
  return out;
}

OwnerListTable OwnerListRows(const Session& s) {
  constexpr size_t kCommentLimit = 60;
  static constexpr std::string_view kNameJoin = "\xB7 ";
  constexpr size_t kDateSize = 10;
  const std::vector<Owner_Rec>& owners = OwnerList(s);
  OwnerListTable table;
  table.rows.reserve(owners.size());
  // Texts go into blocks that never move, a new one when a row's texts do not fit.
  constexpr size_t kBlock = 64 * 1024;
  char* at = nullptr;
  size_t left = 0;
  const auto put = [&at](std::string_view part) {
    std::memcpy(at, part.data(), part.size());
    at += part.size();
  };
  const auto view = [&at](const char* from) { return std::string_view(from, static_cast<size_t>(at - from)); };
  const PropertyOwnerCounts np(s);
  for (size_t i = 0; i < owners.size(); ++i) {
    const Owner_Rec& o = owners[i];
    const size_t need = o.OwnerSurname.size() + kNameJoin.size() + o.OwnerFName.size() + o.OwnerPhone.size() +
                        o.OwnerEmail.size() + o.OwnerAddress.size() + kDateSize +
                        std::min(o.OwnerNotes.size(), kCommentLimit);
    if (need > left) {
      left = std::max(need, kBlock);
      at = table.text.emplace_back(std::make_unique_for_overwrite<char[]>(left)).get();
    }
    const char* const rowStart = at;
    const char* from = at;
    put(o.OwnerSurname);
    put(kNameJoin);
    put(o.OwnerFName);
    const std::string_view name = view(from);
    from = at;
    put(o.OwnerPhone);
    const std::string_view phone = view(from);
    from = at;
    put(o.OwnerEmail);
    const std::string_view email = view(from);
    const std::string_view address(at, CommaLinesInto(o.OwnerAddress, std::string_view::npos, at));
    at += address.size();
    from = at;
    put(SortableDateText(o.OwnerUpdated));
    const std::string_view updated = view(from);
    const std::string_view comment(at, CommaLinesInto(o.OwnerNotes, kCommentLimit, at));
    at += comment.size();
    // Made whole in one step: a row cleared first and then filled costs a third more.
    left -= static_cast<size_t>(at - rowStart);
    table.rows.push_back({o.OwnerID, np(o.OwnerID), name, phone, email, address, updated, comment, static_cast<int>(i)});
  }
  return table;
}

int OwnersWithoutProperties(const std::vector<OwnerListRow>& rows) {
  return static_cast<int>(std::count_if(rows.begin(), rows.end(), [](const OwnerListRow& r) { return r.NP == 0; }));
}

void SortOwnerListRows(std::vector<OwnerListRow>& rows, OwnerColumn column, bool descending) {
  const auto number = [column](const OwnerListRow& r) {
    return column == OwnerColumn::ID ? r.ID : column == OwnerColumn::NP ? r.NP : r.Index;
  };
  const bool numeric = column == OwnerColumn::ID || column == OwnerColumn::NP || column == OwnerColumn::Index;
  std::stable_sort(rows.begin(), rows.end(), [&](const OwnerListRow& a, const OwnerListRow& b) {
    const int c = numeric ? (number(a) < number(b) ? -1 : number(a) > number(b) ? 1 : 0)
                          : CompareText1252(ColumnText(a, column), ColumnText(b, column));
    return descending ? c > 0 : c < 0;
  });
}

namespace {

constexpr std::string_view kMailScheme = "mailto:";
// An empty subject and body, as the mail programs expect them after the addresses.
constexpr std::string_view kEmptyMailFields = "?Subject= &Body=";

// The address escaped as the one-address link escapes it.
std::string EscapedAddress(const std::string& address) {
  return MailtoLink(address, "", "", "").substr(kMailScheme.size());
}

}  // namespace

std::string OwnerMailtoLink(const std::string& address) {
  return std::string(kMailScheme) + EscapedAddress(address) + std::string(kEmptyMailFields);
}

std::string OwnersMailtoLink(const std::vector<std::string>& addresses) {
  std::string link(kMailScheme);
  // The ";" after each address stays a separator.
  for (const std::string& a : addresses) link += EscapedAddress(a) + ";";
  return link + std::string(kEmptyMailFields);
}

std::string OwnerWebLink(const std::string& url) {
  const std::string t = Trim(url);
  if (t.empty()) return t;
  const bool hasScheme = t.size() >= 4 && CompareText1252(t.substr(0, 4), "HTTP") == 0;
  return hasScheme ? t : "http://" + t;
}

}  // namespace tb

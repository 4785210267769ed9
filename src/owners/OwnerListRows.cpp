#include "owners/OwnerListRows.h"

#include <algorithm>

#include "owners/OwnerDB.h"
#include "platform/Cp1252.h"
#include "platform/Escape.h"
#include "platform/Text.h"
#include "store/Session.h"

namespace tb {

namespace {

const std::string& ColumnText(const OwnerListRow& r, OwnerColumn c) {
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
  for (int n = 1; n <= s.NumProps(); ++n) sorted_.push_back(s.Prop(n).Owner);
  std::sort(sorted_.begin(), sorted_.end());
}

int PropertyOwnerCounts::operator()(uint16_t id) const {
  const auto [from, to] = std::equal_range(sorted_.begin(), sorted_.end(), id);
  return static_cast<int>(to - from);
}

std::string CommaLines(const std::string& text, size_t limit) {
  std::string out;
  out.reserve(std::min(text.size(), limit));
  for (size_t from = 0; from < text.size() && out.size() < limit;) {
    const size_t br = text.find("\r\n", from);
    const size_t to = br == std::string::npos ? text.size() : br;
    out.append(text, from, std::min(to - from, limit - out.size()));
    if (br == std::string::npos) break;
    if (out.size() < limit) out += ',';
    from = br + 2;
  }
  return out;
}

std::vector<OwnerListRow> OwnerListRows(const Session& s) {
  const std::vector<Owner_Rec>& owners = OwnerList(s);
  const PropertyOwnerCounts np(s);
  std::vector<OwnerListRow> rows(owners.size());
  for (size_t i = 0; i < owners.size(); ++i) {
    const Owner_Rec& o = owners[i];
    OwnerListRow& r = rows[i];
    r.ID = o.OwnerID;
    r.NP = np(o.OwnerID);
    r.Name = o.OwnerSurname + "\xB7 " + o.OwnerFName;
    r.Phone = o.OwnerPhone;
    r.eMail = o.OwnerEmail;
    r.Address = CommaLines(o.OwnerAddress);
    r.DateU = SortableDateText(o.OwnerUpdated);
    r.Comment = CommaLines(o.OwnerNotes, 60);
    r.Index = static_cast<int>(i);
  }
  return rows;
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

std::string OwnersMailtoLink(const std::vector<std::string>& addresses) {
  static const std::string kScheme = "mailto:";
  std::string link = kScheme;
  // Each address escaped as the one-address link escapes it; the ";" between them
  // stays a separator.
  for (const std::string& a : addresses) link += MailtoLink(a, "", "", "").substr(kScheme.size()) + ";";
  return link;
}

std::string OwnerWebLink(const std::string& url) {
  const std::string t = Trim(url);
  if (t.empty()) return t;
  const bool hasScheme = t.size() >= 4 && CompareText1252(t.substr(0, 4), "HTTP") == 0;
  return hasScheme ? t : "http://" + t;
}

}  // namespace tb

#include "correspondence/LetterMerge.h"

#include <cstring>

#include "bookings/Charges.h"
#include "platform/Escape.h"
#include "platform/Format.h"
#include "platform/Text.h"
#include "store/BookRec.h"

namespace tb {

namespace {

// A text for the letter's language: escaped for HTML and rich text, as it is for plain text.
std::string Esc(const std::string& text, ProformaKind kind) {
  switch (kind) {
    case ProformaKind::Htm: return HtmlEscape(text);
    case ProformaKind::Rtf: return RtfEscape(text);
    case ProformaKind::Txt: break;
  }
  return text;
}

// Every CR LF of an (escaped) address as the letter breaks lines.
std::string AddressLines(const std::string& address, ProformaKind kind) {
  const char* lineBreak = kind == ProformaKind::Htm ? "<br />\r\n" : kind == ProformaKind::Rtf ? "\r\n\\par " : "\r\n";
  std::string out;
  size_t pos = 0;
  for (size_t at; (at = address.find("\r\n", pos)) != std::string::npos; pos = at + 2)
    out += address.substr(pos, at - pos) + lineBreak;
  return out + address.substr(pos);
}

std::string LongDate(TDateTime d) { return FormatDateTime("dddd d mmmm yyyy", d); }

constexpr size_t kLongestName = 10;  // "Salutation", "LetterDate"

}  // namespace

std::string LetterSubject(const Session& s, int n, const Book_Rec& r) {
  return s.Prop(n).PropName + ", " + FormatDateTime("dddd d mmmm", r.StartD) + " - " + LongDate(r.EndD);
}

double NetIncome(const Session& s, int n, const Book_Rec& r) {
  const Prop_Rec& p = s.Prop(n);
  double gross = r.Rent;
  for (int k = 1; k <= p.ChargeCount; ++k) {
    if (k == p.RetDepChg || k == p.BookFeeChg) continue;
    gross += r.Money(k);
  }
  const double base = p.FRentOnly ? r.Rent : gross;
  return gross - base * p.MgtFee / 100 * (1 + s.common.Tax / 100);
}

std::vector<MergeField> LetterFields(const Session& s, int n, const Book_Rec& r, ProformaKind kind,
                                     const std::optional<Session::OwnerContact>& owner) {
  const Prop_Rec& p = s.Prop(n);
  // The currency prefix, as HTML writes the pound sign.
  std::string cs = s.common.SpSCur ? std::string() : p.CurrencySymbol();
  if (kind == ProformaKind::Htm && cs == "\xA3") cs = "&pound;";
  // Rich text takes the currency sign as any byte above 127, escaped.
  const auto money = [&cs, kind](double v) {
    return kind == ProformaKind::Rtf ? RtfEscape(MoneyText(v, cs)) : MoneyText(v, cs);
  };
  const std::string names = Trim(r.Fnames + " " + r.Surname);
  const std::string nameBreak = kind == ProformaKind::Htm ? "<br />\r\n" : kind == ProformaKind::Rtf ? "\r\n\\par " : "\r\n";
  // Whatever the number of charges the property shows, as Chg1 to Chg3 are merged.
  const int retDep = p.RetDepChg >= 1 && p.RetDepChg <= 3 ? p.RetDepChg : 0;
  std::string retDepText, netBal;
  if (retDep) {
    retDepText = money(r.Money(retDep));
    netBal = money(r.Balance - r.Money(retDep));
  }
  const double rate = s.common.Tax;
  const double tax = RoundHalfEven(100 * r.Total * rate / (100 + rate)) / 100;
  const TDateTime now = s.clock.Now();
  const std::string salutation = r.Fnames + (r.Has(OmitSName) ? std::string() : " " + r.Surname);
  const bool hasOwner = owner.has_value();
  return {
      {"LetterDate", LongDate(s.clock.Today())},
      {"Addressee", Esc(names, kind) + nameBreak + AddressLines(Esc(r.Address, kind), kind)},
      {"Subject", Esc(LetterSubject(s, n, r), kind)},
      {"Salutation", Esc(salutation, kind)},
      {"Names", Esc(names, kind)},
      {"Deposit", money(r.Deposit)},
      {"Balance", money(r.Balance)},
      {"BalDue", LongDate(r.StartD - 7.0 * p.BalDue)},
      {"PropName", Esc(p.PropName, kind)},
      {"Total", money(r.Total)},
      {"StartDate", FormatDateTime("dddd d mmmm", r.StartD)},
      {"EndDate", FormatDateTime("dddd d mmmm", r.EndD)},
      {"RetDep", retDepText},
      {"NetBal", netBal},
      {"Special", Esc(r.Special, kind)},
      {"Rent", money(r.Rent)},
      {"XChg1", money(r.Chg1)},
      {"XChg2", money(r.Chg2)},
      {"XChg3", money(r.Chg3)},
      {"Tax", money(tax)},
      {"NetOfTax", money(r.Total - tax)},
      {"DepDue", LongDate(r.DateB + p.DepDue)},
      {"Time", FormatDateTime("ddd yyyy-mm-dd hh:nn", now)},
      {"OwnerS", hasOwner ? Esc(owner->surname, kind) : std::string()},
      {"OwnerF", hasOwner ? Esc(owner->firstNames, kind) : std::string()},
      {"NetInc", hasOwner ? money(NetIncome(s, n, r)) : std::string()},
      {"Phone", Esc(r.Phone, kind)},
  };
}

std::string MergeLetter(const std::string& proforma, const std::vector<MergeField>& fields, ProformaKind kind) {
  const bool html = kind == ProformaKind::Htm;
  const bool rtf = kind == ProformaKind::Rtf;
  const char* const text = proforma.data();
  const size_t size = proforma.size();
  std::string out;
  out.reserve(size + size / 8);
  // The next "<" and (rich text) "{" from where the scan stands, each found once.
  const auto next = [text, size](char c, size_t from) {
    const void* at = from < size ? std::memchr(text + from, c, size - from) : nullptr;
    return at ? static_cast<size_t>(static_cast<const char*>(at) - text) : size;
  };
  size_t p = 0;
  size_t lt = next('<', 0), brace = rtf ? next('{', 0) : size;
  while (p < size) {
    if (lt < p) lt = next('<', p);
    if (rtf && brace < p) brace = next('{', p);
    const size_t at = std::min(lt, brace);
    out.append(text + p, at - p);
    p = at;
    if (p >= size) break;
    if (p == brace) {
      // A picture or an optional destination is copied whole, fields and all.
      const bool group = (size - p >= 3 && std::memcmp(text + p, "{\\*", 3) == 0) ||
                         (size - p >= 6 && std::memcmp(text + p, "{\\pict", 6) == 0);
      if (!group) {
        out += '{';
        ++p;
        continue;
      }
      size_t q = p + 1;
      int depth = 1;
      size_t open = next('{', q), close = next('}', q), slash = next('\\', q);
      while (depth > 0 && q < size) {
        const size_t event = std::min({open, close, slash});
        if (event >= size) {
          q = size;
          break;
        }
        q = event + 1;
        if (event == slash) {
          ++q;  // an escaped brace or backslash counts for nothing
          slash = next('\\', q);
          if (open < q) open = next('{', q);
          if (close < q) close = next('}', q);
        } else if (event == open) {
          ++depth;
          open = next('{', q);
        } else {
          --depth;
          close = next('}', q);
        }
      }
      q = std::min(q, size);
      out.append(text + p, q - p);
      p = q;
      continue;
    }
    // "<!Name>" or "<-Name->": the name up to its end mark, looked up among the fields.
    const char* mark = html ? "->" : ">";
    const size_t nameAt = p + 2;
    bool replaced = false;
    if (size - p > 2 && text[p + 1] == (html ? '-' : '!')) {
      // Only as far as the longest name: a "<" without an end never costs a long search.
      const std::string_view window(text + nameAt, std::min<size_t>(size - nameAt, kLongestName + 2));
      const size_t found = window.find(mark);
      const size_t end = found == std::string_view::npos ? std::string::npos : nameAt + found;
      if (end != std::string::npos) {
        const std::string_view name(text + nameAt, end - nameAt);
        for (const MergeField& f : fields) {
          if (f.name != name) continue;
          out += f.value;
          p = end + std::strlen(mark);
          replaced = true;
          break;
        }
      }
    }
    if (!replaced) {
      out += '<';
      ++p;
    }
  }
  return out;
}

}  // namespace tb

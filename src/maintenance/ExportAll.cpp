// "Export all": every booking field, one line per booking, for another database.

#include <cctype>
#include <cmath>

#include "maintenance/Export.h"
#include "maintenance/ExportFields.h"
#include "platform/DateTime.h"
#include "platform/Escape.h"
#include "platform/Format.h"
#include "store/Session.h"

namespace tb {

namespace {

const char* const kHeading =
    "Property,PN,Status,StartD,EndD,Rent,Chg1,Chg2,Chg3,Total,Deposit,Balance,Refund,DateB,DateD,DateP,DateR,"
    "DateUpD,Title,Fnames,Surname,Address,Postcode,Phone,Email,Special,Comments,Source,NumV,Flag\r\n";

void Field(std::string& out, std::string_view text) {
  AppendCsvQuotedOneLine(out, text);
  out += ',';
}

void Amount(std::string& out, double value) {
  // Amounts are whole hundredths nearly always: those are written from their integer
  // (the same text the general rounding gives them); anything else goes the long way.
  const double cents = std::round(value * 100);
  if (std::fabs(value * 100 - cents) < 1e-6 && std::fabs(cents) < 1e15) {
    auto rest = static_cast<unsigned long long>(std::fabs(cents));
    char digits[24];
    size_t at = sizeof digits;
    for (int i = 0; i < 2; ++i, rest /= 10) digits[--at] = static_cast<char>('0' + rest % 10);
    digits[--at] = '.';
    do {
      digits[--at] = static_cast<char>('0' + rest % 10);
      rest /= 10;
    } while (rest != 0);
    if (cents < 0) digits[--at] = '-';
    out.append(digits + at, sizeof digits - at);
  } else {
    out += FixedPointText(value, 2);
  }
  out += ',';
}

void Date(std::string& out, TDateTime d) {
  if (d > 1) AppendIsoDay(out, d);
  out += ',';
}

void Stamp(std::string& out, TDateTime d) {
  AppendIsoDay(out, d);
  out += ' ';
  AppendIsoTime(out, d);
  out += ',';
}

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

void AppendBooking(std::string& out, const Prop_Rec& p, int n, const Book_Rec& b) {
  Field(out, p.PropName);
  out += std::to_string(n) + ',' + std::to_string(b.Status) + ',';
  Date(out, b.StartD);
  Date(out, b.EndD);
  for (const double amount : {b.Rent, b.Chg1, b.Chg2, b.Chg3, b.Total, b.Deposit, b.Balance, b.Refund})
    Amount(out, amount);
  for (const TDateTime d : {b.DateB, b.DateD, b.DateP, b.DateR}) Date(out, d);
  Stamp(out, b.DateUpD);
  const NameParts names = SplitTitle(b.Fnames.view());
  Field(out, names.title);
  Field(out, names.names);
  Field(out, b.Surname.view());
  const PostalAddress a = SplitPostcode(b.Address.view());
  std::string address;
  for (const std::string& line : a.lines) address += line + "\r\n";
  Field(out, address);
  Field(out, a.postcode);
  Field(out, b.Phone.view());
  Field(out, Lower(b.Email.view()));
  Field(out, b.Special.view());
  Field(out, b.Comments.view());
  Field(out, b.Source.view());
  out += std::to_string(b.NumV) + ",\"";
  for (int bit = 0; bit < 8; ++bit) out += (b.Flag >> bit) & 1 ? '1' : '0';
  out += "\"\r\n";
}

}  // namespace

std::string AllBookingsCsv(const Session& s, const ExportRun& run, std::vector<std::string>& log) {
  std::string csv = kHeading;
  // Room for the usual line at once: growing a file of tens of megabytes step by step
  // copies it several times over.
  size_t bookings = 0;
  for (const int n : run.properties) bookings += static_cast<size_t>(s.Prop(n).Bookings.Count());
  csv.reserve(csv.size() + bookings * 320);
  for (const int n : run.properties) {
    const Prop_Rec& p = s.Prop(n);
    int count = 0;
    for (const Book_Buffer* node = p.Bookings.First(); node; node = node->Next) {
      if (node->Rec.EndD < run.from || node->Rec.StartD > run.to) continue;
      AppendBooking(csv, p, n, node->Rec);
      ++count;
    }
    log.push_back("Property: " + p.PropName + ".  Exported " + std::to_string(count) + " Bookings");
  }
  return csv;
}

}  // namespace tb

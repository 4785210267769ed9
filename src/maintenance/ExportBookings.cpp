// The configurable export: the template's items, in its order, under its headings.

#include <cmath>

#include "bookings/BookingStatus.h"
#include "maintenance/Export.h"
#include "maintenance/ExportFields.h"
#include "platform/DateTime.h"
#include "platform/Escape.h"
#include "platform/Format.h"
#include "platform/FormatSettings.h"
#include "platform/Text.h"
#include "store/Session.h"
#include "store/Settings.h"

namespace tb {

namespace {

const char* const kCrLf = "\r\n";

// What a booking needs worked out once for all its items.
struct BookingLine {
  const Book_Rec& b;
  const Prop_Rec& p;
  int n;
  double tax;
  bool titleSplit;    // item 06 is exported: the title comes off the first names
  bool postcodeRule;  // item 09 is exported: the postcode comes off the address
  const FormatSettings& fs;
};

void Quoted(std::string& out, std::string_view value) {
  out += CsvQuoted(value);
  out += ',';
}

void Bare(std::string& out, const std::string& value) {
  out += value;
  out += ',';
}

void Amount(std::string& out, double value) { Bare(out, FixedPointText(value, 2)); }

std::string PaidDate(TDateTime d, const FormatSettings& fs) { return d > 1 ? ShortDateText(d, fs) : "not paid"; }

// A note on one line: trimmed, CR LF as ";", " - " when empty.
std::string NoteText(std::string_view text) {
  const std::string_view trimmed = TrimView(text);
  std::string out;
  for (size_t i = 0; i < trimmed.size(); ++i) {
    if (trimmed[i] == '\r' && i + 1 < trimmed.size() && trimmed[i + 1] == '\n') {
      out += ';';
      ++i;
    } else {
      out += trimmed[i];
    }
  }
  return out.empty() ? " - " : out;
}

std::string FirstNames(const BookingLine& l) {
  return l.titleSplit ? SplitTitle(l.b.Fnames.view()).names : Trim(l.b.Fnames.view());
}

void AppendAddress(std::string& out, const BookingLine& l) {
  const PostalAddress a = l.postcodeRule ? SplitPostcode(l.b.Address.view()) : PostalAddress{};
  std::vector<std::string> lines = l.postcodeRule ? a.lines : TextFileLines(l.b.Address.view());
  for (size_t i = 0; i < 5; ++i) Quoted(out, i < lines.size() ? lines[i] : std::string(" - "));
}

void AppendItem(std::string& out, int code, const BookingLine& l) {
  const Book_Rec& b = l.b;
  switch (code) {
    case 1: return Quoted(out, l.p.PropName);
    case 2: return Quoted(out, ShortDateText(b.StartD, l.fs));
    case 3: return Bare(out, std::to_string(std::lround(b.EndD - b.StartD)));
    case 4: return Amount(out, b.Total);
    case 5: return Quoted(out, TrimView(b.Surname.view()));
    case 6: return Quoted(out, SplitTitle(b.Fnames.view()).title);
    case 7: return Quoted(out, FirstNames(l));
    case 8: return AppendAddress(out, l);
    case 9: return Quoted(out, SplitPostcode(b.Address.view()).postcode);
    case 10: return Quoted(out, TrimView(b.Phone.view()));
    case 11: {
      const std::string_view email = TrimView(b.Email.view());
      return Quoted(out, email.empty() ? " - " : email);
    }
    case 12: return Quoted(out, NoteText(b.Comments.view()));
    case 13: return Quoted(out, NoteText(b.Special.view()));
    case 14: return Bare(out, std::to_string(l.n));
    case 15: return Amount(out, b.Rent);
    case 16: return Amount(out, b.Chg1);
    case 17: return Amount(out, b.Chg2);
    case 18: return Amount(out, b.Chg3);
    case 19: return Amount(out, b.Deposit);
    case 20: return Amount(out, b.Balance);
    case 21: return Bare(out, std::to_string(b.NumV));
    case 22: return Quoted(out, b.Source.view());
    case 23: return Quoted(out, ShortDateText(b.DateB, l.fs));
    case 24: return Quoted(out, PaidDate(b.DateD, l.fs));
    case 25: return Quoted(out, PaidDate(b.DateP, l.fs));
    case 26: return Quoted(out, b.Has(FlagSp) ? "Yes" : "");
    case 27: return Amount(out, b.Total - VatHundredths(b.Total, l.tax) / 100);
    case 28: return Amount(out, VatHundredths(b.Total, l.tax) / 100);
    case 29: return Amount(out, b.Refund);
    case 30: return Quoted(out, PaidDate(b.DateR, l.fs));
    case 31: return Quoted(out, StatusText(b.Status));
    case 32: return Quoted(out, ShortDateText(b.EndD, l.fs));
    default: return;
  }
}

void DropLastCharacter(std::string& line) {
  if (!line.empty()) line.pop_back();
}

std::string HeadingLine(const ExportTemplate& t, const Prop_Rec& p) {
  std::string line;
  for (const ExportItem& item : t.exported) {
    if (item.code == 8) line += "\"Address 1\",\"Address 2\",\"Address 3\",\"Address 4\",\"Address 5\",";
    else if (item.code >= 16 && item.code <= 18) Quoted(line, p.ExtChg[static_cast<size_t>(item.code - 15)]);
    else Quoted(line, item.heading);
  }
  DropLastCharacter(line);
  return line;
}

}  // namespace

std::string BookingsCsv(const Session& s, const ExportTemplate& t, const ExportRun& run, const FormatSettings& fs,
                        std::vector<std::string>& log) {
  std::string csv;
  const bool titleSplit = t.Has(6), postcodeRule = t.Has(9);
  for (const int n : run.properties) {
    const Prop_Rec& p = s.Prop(n);
    if (run.header) csv += CsvQuoted(PropertyTitle(s, n)) + kCrLf;
    csv += HeadingLine(t, p) + kCrLf;
    int count = 0;
    for (const Book_Buffer* node = p.Bookings.First(); node; node = node->Next) {
      const Book_Rec& b = node->Rec;
      if (b.EndD < run.from || b.StartD > run.to || IsPersonalName(b.Surname.str())) continue;
      const BookingLine l{b, p, n, s.common.Tax, titleSplit, postcodeRule, fs};
      std::string line;
      for (const ExportItem& item : t.exported) AppendItem(line, item.code, l);
      DropLastCharacter(line);
      csv += line + kCrLf;
      ++count;
    }
    csv += std::string(" ") + kCrLf;
    log.push_back("Property: " + p.PropName + ".  Exported " + std::to_string(count) + " Bookings");
  }
  return csv;
}

}  // namespace tb

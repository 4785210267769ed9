// One line of an import file made into a booking, field by field, each with its rule.

#include <string>

#include "maintenance/ImportBookings.h"
#include "maintenance/ImportCsv.h"
#include "platform/Text.h"
#include "platform/TextToValue.h"
#include "store/PropRec.h"

namespace tb {

namespace {

std::string_view RightTrimView(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

// Days before the arrival at which the booking, deposit and balance count as made and
// paid, and days after the departure at which the refund counts as paid: bookings
// taken elsewhere come in settled.
constexpr int kPaidBefore = 42;
constexpr int kRefundAfter = 7;

}  // namespace

bool ParseImportLine(std::string_view line, const Prop_Rec& p, TDateTime today, const FormatSettings& fs,
                     Book_Rec& out, std::string& reason) {
  CsvFieldReader reader(line);
  std::string f;
  auto next = [&]() { return reader.Next(f, reason); };
  auto fail = [&](const char* why) {
    reason = why;
    return false;
  };
  out = Book_Rec{};
  out.Status = Free;
  out.NumV = 0;
  out.DateD = out.DateP = out.DateR = 0;

  if (!next()) return false;
  if (f != p.PropName) return fail("Col 1 - property name error");

  TDateTime arrival = 0;
  if (!next() || !TextToDateTime(f, fs, today, arrival, reason)) return false;
  // Stays count whole days: a time of arrival is dropped.
  out.StartD = DateOf(arrival);

  int nights = 0;
  if (!next() || !TextToInt(f, nights, reason)) return false;
  if (nights < 1 || nights > 365) return fail("Col 3 - Duration invalid");
  out.EndD = out.StartD + nights;

  double rent = 0;
  if (!next() || !TextToFloat(f, fs, rent, reason)) return false;
  if (rent < 0) return fail("Col 4 - rent negative");
  out.Rent = out.Total = rent + 0.0;  // "-0" is kept as 0

  if (!next()) return false;
  if (f.size() > 30) return fail("Col 5. Surname>30 chars");
  out.Surname = f;

  std::string title;
  if (!reader.Next(title, reason) || !next()) return false;
  const std::string names = Trim(title + " " + f);
  if (names.size() > 60) return fail("Title+First names>60 chars");
  out.Fnames = names;

  if (!next()) return false;
  std::string address = Trim(f);
  int further = 0;
  for (int i = 0; i < 4; ++i) {
    if (!next()) return false;
    const std::string_view part = RightTrimView(f);
    if (part.empty()) continue;
    address.append("\r\n").append(part);
    ++further;
  }
  if (!next()) return false;
  const std::string_view postcode = RightTrimView(f);
  if (!postcode.empty()) address.append(further == 4 ? " " : "\r\n").append(postcode);
  if (address.size() > 130) return fail("Address+Post code >130 chars");
  out.Address = address;

  // Phone, e-mail and comment: trimmed, each with its limit.
  auto trimmed = [&](size_t limit, const char* tooLong, BookText& into) {
    if (!next()) return false;
    const std::string_view text = TrimView(f);
    if (text.size() > limit) return fail(tooLong);
    into = text;
    return true;
  };
  if (!trimmed(56, "Col 10. Phone>56 chars", out.Phone) || !trimmed(50, "Col 11. email>50 chars", out.Email) ||
      !trimmed(255, "Col 12. Comment>255 chars", out.Comments))
    return false;

  if (!next()) return false;
  const std::string_view status = TrimView(f);
  if (status == "H") out.Status = Hold;
  else if (status.empty()) out.Status = out.StartD <= today ? Complete : Paid;
  else return fail("Col 13. Status not Blank or H");

  out.DateB = out.DateD = out.DateP = out.StartD - kPaidBefore;
  out.DateR = out.EndD + kRefundAfter;
  out.DateUpD = DateOf(today);
  return true;
}

}  // namespace tb

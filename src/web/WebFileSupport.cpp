#include "web/WebFileSupport.h"

#include <cmath>

#include "bookings/Rates.h"
#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "store/DiagnosticLog.h"
#include "store/BookRec.h"
#include "store/PropRec.h"
#include "store/StatusRec.h"

namespace tb {

bool WebDayBooked(const Status_Rec& w, int day) {
  if (w.Closed) return true;
  if (w.DayMask == kWholeWeek) return (w.DayStatus[0] & ~kChangeoverBit) != Hold;
  if ((w.DayMask & (1 << day)) == 0) return false;
  const int st = w.DayStatus[static_cast<size_t>(day)] & ~kChangeoverBit;
  return st != Free && st != Hold;
}

YearWeek WeekHolding(const Prop_Rec& p, TDateTime day) {
  YearWeek w{DecodeDate(day).year, 1};
  TDateTime start = WeekStart(w.year, 1, p);
  if (day < start) start = WeekStart(--w.year, 1, p);
  w.week = static_cast<int>(std::floor((day - start) / 7)) + 1;
  return w;
}

int FirstRateWeek(const Prop_Rec& p, int year, TDateTime today, int ahead) {
  // Before week 1 (the first days of January) the whole weeks come out negative.
  const double weeks = std::trunc((today - WeekStart(year, 1, p)) / 7);
  return weeks + ahead < 1 ? 1 : static_cast<int>(weeks) + ahead;
}

bool WriteWebFile(Session& s, const std::string& path, const std::string& text) {
  if (WriteWholeFile(path, text)) return true;
  WriteLog(s, "QZ1080J Should not occur. Cannot write to file " + PathText(path));
  return false;
}

}  // namespace tb

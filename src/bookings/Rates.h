#pragma once
// Rates files ("Data/RatesYY.bkc"), the rate-year week calendar and the two-year cache.

#include <string>

#include "platform/DateTime.h"
#include "store/PropRec.h"
#include "store/RateRec.h"

namespace tb {

class Session;

// Start of week n (from 1) of rate year y for a changeover day (1 = Sunday .. 7 = Saturday).
TDateTime WeekStart(int year, int week, int changeDay);
inline TDateTime WeekStart(int year, int week, const Prop_Rec& p) { return WeekStart(year, week, p.ChangeDay); }
// 52 or 53.
int WeeksInYear(int year, int changeDay);
inline int WeeksInYear(int year, const Prop_Rec& p) { return WeeksInYear(year, p.ChangeDay); }

// Property folder + "Data/Rates" + the year's last two digits + ".bkc".
std::string RatesFilePath(const Prop_Rec& p, int year);

// Parses a rates file image. What is missing from a short image reads as zeros and
// empty comments; nothing past the buffer is ever read. `complete` (when given) tells
// whether the image held the whole layout and nothing more.
Rate_Rec ParseRates(const std::string& data, bool* complete = nullptr);
// The file image: 48 bytes of header, then 53 entries with trimmed comments.
std::string RatesImage(const Rate_Rec& r);
// Fills r with zeros, then reads the file when it exists; false when there is none.
// `complete` as for ParseRates (false too when there is no file).
bool ReadRatesFile(const std::string& path, Rate_Rec& r, bool* complete = nullptr);

// The rates of property n for a year: from the cache when it holds that year (every
// property in "M", the current one in "C"), else from the file; all zero when missing.
void LoadYearRates(const Session& s, int n, int year, Rate_Rec& r);
// Re-reads each cache slot whose file changed since it was read; true when any was.
bool RefreshRateCache(Session& s, int n);

}  // namespace tb

#pragma once
// Dates between the engine (days since 30 Dec 1899) and Qt's date pickers.

#include <QDate>
#include <cmath>

#include "platform/DateTime.h"

namespace tb {

inline QDate ToQDate(TDateTime dt) {
  if (!std::isfinite(dt) || dt < -657434 || dt > 2958465) return QDate(1899, 12, 30);  // outside 0001..9999
  return QDate(1899, 12, 30).addDays(static_cast<qint64>(std::floor(dt)));
}

inline TDateTime FromQDate(const QDate& d) { return static_cast<TDateTime>(QDate(1899, 12, 30).daysTo(d)); }

// The picker's day, keeping the time of `current` when the day is unchanged.
inline TDateTime PickedDate(const QDate& picked, TDateTime current) {
  return picked == ToQDate(current) ? current : FromQDate(picked);
}

}  // namespace tb

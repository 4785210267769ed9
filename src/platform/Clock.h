#pragma once
// "Today" and "now" come from here, never from the system directly, so tests can
// set the date.

#include <cmath>

#include "platform/DateTime.h"

namespace tb {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual TDateTime Now() const = 0;
  TDateTime Today() const { return std::floor(Now()); }
};

class SystemClock : public Clock {
 public:
  TDateTime Now() const override;  // local time with milliseconds
};

class FixedClock : public Clock {
 public:
  explicit FixedClock(TDateTime now) : now_(now) {}
  TDateTime Now() const override { return now_; }
  void Set(TDateTime now) { now_ = now; }
  void Advance(double days) { now_ += days; }

 private:
  TDateTime now_;
};

}  // namespace tb

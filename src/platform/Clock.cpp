#include "platform/Clock.h"

#include <ctime>

namespace tb {

TDateTime SystemClock::Now() const {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  return FromTimeT(ts.tv_sec) + EncodeTime(0, 0, 0, static_cast<int>(ts.tv_nsec / 1000000));
}

}  // namespace tb

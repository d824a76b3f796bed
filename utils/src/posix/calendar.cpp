#include "utils/calendar.h"

#include <time.h>

namespace Utils {

bool ToLocalCalendarTime(int64_t secondsSinceEpoch, int milliseconds, LocalTime* out) noexcept {
  const time_t seconds = static_cast<time_t>(secondsSinceEpoch);
  if (static_cast<int64_t>(seconds) != secondsSinceEpoch) return false;
  struct tm tm;
  if (localtime_r(&seconds, &tm) == nullptr) return false;
  *out = LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
                   tm.tm_min,         tm.tm_sec,     milliseconds};
  return true;
}

}  // namespace Utils

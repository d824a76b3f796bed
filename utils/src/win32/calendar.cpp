#include "utils/calendar.h"

#include <time.h>

namespace Utils {

// _localtime64_s is the C runtime's reentrant form (msvcrt since XP).
bool ToLocalCalendarTime(int64_t secondsSinceEpoch, int milliseconds, LocalTime* out) noexcept {
  const __time64_t seconds = static_cast<__time64_t>(secondsSinceEpoch);
  struct tm tm;
  if (_localtime64_s(&tm, &seconds) != 0) return false;
  *out = LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
                   tm.tm_min,         tm.tm_sec,     milliseconds};
  return true;
}

}  // namespace Utils

// Calendar conversion of a moment given in seconds since 1970-01-01 UTC.
// Thread safety: any thread; no shared state (the reentrant system calls).
#pragma once

#include <cstdint>

#include "utils/sysinfo.h"

namespace Utils {

// The local calendar time of that moment, millisecond field set to
// `milliseconds`. False (out untouched) when the system cannot represent it.
bool ToLocalCalendarTime(int64_t secondsSinceEpoch, int milliseconds, LocalTime* out) noexcept;

}  // namespace Utils

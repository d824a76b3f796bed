// Process, thread and clock facts used by the log and the stopwatch.
// Thread safety: any thread; no state.
#pragma once

#include <cstdint>

namespace Utils {

uint32_t CurrentProcessId() noexcept;
uint32_t CurrentThreadId() noexcept;

struct LocalTime {
  int year, month, day, hour, minute, second, millisecond;
};
LocalTime GetLocalTimeNow() noexcept;

// Milliseconds of a monotonic clock, truncated to 32 bits (GetTickCount on
// Windows, CLOCK_MONOTONIC elsewhere); wraps after about 49.7 days.
uint32_t TickCount32() noexcept;

// Suspends the calling thread.
void SleepMilliseconds(uint32_t milliseconds) noexcept;

}  // namespace Utils

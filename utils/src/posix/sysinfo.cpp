#include "utils/sysinfo.h"

#include <sys/syscall.h>
#include <sys/time.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

namespace Utils {

uint32_t CurrentProcessId() noexcept { return static_cast<uint32_t>(getpid()); }

uint32_t CurrentThreadId() noexcept { return static_cast<uint32_t>(syscall(SYS_gettid)); }

LocalTime GetLocalTimeNow() noexcept {
  struct timespec ts;
  clock_gettime(CLOCK_REALTIME, &ts);
  struct tm tm;
  localtime_r(&ts.tv_sec, &tm);
  return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
                   tm.tm_min,         tm.tm_sec,     static_cast<int>(ts.tv_nsec / 1000000)};
}

uint32_t TickCount32() noexcept {
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  const uint64_t ms = static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
  return static_cast<uint32_t>(ms);
}

void SleepMilliseconds(uint32_t milliseconds) noexcept {
  struct timespec ts;
  ts.tv_sec = milliseconds / 1000;
  ts.tv_nsec = static_cast<long>(milliseconds % 1000) * 1000000L;
  while (nanosleep(&ts, &ts) == -1 && errno == EINTR) {
  }
}

}  // namespace Utils

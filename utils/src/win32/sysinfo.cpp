// Process, thread and clock facts straight from the system.
#include "utils/sysinfo.h"

#include <windows.h>

namespace Utils {

uint32_t CurrentProcessId() noexcept { return GetCurrentProcessId(); }

uint32_t CurrentThreadId() noexcept { return GetCurrentThreadId(); }

LocalTime GetLocalTimeNow() noexcept {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return LocalTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond,
                   st.wMilliseconds};
}

uint32_t TickCount32() noexcept { return GetTickCount(); }

void SleepMilliseconds(uint32_t milliseconds) noexcept { Sleep(milliseconds); }

}  // namespace Utils

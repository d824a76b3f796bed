// Last-chance crash handler: the callback runs once, then the search goes
// on, so the system's own crash handling (error report, debugger) still
// sees the fault.
#include "utils/crash_handler.h"

#include <windows.h>

#include <atomic>

namespace Utils {

namespace {

std::atomic<CrashCallback> g_callback{nullptr};
std::atomic<bool> g_reported{false};

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS*) {
  // Only the first fault reports; a fault inside the report (or on a second
  // thread meanwhile) goes straight on.
  const CrashCallback callback = g_callback.load();
  if (callback && !g_reported.exchange(true)) callback();
  return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

void InstallCrashHandler(CrashCallback callback) {
  g_callback.store(callback);
  SetUnhandledExceptionFilter(OnUnhandledException);
}

}  // namespace Utils

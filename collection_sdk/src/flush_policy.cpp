#include "collect_sdk/flush_policy.h"

#include "collect_sdk/crash_path.h"
#include "collect_sdk/sdk.h"
#include "utils/sysinfo.h"

namespace collect_sdk {

bool FlushPolicy::Attempt() {
  const int counted = pending_.load();
  if (!Sdk::FlushAll()) return false;
  // Lower by what this attempt covered: records counted by other threads
  // while it ran stay pending for the next flush.
  int current = pending_.load();
  while (!pending_.compare_exchange_weak(current, current > counted ? current - counted : 0)) {
  }
  return true;
}

bool FlushPolicy::FlushNow() {
  bool delivered = false;
  for (int attempt = 0; attempt < kFlushAttempts && pending_.load() > 0; ++attempt) {
    if (attempt > 0) {
      if (CrashPathScope::Active() && CrashPathScope::RemainingMilliseconds() == 0) break;
      Utils::SleepMilliseconds(1);
    }
    if (Attempt()) {
      delivered = true;
      break;
    }
  }
  // A crash handler gets no later flush and no orderly shutdown: what was
  // not delivered now (also when nothing was due) waits on disk.
  if (!delivered && CrashPathScope::Active()) Sdk::Stage();
  return delivered;
}

bool FlushPolicy::FlushAtDestruction() {
  for (int attempt = 0; attempt < kFlushAttempts && pending_.load() > 0; ++attempt) {
    if (Attempt()) return true;
  }
  return false;
}

}  // namespace collect_sdk

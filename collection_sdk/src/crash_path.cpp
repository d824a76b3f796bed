#include "collect_sdk/crash_path.h"

#include <algorithm>

#include "utils/sysinfo.h"

namespace collect_sdk {

namespace {
// Plain data with constant initialisation: reading it on the crash path
// allocates nothing on the systems whose TLS is static.
struct CrashPathState {
  bool active;
  uint32_t deadline;  // TickCount32 value
};
thread_local CrashPathState tCrashPath = {false, 0};

int32_t TicksUntil(uint32_t deadline) {
  return static_cast<int32_t>(deadline - Utils::TickCount32());
}
}  // namespace

CrashPathScope::CrashPathScope(uint32_t budgetMilliseconds) noexcept
    : outerActive_(tCrashPath.active), outerDeadline_(tCrashPath.deadline) {
  const uint32_t deadline = Utils::TickCount32() + budgetMilliseconds;
  if (!outerActive_ || static_cast<int32_t>(deadline - outerDeadline_) < 0) {
    tCrashPath.deadline = deadline;
  }
  tCrashPath.active = true;
}

CrashPathScope::~CrashPathScope() {
  tCrashPath.active = outerActive_;
  tCrashPath.deadline = outerDeadline_;
}

bool CrashPathScope::Active() noexcept { return tCrashPath.active; }

uint32_t CrashPathScope::RemainingMilliseconds() noexcept {
  if (!tCrashPath.active) return 0;
  return static_cast<uint32_t>(std::max<int32_t>(0, TicksUntil(tCrashPath.deadline)));
}

}  // namespace collect_sdk

// CrashReportScope: makes the tracking calls of the current thread safe to
// run from a crash handler.
//
// The faulting thread may hold the record store's locks. While a scope
// lives on a thread, every lock the tracker's calls need on that thread is
// a try-lock with a short deadline (never waited for past the scope's
// budget), and a flush that cannot deliver writes the queue to the staging
// file so the next run sends it. A record that cannot be queued in time is
// dropped rather than waited for. Create and destroy on the same thread;
// scopes nest. Allocates nothing.
#pragma once

#include <cstdint>

#include "collect_sdk/crash_path.h"

namespace kelvo {
namespace tracker {

class CrashReportScope {
 public:
  explicit CrashReportScope(
      uint32_t budgetMilliseconds = collect_sdk::CrashPathScope::kDefaultBudgetMilliseconds) noexcept
      : scope_(budgetMilliseconds) {}
  CrashReportScope(const CrashReportScope&) = delete;
  CrashReportScope& operator=(const CrashReportScope&) = delete;

 private:
  collect_sdk::CrashPathScope scope_;
};

}  // namespace tracker
}  // namespace kelvo

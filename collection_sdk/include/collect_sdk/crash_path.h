// CrashPathScope: bounded, never-blocking SDK calls for a crash handler.
//
// A crash handler runs on the faulting thread, which may be holding any of
// the SDK's locks (it may have faulted inside Track or in the middle of a
// flush), and the process is about to die. While a CrashPathScope lives on a
// thread, every SDK call made on that thread changes behaviour:
//   - each lock (instance, state, queue, flush) is taken by try-lock,
//     waiting at most kCrashLockWaitMilliseconds and never past the scope's
//     deadline; a lock that this thread itself holds counts as unavailable
//     at once, so the thread cannot deadlock on itself;
//   - a batch is sent with a transfer timeout of at most the time left
//     (never more than 3 s), and no batch starts once the deadline passed;
//   - a flush (RecordStore::FlushAll/FlushBatch, Sdk::FlushAll,
//     FlushPolicy::FlushNow) that does not empty the queue writes the queue
//     to the staging file before returning, merged behind anything staged
//     earlier, so the next run sends it; FlushPolicy::FlushNow also stages
//     when the pending counter says nothing is to be sent;
//   - an operation that cannot get a lock in time gives up: Track returns
//     false (the record is dropped), a flush returns false.
// Outside a scope nothing changes. Scopes nest: the earliest deadline wins.
//
// Usage on the crash path (the tracker's trackCrash):
//   collect_sdk::CrashPathScope crashPath;   // default budget
//   collect_sdk::Sdk::Track("AppCrashed", properties);
//   policy.FlushNow();                       // sends, or stages on disk
//
// Thread safety: a scope affects only the thread that created it and must
// be destroyed on that thread. It allocates nothing.
#pragma once

#include <cstdint>

namespace collect_sdk {

class CrashPathScope {
 public:
  static constexpr uint32_t kDefaultBudgetMilliseconds = 4000;
  static constexpr uint32_t kCrashLockWaitMilliseconds = 250;

  explicit CrashPathScope(uint32_t budgetMilliseconds = kDefaultBudgetMilliseconds) noexcept;
  ~CrashPathScope();
  CrashPathScope(const CrashPathScope&) = delete;
  CrashPathScope& operator=(const CrashPathScope&) = delete;

  // True while a scope lives on the calling thread.
  static bool Active() noexcept;
  // Milliseconds left before the calling thread's deadline; 0 when passed,
  // or when no scope is active.
  static uint32_t RemainingMilliseconds() noexcept;

 private:
  bool outerActive_;
  uint32_t outerDeadline_;
};

}  // namespace collect_sdk

// FlushPolicy: when the tracker empties the SDK's record store, driven by
// an atomic pending counter (records queued since the last delivery, as the
// tracker counts them).
//
//   FlushNow            while the counter is above 0, up to 3 Sdk::FlushAll
//                       attempts 1 ms apart; the first success lowers the
//                       counter by the value it had when that attempt began
//                       (so increments made meanwhile by other threads are
//                       kept). Nothing is sent when the counter is 0 or below.
//   FlushLater          adds 1 to the counter; sends nothing, never blocks.
//   FlushAtDestruction  while the counter is above 0, up to 3 back-to-back
//                       FlushAll attempts, first success as above.
// AddPending lets the tracker raise the counter by its profile steps.
//
// On a thread with a CrashPathScope, FlushNow is bounded by the scope's
// deadline and, when it did not deliver (or had nothing to send because the
// counter is 0), stages the queue on disk (Sdk::Stage) for the next run.
//
// Lock order seen from here: this class takes no lock; Sdk::FlushAll takes
// the instance lock (shared), then the store's flush lock, then its queue
// lock.
// Thread safety: any thread. FlushNow and FlushAtDestruction block for the
// network (several seconds when the collector is unreachable).
#pragma once

#include <atomic>

namespace collect_sdk {

class FlushPolicy {
 public:
  static constexpr int kFlushAttempts = 3;

  void SetPending(int value) noexcept { pending_.store(value); }
  void AddPending(int count) noexcept { pending_.fetch_add(count); }
  int Pending() const noexcept { return pending_.load(); }

  // True when the queue was delivered by this call.
  bool FlushNow();
  void FlushLater() noexcept { pending_.fetch_add(1); }
  bool FlushAtDestruction();

 private:
  bool Attempt();  // one FlushAll; lowers the counter on success
  std::atomic<int> pending_{0};
};

}  // namespace collect_sdk

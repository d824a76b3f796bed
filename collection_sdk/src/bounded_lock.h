// Locks of the SDK that become bounded try-locks on the crash path.
//
// Normally they behave as plain mutexes. On a thread with a CrashPathScope a
// lock waits at most CrashPathScope::kCrashLockWaitMilliseconds (never past
// the scope's deadline), and a lock already held by the calling thread - the
// faulting thread may have been inside the SDK - fails at once instead of
// deadlocking.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <shared_mutex>

#include "collect_sdk/crash_path.h"
#include "utils/sysinfo.h"

namespace collect_sdk {

// Polls try_lock until it succeeds or the crash path's lock wait is over.
// (Polling rather than a timed lock: it needs nothing but try_lock, which
// every mutex and every thread checker understands.)
template <typename TryLock>
bool TryLockWithinCrashWait(TryLock tryLock) {
  const uint32_t wait =
      std::min(CrashPathScope::RemainingMilliseconds(), CrashPathScope::kCrashLockWaitMilliseconds);
  const uint32_t start = Utils::TickCount32();
  for (;;) {
    if (tryLock()) return true;
    if (Utils::TickCount32() - start >= wait) return false;
    Utils::SleepMilliseconds(1);
  }
}

class OwnedMutex {
 public:
  // False only on the crash path, when the lock could not be had in time.
  bool Lock() {
    const uint32_t self = Utils::CurrentThreadId();
    if (CrashPathScope::Active()) {
      if (owner_.load(std::memory_order_relaxed) == self) return false;
      if (!TryLockWithinCrashWait([this] { return mutex_.try_lock(); })) return false;
    } else {
      mutex_.lock();
    }
    owner_.store(self, std::memory_order_relaxed);
    return true;
  }
  void Unlock() {
    owner_.store(0, std::memory_order_relaxed);
    mutex_.unlock();
  }
  bool HeldByCurrentThread() const {
    return owner_.load(std::memory_order_relaxed) == Utils::CurrentThreadId();
  }

 private:
  std::mutex mutex_;
  std::atomic<uint32_t> owner_{0};
};

class OwnedLock {
 public:
  explicit OwnedLock(OwnedMutex& mutex) : mutex_(mutex), owns_(mutex.Lock()) {}
  ~OwnedLock() {
    if (owns_) mutex_.Unlock();
  }
  OwnedLock(const OwnedLock&) = delete;
  OwnedLock& operator=(const OwnedLock&) = delete;
  explicit operator bool() const { return owns_; }

 private:
  OwnedMutex& mutex_;
  bool owns_;
};

// Shared (readers) / exclusive (writer) lock with the same crash-path rule.
// A thread's own shared hold cannot be detected; the bounded wait still
// keeps the crash path from hanging on it.
class SharedAccess {
 public:
  SharedAccess(std::shared_mutex& mutex, bool exclusive) : mutex_(mutex), exclusive_(exclusive) {
    if (CrashPathScope::Active()) {
      owns_ = exclusive ? TryLockWithinCrashWait([this] { return mutex_.try_lock(); })
                        : TryLockWithinCrashWait([this] { return mutex_.try_lock_shared(); });
    } else {
      if (exclusive) mutex_.lock();
      else mutex_.lock_shared();
      owns_ = true;
    }
  }
  ~SharedAccess() {
    if (!owns_) return;
    if (exclusive_) mutex_.unlock();
    else mutex_.unlock_shared();
  }
  SharedAccess(const SharedAccess&) = delete;
  SharedAccess& operator=(const SharedAccess&) = delete;
  explicit operator bool() const { return owns_; }

 private:
  std::shared_mutex& mutex_;
  bool exclusive_;
  bool owns_ = false;
};

}  // namespace collect_sdk

// Utils::Thread on std::thread. "Created suspended" is a gate: the new
// thread publishes its id, names itself, then waits until Resume opens the
// gate (or Join/destruction cancels it, in which case the body never runs).
#include "utils/thread.h"

#include <pthread.h>

#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "utils/sysinfo.h"

namespace Utils {

struct Thread::Platform {
  std::thread thread;
  std::mutex mutex;
  std::condition_variable changed;
  bool idKnown = false;
  bool resumed = false;
  bool cancelled = false;
};

Thread::Thread(void* argument, std::wstring name, Body body)
    : body_(std::move(body)), argument_(argument), name_(std::move(name)) {
  platform_ = std::make_unique<Platform>();
  Platform* p = platform_.get();
  try {
    p->thread = std::thread([this, p] {
      {
        std::unique_lock<std::mutex> lock(p->mutex);
        id_ = CurrentThreadId();
        p->idKnown = true;
        p->changed.notify_all();
      }
      // The kernel keeps 15 bytes of a thread name.
      pthread_setname_np(pthread_self(), DebuggerName().substr(0, 15).c_str());
      {
        std::unique_lock<std::mutex> lock(p->mutex);
        p->changed.wait(lock, [p] { return p->resumed || p->cancelled; });
        if (!p->resumed) return;
      }
      CallBack(this);
    });
  } catch (const std::system_error&) {
    platform_.reset();
    return;
  }
  std::unique_lock<std::mutex> lock(p->mutex);
  p->changed.wait(lock, [p] { return p->idKnown; });
}

Thread::~Thread() {
  Join();
  name_.clear();
  body_ = nullptr;
}

bool Thread::Exists() const { return platform_ != nullptr; }

bool Thread::Resume() {
  if (!platform_) return false;
  std::lock_guard<std::mutex> lock(platform_->mutex);
  if (platform_->cancelled) return false;
  platform_->resumed = true;
  platform_->changed.notify_all();
  return true;
}

void Thread::Join() {
  if (!platform_) return;
  {
    std::lock_guard<std::mutex> lock(platform_->mutex);
    if (!platform_->resumed) platform_->cancelled = true;
    platform_->changed.notify_all();
  }
  if (platform_->thread.joinable() && platform_->thread.get_id() != std::this_thread::get_id()) {
    platform_->thread.join();
  } else if (platform_->thread.joinable()) {
    platform_->thread.detach();  // joined from its own body: nothing to wait for
  }
  platform_.reset();
  id_ = 0xFFFFFFFFu;
}

}  // namespace Utils

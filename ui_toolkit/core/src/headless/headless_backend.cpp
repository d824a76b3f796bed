#include "skinui/core/headless_backend.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace skinui {

HeadlessBackend::HeadlessBackend(Size screen) : screen_(screen) {}

HeadlessBackend::~HeadlessBackend() = default;

HeadlessBackend* HeadlessBackend::Installed() {
  return dynamic_cast<HeadlessBackend*>(&Backend::Current());
}

std::unique_ptr<PlatformWindow> HeadlessBackend::CreateNativeWindow(const WindowParams& params,
                                                                    WindowSink* sink) {
  auto window = std::make_unique<HeadlessWindow>(this, params, sink, next_serial_++);
  HeadlessWindow* w = window.get();
  windows_.push_back(w);
  if (sink != nullptr) sink->OnAttached(w);
  w->Send(Message{kWmCreate, 0, 0});
  if (w->IsAlive()) w->SendSizeMessages();
  if (w->IsAlive() && (params.style & kWsVisible) != 0) w->Show(kSwShow);
  return window;
}

void HeadlessBackend::Forget(HeadlessWindow* window) {
  windows_.erase(std::remove(windows_.begin(), windows_.end(), window), windows_.end());
}

HeadlessWindow* HeadlessBackend::BySerial(std::uint64_t serial) const {
  for (HeadlessWindow* w : windows_) {
    if (w->Serial() == serial) return w;
  }
  return nullptr;
}

HeadlessWindow* HeadlessBackend::FindWindow(const std::wstring& class_name) const {
  for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
    if ((*it)->Params().class_name == class_name) return *it;
  }
  return nullptr;
}

bool HeadlessBackend::PaintOne() {
  for (HeadlessWindow* w : windows_) {
    if (w->HasPendingPaint()) {
      w->PaintNow();
      return true;
    }
  }
  return false;
}

bool HeadlessBackend::PumpMessage(bool wait) {
  for (;;) {
    std::function<void()> task;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (quit_) {
        quit_ = false;
        return false;
      }
      if (!tasks_.empty()) {
        task = std::move(tasks_.front());
        tasks_.pop_front();
      }
    }
    if (task) {
      task();
      return true;
    }
    if (PaintOne() || !wait) return true;
    std::unique_lock<std::mutex> lock(mutex_);
    const bool woken = wake_.wait_for(lock, std::chrono::milliseconds(idle_limit_ms_),
                                      [this] { return quit_ || !tasks_.empty(); });
    if (!woken) {
      std::fprintf(stderr,
                   "headless backend: the message loop waited %u ms with nothing queued; "
                   "a test forgot to queue its input\n",
                   idle_limit_ms_);
      std::abort();
    }
  }
}

void HeadlessBackend::PostQuit() {
  std::lock_guard<std::mutex> lock(mutex_);
  quit_ = true;
  wake_.notify_all();
}

void HeadlessBackend::PostTask(std::function<void()> task) {
  std::lock_guard<std::mutex> lock(mutex_);
  tasks_.push_back(std::move(task));
  wake_.notify_all();
}

void HeadlessBackend::RunUntilIdle() {
  for (;;) {
    std::function<void()> task;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (!tasks_.empty()) {
        task = std::move(tasks_.front());
        tasks_.pop_front();
      }
    }
    if (task) {
      task();
      continue;
    }
    if (!PaintOne()) return;
  }
}

void HeadlessBackend::AdvanceClock(std::uint64_t ms) {
  const std::uint64_t target = now_ms_ + ms;
  for (;;) {
    HeadlessWindow* next_window = nullptr;
    std::uintptr_t next_id = 0;
    std::uint64_t next_due = target + 1;
    for (HeadlessWindow* w : windows_) {
      for (const auto& [id, timer] : w->timers_) {
        if (timer.due < next_due) {
          next_due = timer.due;
          next_window = w;
          next_id = id;
        }
      }
    }
    if (next_window == nullptr) break;
    now_ms_ = next_due;
    HeadlessWindow::Timer& timer = next_window->timers_[next_id];
    timer.due += timer.period;
    next_window->Send(Message{kWmTimer, next_id, 0});
  }
  now_ms_ = target;
}

}  // namespace skinui

// The Win32 backend: real windows (Win32Window), the GetMessageW loop, tasks
// from any thread through a hidden message-only window and a locked queue,
// the CF_UNICODETEXT clipboard and the tick clock.
#include <windows.h>

#include <deque>
#include <functional>
#include <mutex>
#include <utility>

#include "skinui/core/backend.h"
#include "win32_window.h"

namespace skinui {
namespace win32 {
namespace {

constexpr UINT kRunTasks = WM_APP + 0x3A1;
constexpr wchar_t kTaskWindowClass[] = L"SkinUITaskWindow";

class Win32Backend final : public Backend {
 public:
  Win32Backend() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &Win32Backend::TaskProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kTaskWindowClass;
    RegisterClassExW(&wc);  // fails harmlessly when a second backend registers again
    task_window_ = CreateWindowExW(0, kTaskWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                   nullptr, GetModuleHandleW(nullptr), nullptr);
    if (task_window_)
      SetWindowLongPtrW(task_window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }

  ~Win32Backend() override {
    if (task_window_) DestroyWindow(task_window_);
  }

  std::unique_ptr<PlatformWindow> CreateNativeWindow(const WindowParams& params,
                                                     WindowSink* sink) override {
    return Win32Window::Create(params, sink);
  }

  bool PumpMessage(bool wait) override {
    MSG msg;
    if (wait) {
      if (GetMessageW(&msg, nullptr, 0, 0) <= 0) return false;
    } else {
      if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return true;
      if (msg.message == WM_QUIT) return false;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
  }

  void PostQuit() override { PostQuitMessage(0); }

  void PostTask(std::function<void()> task) override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      tasks_.push_back(std::move(task));
    }
    PostMessageW(task_window_, kRunTasks, 0, 0);
  }

  std::uint64_t NowMs() const override {
    // GetTickCount wraps every 49.7 days; count the wraps (GetTickCount64
    // is missing on XP).
    std::lock_guard<std::mutex> lock(clock_mutex_);
    const DWORD now = GetTickCount();
    if (now < last_tick_) wraps_ += 1ull << 32;
    last_tick_ = now;
    return wraps_ + now;
  }

  std::wstring ClipboardText() override;
  void SetClipboardText(const std::wstring& text) override;

  bool CompositingAvailable() const override { return LayeredUpdater() != nullptr; }

  Rect ScreenWorkArea() const override {
    RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return Rect{r.left, r.top, r.right, r.bottom};
  }

 private:
  static LRESULT CALLBACK TaskProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<Win32Backend*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == kRunTasks && self) {
      self->RunTasks();
      return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
  }

  // Runs the tasks queued so far, in posting order; tasks posted while they
  // run wait for their own message.
  void RunTasks() {
    std::deque<std::function<void()>> ready;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      ready.swap(tasks_);
    }
    for (auto& task : ready) task();
  }

  HWND task_window_ = nullptr;
  std::mutex mutex_;
  std::deque<std::function<void()>> tasks_;
  mutable std::mutex clock_mutex_;
  mutable DWORD last_tick_ = 0;
  mutable std::uint64_t wraps_ = 0;
};

std::wstring Win32Backend::ClipboardText() {
  std::wstring text;
  if (!OpenClipboard(task_window_)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

// The clipboard is opened for the hidden task window: with no window,
// EmptyClipboard leaves no owner and SetClipboardData fails.
void Win32Backend::SetClipboardText(const std::wstring& text) {
  if (!OpenClipboard(task_window_)) return;
  EmptyClipboard();
  const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
    if (void* dst = GlobalLock(memory)) {
      memcpy(dst, text.c_str(), bytes);
      GlobalUnlock(memory);
      // The clipboard owns the memory once it is accepted.
      if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
    } else {
      GlobalFree(memory);
    }
  }
  CloseClipboard();
}

}  // namespace
}  // namespace win32

std::unique_ptr<Backend> CreatePlatformBackend() { return std::make_unique<win32::Win32Backend>(); }

}  // namespace skinui

// A backend without a window system, for tests and tools: windows are
// offscreen frames, input is injected by the caller, timers run on a test
// clock that only AdvanceClock moves, and PostTask/PostMessage queue work for
// the loop exactly as the real backends do.
//
// Threads: UI thread for everything except Backend::PostTask and
// PlatformWindow::PostMessage (any thread). Injection calls deliver their
// messages synchronously (hit test, then the mouse or key message), so a
// click that opens a nested modal dialog returns only when that dialog's loop
// ends: queue the dialog's input with PostTask beforehand.
//
// Blocking: PumpMessage(true) with nothing queued waits for another thread's
// PostTask; after `idle_limit_ms` of real time without any, it reports the
// hang on standard error and aborts (a test that would wait forever).
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "skinui/core/backend.h"

namespace skinui {

class HeadlessBackend;

class HeadlessWindow : public PlatformWindow {
 public:
  HeadlessWindow(HeadlessBackend* backend, const WindowParams& params, WindowSink* sink,
                 std::uint64_t serial);
  ~HeadlessWindow() override;

  // PlatformWindow.
  bool IsAlive() const override { return alive_; }
  void Destroy() override;
  void Close() override;
  void Show(int show_command) override;
  bool IsVisible() const override { return visible_; }
  bool IsMinimized() const override { return minimized_; }
  bool IsMaximized() const override { return maximized_; }
  void SetEnabled(bool enabled) override { enabled_ = enabled; }
  bool IsEnabled() const override { return enabled_; }
  void Focus() override;
  void SetBounds(const Rect& screen, bool repaint) override;
  Rect Bounds() const override { return bounds_; }
  Size ClientSize() const override { return Size{bounds_.Width(), bounds_.Height()}; }
  Point ClientToScreen(Point client) const override;
  void SetTitle(const std::wstring& title) override { params_.title = title; }
  std::uint32_t Style() const override { return params_.style; }
  void SetStyle(std::uint32_t style) override { params_.style = style; }
  std::uint32_t ExStyle() const override { return params_.ex_style; }
  void SetExStyle(std::uint32_t ex_style) override { params_.ex_style = ex_style; }
  void Invalidate(const Rect& client) override;
  void SetRoundRegion(Size corner) override { region_ = corner; }
  Size RoundRegion() const override { return region_; }
  void PresentLayered(const Surface& argb, Point screen_pos) override;
  void SetTimer(std::uintptr_t id, unsigned ms) override;
  void KillTimer(std::uintptr_t id) override;
  void SetCapture(bool capture) override { captured_ = capture; }
  void SetCursor(CursorKind cursor) override { cursor_ = cursor; }
  void SetTextInputRect(const Rect& caret) override { text_input_rect_ = caret; }
  std::uint32_t Modifiers() const override { return modifiers_; }
  void PostMessage(const Message& message) override;
  void AddMessageObserver(MessageObserver* observer) override;
  void RemoveMessageObserver(MessageObserver* observer) override;
  void* NativeHandle() const override { return const_cast<HeadlessWindow*>(this); }

  // Input injection (client coordinates), delivered at once.
  void MoveMouse(Point client);
  void Press();
  void Release();
  void Click(Point client);  // move, press, release
  void LeaveWindow();        // the pointer leaves the client area
  void SetModifiers(std::uint32_t modifiers) { modifiers_ = modifiers; }
  void KeyDown(std::uint32_t vk);
  void KeyUp(std::uint32_t vk);
  void KeyPress(std::uint32_t vk) { KeyDown(vk); KeyUp(vk); }
  void Text(const std::wstring& text);  // one kWmChar per character
  // Delivers any message as the backend would (observers, sink, defaults).
  std::intptr_t Send(const Message& message);

  // Paints what is invalid now (the loop does it when idle).
  void PaintNow();
  bool HasPendingPaint() const { return !dirty_.IsEmpty(); }
  // The frame as last presented (client size).
  const Surface& Frame() const { return frame_; }
  const Surface& LayeredFrame() const { return layered_; }
  bool SaveFramePng(const std::string& path, std::string* error) const;

  const WindowParams& Params() const { return params_; }
  const Rect& TextInputRect() const { return text_input_rect_; }
  CursorKind Cursor() const { return cursor_; }
  bool Captured() const { return captured_; }
  // Presses answered kHtCaption (a real backend would move the window).
  int CaptionDrags() const { return caption_drags_; }
  std::uint64_t Serial() const { return serial_; }

 private:
  friend class HeadlessBackend;
  struct Timer {
    unsigned period;
    std::uint64_t due;
  };
  void SendSizeMessages();

  HeadlessBackend* backend_;
  WindowParams params_;
  WindowSink* sink_;
  std::uint64_t serial_;
  std::vector<MessageObserver*> observers_;
  std::map<std::uintptr_t, Timer> timers_;
  Rect bounds_;
  Rect dirty_;
  Surface frame_;
  Surface layered_;
  Size region_;
  Rect text_input_rect_;
  CursorKind cursor_ = CursorKind::kArrow;
  Point mouse_;
  bool mouse_inside_ = false;
  bool alive_ = true;
  bool visible_ = false;
  bool minimized_ = false;
  bool maximized_ = false;
  bool enabled_ = true;
  bool captured_ = false;
  bool pressed_ = false;
  int caption_drags_ = 0;
  std::uint32_t modifiers_ = 0;
};

class HeadlessBackend : public Backend {
 public:
  explicit HeadlessBackend(Size screen = Size{1280, 800});
  ~HeadlessBackend() override;

  // Backend.
  std::unique_ptr<PlatformWindow> CreateNativeWindow(const WindowParams& params,
                                                     WindowSink* sink) override;
  bool PumpMessage(bool wait) override;
  void PostQuit() override;
  void PostTask(std::function<void()> task) override;
  std::uint64_t NowMs() const override { return now_ms_; }
  std::wstring ClipboardText() override { return clipboard_; }
  void SetClipboardText(const std::wstring& text) override { clipboard_ = text; }
  bool CompositingAvailable() const override { return compositing_; }
  Rect ScreenWorkArea() const override { return Rect{0, 0, screen_.width, screen_.height}; }

  // Moves the test clock by `ms`, delivering every timer that falls due on
  // the way in time order (a timer due twice in the span fires twice).
  void AdvanceClock(std::uint64_t ms);
  // Runs queued tasks and paints until nothing is left.
  void RunUntilIdle();
  void SetCompositingAvailable(bool on) { compositing_ = on; }
  void SetIdleLimitMs(unsigned ms) { idle_limit_ms_ = ms; }

  // Live native windows, oldest first.
  std::vector<HeadlessWindow*> Windows() const { return windows_; }
  HeadlessWindow* FindWindow(const std::wstring& class_name) const;
  HeadlessWindow* LastWindow() const { return windows_.empty() ? nullptr : windows_.back(); }
  // The backend in use when it is a headless one, else null.
  static HeadlessBackend* Installed();

 private:
  friend class HeadlessWindow;
  void Forget(HeadlessWindow* window);
  HeadlessWindow* BySerial(std::uint64_t serial) const;
  bool PaintOne();

  Size screen_;
  std::vector<HeadlessWindow*> windows_;
  std::uint64_t next_serial_ = 1;
  std::uint64_t now_ms_ = 0;
  std::wstring clipboard_;
  bool compositing_ = true;
  unsigned idle_limit_ms_ = 60000;
  bool quit_ = false;

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> tasks_;
};

}  // namespace skinui

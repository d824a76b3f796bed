// The X11 backend (Xlib only): real top-level windows whose X events are
// turned into the same WM_-shaped messages the Win32 backend delivers,
// presented with XPutImage, rounded with the XShape extension, timers kept
// here and fired from the loop, tasks from any thread through a locked queue
// and a self-pipe in the loop's poll set.
//
// Threads: the UI thread (the one that created the backend) does everything
// except PostTask and X11Window::PostMessage, which any thread may call;
// those touch only the locked queue and the pipe, never Xlib.
// Ownership: the backend owns the display connection and must outlive every
// window it created; the window base owns each X11Window.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

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
namespace x11 {

class X11Window;

struct Atoms {
  Atom wm_protocols, wm_delete_window, motif_wm_hints, net_wm_name, utf8_string,
      net_wm_moveresize, net_supporting_wm_check, net_workarea, clipboard, targets,
      selection_property, net_wm_state, net_wm_state_maximized, net_wm_window_type,
      net_wm_window_type_utility;
};

// Maps a key event to a VK_ code (0 when there is none).
std::uint32_t VirtualKeyFor(KeySym sym);

class X11Backend final : public Backend {
 public:
  // Null when the display cannot be opened.
  static std::unique_ptr<X11Backend> Open();
  ~X11Backend() override;

  std::unique_ptr<PlatformWindow> CreateNativeWindow(const WindowParams& params,
                                                     WindowSink* sink) override;
  bool PumpMessage(bool wait) override;
  void PostQuit() override { quit_ = true; }
  void PostTask(std::function<void()> task) override;
  std::uint64_t NowMs() const override;
  std::wstring ClipboardText() override;
  void SetClipboardText(const std::wstring& text) override;
  bool CompositingAvailable() const override;
  Rect ScreenWorkArea() const override;

  // For the windows.
  Display* display() const { return display_; }
  const Atoms& atoms() const { return atoms_; }
  XIM input_method() const { return input_method_; }
  // A 32-bit TrueColor visual, or null.
  Visual* argb_visual() const { return argb_visual_; }
  // True when a window manager announces itself on the root window.
  bool HasWindowManager() const;
  void Register(Window id, X11Window* window) { windows_[id] = window; }
  void Unregister(Window id);
  void SetTimer(X11Window* window, std::uintptr_t id, unsigned ms);
  void KillTimer(X11Window* window, std::uintptr_t id);
  // Queues `message` for the window `id` (any thread).
  void PostToWindow(Window id, const Message& message);

 private:
  X11Backend(Display* display);
  bool HandleOneEvent();
  bool RunOneTask();
  bool PaintOne();
  bool FireOneTimer();
  void WaitForWork();
  void HandleSelectionRequest(const XSelectionRequestEvent& request);

  struct Timer {
    X11Window* window;
    std::uintptr_t id;
    unsigned period;
    std::uint64_t due;
  };

  Display* display_;
  Atoms atoms_{};
  XIM input_method_ = nullptr;
  Visual* argb_visual_ = nullptr;
  Window clipboard_window_ = 0;
  std::string clipboard_utf8_;
  bool owns_clipboard_ = false;
  std::map<Window, X11Window*> windows_;
  std::vector<Timer> timers_;
  bool quit_ = false;
  int wake_pipe_[2] = {-1, -1};
  std::mutex mutex_;
  std::deque<std::function<void()>> tasks_;
};

class X11Window final : public PlatformWindow {
 public:
  X11Window(X11Backend* backend, WindowSink* sink) : backend_(backend), sink_(sink) {}
  ~X11Window() override;
  // Creates the X window and delivers the creation messages.
  bool Create(const WindowParams& params);

  bool IsAlive() const override { return alive_; }
  void Destroy() override;
  void Close() override;
  void Show(int show_command) override;
  bool IsVisible() const override { return visible_; }
  bool IsMinimized() const override { return minimized_; }
  bool IsMaximized() const override { return maximized_; }
  void SetEnabled(bool enabled) override;
  bool IsEnabled() const override { return enabled_; }
  void Focus() override;
  void SetBounds(const Rect& screen, bool repaint) override;
  Rect Bounds() const override { return bounds_; }
  Size ClientSize() const override { return Size{bounds_.Width(), bounds_.Height()}; }
  Point ClientToScreen(Point client) const override {
    return Point{client.x + bounds_.left, client.y + bounds_.top};
  }
  void SetTitle(const std::wstring& title) override;
  std::uint32_t Style() const override;
  void SetStyle(std::uint32_t style) override;
  std::uint32_t ExStyle() const override { return ex_style_; }
  void SetExStyle(std::uint32_t ex_style) override;
  void Invalidate(const Rect& client) override;
  void SetRoundRegion(Size corner) override;
  Size RoundRegion() const override { return corner_; }
  void PresentLayered(const Surface& argb, Point screen_pos) override;
  void SetTimer(std::uintptr_t id, unsigned ms) override;
  void KillTimer(std::uintptr_t id) override;
  void SetCapture(bool capture) override;
  void SetCursor(CursorKind cursor) override;
  void SetTextInputRect(const Rect& caret) override;
  std::uint32_t Modifiers() const override { return modifiers_; }
  void PostMessage(const Message& message) override;
  void AddMessageObserver(MessageObserver* observer) override;
  void RemoveMessageObserver(MessageObserver* observer) override;
  void* NativeHandle() const override {
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(id_));
  }

  // Loop side (x11_events.cpp).
  void HandleEvent(XEvent& event);
  bool PaintPending() const { return alive_ && mapped_ && !dirty_.IsEmpty(); }
  void PaintNow();
  // Observers first, then the sink, then the default processing.
  std::intptr_t Deliver(const Message& message);
  Window id() const { return id_; }
  XIC input_context() const { return input_context_; }

 private:
  std::intptr_t DefaultProcessing(const Message& message);
  void Notify(const Message& message);
  void ApplyRegion();
  void ApplyBounds(const Rect& screen, bool configure);
  void HandleButton(const XButtonEvent& e, bool press);
  void HandleMotion(const XMotionEvent& e);
  void HandleKey(XKeyEvent& e, bool press);
  void HandleConfigure(const XConfigureEvent& e);
  void HandleFocus(bool in);
  void StartMove(int root_x, int root_y);
  void EndMove();
  void UpdateModifiers(unsigned state);
  void DrawToWindow(const Surface& frame, const Rect& area, int depth, Visual* visual);

  X11Backend* backend_;
  WindowSink* sink_;
  Window id_ = 0;
  GC gc_ = nullptr;
  XIC input_context_ = nullptr;
  Visual* visual_ = nullptr;
  int depth_ = 0;
  Colormap colormap_ = 0;
  bool alive_ = false;
  bool mapped_ = false;
  bool visible_ = false;
  bool minimized_ = false;
  bool maximized_ = false;
  bool enabled_ = true;
  bool layered_ = false;
  bool captured_ = false;
  bool gone_on_server_ = false;  // destroyed by another client
  bool moving_ = false;
  Point move_anchor_;
  Point move_origin_;
  Rect restore_bounds_;
  Rect bounds_;
  Rect dirty_;
  std::uint32_t style_ = 0;
  std::uint32_t ex_style_ = 0;
  std::uint32_t modifiers_ = 0;
  Size corner_{0, 0};
  std::vector<MessageObserver*> observers_;
  std::map<CursorKind, unsigned long> cursors_;
  Surface layered_frame_;  // what PresentLayered showed, drawn again on exposure
};

}  // namespace x11
}  // namespace skinui

// The window-system interface of the toolkit. Core (controls, layout, the
// window base) talks only to these classes; one implementation per window
// system lives elsewhere: Win32 and X11 in skinui_backend (picked by CMake),
// and the headless one in core for tests and tools.
//
// Threads: everything here is called on the UI thread (the thread that
// installed the backend and pumps its messages), except Backend::PostTask and
// PlatformWindow::PostMessage, which any thread may call.
//
// Ownership: Backend::CreateNativeWindow returns the PlatformWindow to its
// caller (the window base), which owns it. The sink and the observers are
// borrowed: they must outlive the native window or be removed first.
//
// Message flow: every message a native window receives goes first to each
// MessageObserver (in the order they were added), then to the sink's
// HandleMessage. When the sink leaves `*handled` false the backend does the
// platform's default processing (DefWindowProc on Win32; for the others the
// defaults listed at WindowSink::HandleMessage).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "skinui/core/messages.h"
#include "skinui/geometry.h"
#include "skinui/surface.h"

namespace skinui {

class PlatformWindow;

// What the window base implements to receive its window's messages.
class WindowSink {
 public:
  virtual ~WindowSink() = default;

  // Called once, before kWmCreate, so the sink knows its window while the
  // creation messages arrive (CreateNativeWindow has not returned yet then).
  virtual void OnAttached(PlatformWindow* window) = 0;

  // One message. Set *handled (initially false) to stop the default
  // processing; the return value is the message's result (for kWmNcHitTest
  // one of kHtClient / kHtCaption ...). Defaults of the non-Win32 backends:
  //   kWmClose       -> PlatformWindow::Destroy()
  //   kWmNcHitTest   -> kHtClient
  //   kHtCaption answered to the hit test of a left-button press -> the
  //                     backend moves the window with the pointer itself
  //                     (Win32 does so natively) and the press is not
  //                     delivered as kWmLButtonDown
  // Mouse messages carry client coordinates packed with PackPoint; key
  // messages carry VK_ codes; kWmChar carries one UTF-16 code unit on Win32
  // and one code point elsewhere. kWmPaint is only a notice here (observers
  // see it too); the drawing itself goes through Paint.
  virtual std::intptr_t HandleMessage(const Message& message, bool* handled) = 0;

  // Render the part `dirty` (client coordinates) of the window into the
  // sink's frame (a surface of the client size) and return that frame; the
  // backend then presents the dirty part of it. Called in place of WM_PAINT's
  // drawing; the returned surface must stay unchanged until the next call.
  virtual const Surface& Paint(const Rect& dirty) = 0;
};

// Sees every message of a window before its sink (the drop shadow follows its
// parent this way). UI thread.
class MessageObserver {
 public:
  virtual ~MessageObserver() = default;
  virtual void OnWindowMessage(PlatformWindow* window, const Message& message) = 0;
};

enum class CursorKind { kArrow, kIBeam, kHand };

struct WindowParams {
  std::wstring class_name;  // window class (Win32); WM_CLASS elsewhere
  std::wstring title;
  // Screen rectangle of the whole window; any member may be kUseDefault
  // (left/top: the system places it; a size of kUseDefault: 0 until set).
  Rect bounds{kUseDefault, kUseDefault, kUseDefault, kUseDefault};
  std::uint32_t style = kWsOverlappedWindow;  // WS_ bits
  std::uint32_t ex_style = 0;                 // WS_EX_ bits
  PlatformWindow* owner = nullptr;            // owner window or none
  bool tool_window = false;                   // no task-bar entry
  // Per-pixel-alpha window painted with PresentLayered only (the shadow);
  // with ex_style kWsExTransparent mouse input passes through it.
  bool layered = false;
};

class PlatformWindow {
 public:
  virtual ~PlatformWindow() = default;  // destroys the native window if alive

  // False once the native window is destroyed (kWmNcDestroy delivered).
  virtual bool IsAlive() const = 0;
  // Destroys the native window now: kWmDestroy then kWmNcDestroy are
  // delivered before this returns. No effect when already destroyed.
  virtual void Destroy() = 0;
  // Like PostMessage(WM_CLOSE): kWmClose arrives later through the loop.
  virtual void Close() = 0;

  // Show commands are the SW_ values (kSwShow, kSwHide, kSwShowNa,
  // kSwMinimize, kSwRestore, kSwShowMaximized ...). kWmShowWindow and, for a
  // change of state, kWmSize follow.
  virtual void Show(int show_command) = 0;
  virtual bool IsVisible() const = 0;
  virtual bool IsMinimized() const = 0;
  virtual bool IsMaximized() const = 0;
  virtual void SetEnabled(bool enabled) = 0;  // a disabled window gets no input
  virtual bool IsEnabled() const = 0;
  virtual void Focus() = 0;                   // activate and take the keyboard

  // Whole-window rectangle in screen coordinates. Without a system frame
  // (no kWsCaption / kWsThickFrame) the client area is the whole window.
  // SetBounds leads to kWmMove / kWmSize.
  virtual void SetBounds(const Rect& screen, bool repaint) = 0;
  virtual Rect Bounds() const = 0;
  virtual Size ClientSize() const = 0;
  virtual Point ClientToScreen(Point client) const = 0;

  virtual void SetTitle(const std::wstring& title) = 0;
  virtual std::uint32_t Style() const = 0;  // WS_ bits
  virtual void SetStyle(std::uint32_t style) = 0;
  virtual std::uint32_t ExStyle() const = 0;  // WS_EX_ bits
  virtual void SetExStyle(std::uint32_t ex_style) = 0;

  // Marks part of the client area for repainting; Paint is called later
  // (coalesced) from the message loop, when no other message is waiting.
  virtual void Invalidate(const Rect& client) = 0;
  // Clips the window to a rectangle with rounded corners of `corner`
  // (ellipse width/height, as CreateRoundRectRgn; the painter's
  // RoundRectRowSpans gives the exact rows). {0,0} removes the region.
  virtual void SetRoundRegion(Size corner) = 0;
  virtual Size RoundRegion() const = 0;
  // For layered windows: replaces the whole window with `argb` (premultiplied,
  // per-pixel alpha) placed at `screen_pos`, resizing the window to the
  // surface's size (UpdateLayeredWindow).
  virtual void PresentLayered(const Surface& argb, Point screen_pos) = 0;

  // kWmTimer with wparam `id` every `ms` milliseconds until killed. Setting an
  // existing id restarts it with the new period.
  virtual void SetTimer(std::uintptr_t id, unsigned ms) = 0;
  virtual void KillTimer(std::uintptr_t id) = 0;

  // Mouse capture: while set, mouse messages come here even outside the
  // window. Backends also deliver kWmMouseLeave once when the pointer leaves
  // the client area (no TrackMouseEvent call needed).
  virtual void SetCapture(bool capture) = 0;
  virtual void SetCursor(CursorKind cursor) = 0;
  // Where the caret of the focused edit is (client coordinates), so the
  // input method places its candidate window there.
  virtual void SetTextInputRect(const Rect& caret) = 0;
  // Modifier keys down now (ModifierBits).
  virtual std::uint32_t Modifiers() const = 0;

  // Any thread, while this object exists: queues `message` for the window;
  // it is delivered from the UI thread's loop. Dropped when the native window
  // is gone by then.
  virtual void PostMessage(const Message& message) = 0;

  virtual void AddMessageObserver(MessageObserver* observer) = 0;
  virtual void RemoveMessageObserver(MessageObserver* observer) = 0;

  // HWND on Win32, the X11 Window id on X11, an opaque pointer headless.
  virtual void* NativeHandle() const = 0;
};

class Backend {
 public:
  virtual ~Backend() = default;

  // The process's backend. When none was installed, a headless backend is
  // installed on first use. UI thread.
  static Backend& Current();
  // Replaces the process's backend (before any window exists). UI thread.
  static void Install(std::unique_ptr<Backend> backend);

  // Creates a native window; kWmCreate (and the initial kWmSize) reach the
  // sink before this returns. Null when the window system refuses.
  virtual std::unique_ptr<PlatformWindow> CreateNativeWindow(const WindowParams& params,
                                                             WindowSink* sink) = 0;

  // Handles one message or task (or one pending paint). With `wait`, blocks
  // until there is one; without, returns at once when there is none. Returns
  // false when a quit was requested (PostQuit), true otherwise.
  virtual bool PumpMessage(bool wait) = 0;
  // Makes the next PumpMessage return false (PostQuitMessage). UI thread.
  virtual void PostQuit() = 0;

  // Any thread: runs `task` on the UI thread from the loop, in posting order,
  // and wakes a waiting PumpMessage.
  virtual void PostTask(std::function<void()> task) = 0;

  // Monotonic milliseconds (the headless backend answers its test clock).
  virtual std::uint64_t NowMs() const = 0;

  virtual std::wstring ClipboardText() = 0;
  virtual void SetClipboardText(const std::wstring& text) = 0;

  // True when per-pixel-alpha (layered / ARGB) windows can be shown.
  virtual bool CompositingAvailable() const = 0;
  // The work area of the primary screen (for centring and default places).
  virtual Rect ScreenWorkArea() const = 0;
};

// Implemented by skinui_backend: the backend of the platform the program was
// built for (Win32 or X11). Null when the window system cannot be reached
// (no X display).
std::unique_ptr<Backend> CreatePlatformBackend();

}  // namespace skinui

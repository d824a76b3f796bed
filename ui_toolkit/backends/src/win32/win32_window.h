// A real Win32 window behind the toolkit's PlatformWindow: one window class
// per class name, every message handed to the observers and the sink, and
// the sink's frame presented through a 32-bit top-down DIB.
//
// Threads: UI thread (the thread that created the window), except
// PostMessage, which any thread may call while the object exists.
// Ownership: the window base owns this object; the sink and the observers
// are borrowed.
#pragma once

#include <windows.h>

#include <vector>

#include "skinui/core/backend.h"

namespace skinui {
namespace win32 {

// UpdateLayeredWindow, looked up in USER32.DLL (null when missing).
using UpdateLayeredWindowFn = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                            BLENDFUNCTION*, DWORD);
UpdateLayeredWindowFn LayeredUpdater();

// Copies the part `area` (client coordinates) of `frame` into `dc` at the
// same place, through a top-down 32-bit DIB (SetDIBitsToDevice).
void PresentFrame(HDC dc, const Surface& frame, const Rect& area);

class Win32Window final : public PlatformWindow {
 public:
  // Creates the native window; null when the system refuses.
  static std::unique_ptr<Win32Window> Create(const WindowParams& params, WindowSink* sink);
  ~Win32Window() override;

  bool IsAlive() const override { return hwnd_ != nullptr; }
  void Destroy() override;
  void Close() override;
  void Show(int show_command) override;
  bool IsVisible() const override;
  bool IsMinimized() const override;
  bool IsMaximized() const override;
  void SetEnabled(bool enabled) override;
  bool IsEnabled() const override;
  void Focus() override;
  void SetBounds(const Rect& screen, bool repaint) override;
  Rect Bounds() const override;
  Size ClientSize() const override;
  Point ClientToScreen(Point client) const override;
  void SetTitle(const std::wstring& title) override;
  std::uint32_t Style() const override;
  void SetStyle(std::uint32_t style) override;
  std::uint32_t ExStyle() const override;
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
  std::uint32_t Modifiers() const override;
  void PostMessage(const Message& message) override;
  void AddMessageObserver(MessageObserver* observer) override;
  void RemoveMessageObserver(MessageObserver* observer) override;
  void* NativeHandle() const override { return hwnd_; }

 private:
  explicit Win32Window(WindowSink* sink) : sink_(sink) {}
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);
  void Notify(const Message& message);
  void PaintNow();
  void PrintClient(HDC dc);
  bool SetCursorForClient();
  void ApplyRegion();

  HWND hwnd_ = nullptr;
  WindowSink* sink_;
  std::vector<MessageObserver*> observers_;
  Size corner_{0, 0};
  CursorKind cursor_ = CursorKind::kArrow;
  bool tracking_leave_ = false;
};

}  // namespace win32
}  // namespace skinui

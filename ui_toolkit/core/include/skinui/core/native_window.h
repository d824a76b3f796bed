// CNativeWindow: one top-level native window seen through the backend, with
// creation, showing, closing with a result code, the modal loop and
// thread-safe posting. Derived classes receive the window's messages through
// OnWindowMessage.
//
// Threads: UI thread, except PostMessage (any thread while this object
// exists). Ownership: owns its PlatformWindow; destroying the object
// destroys the native window.
//
// Modal loop: ShowModal disables the owner, shows the window and pumps the
// backend's loop until this window is destroyed, then enables the owner
// again and returns the result code of the kWmClose that ended it (wparam of
// Close(code); 0 for a close asked by the system, such as Alt+F4). Dialogs
// opened from inside run their own nested loops on the same thread. A quit
// request ends the loop early and is passed on to the outer loop.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "skinui/core/backend.h"

namespace skinui {

class CNativeWindow : public WindowSink {
 public:
  CNativeWindow();
  ~CNativeWindow() override;
  CNativeWindow(const CNativeWindow&) = delete;
  CNativeWindow& operator=(const CNativeWindow&) = delete;

  virtual std::wstring WindowClassName() const = 0;
  virtual std::wstring SuperClassName() const { return std::wstring(); }
  virtual std::uint32_t ClassStyle() const { return 0; }
  // Every message of the window. The base leaves *handled false.
  virtual std::intptr_t OnWindowMessage(std::uint32_t msg, std::uintptr_t wparam,
                                        std::intptr_t lparam, bool* handled);
  // After the last message (kWmNcDestroy) of the native window.
  virtual void OnWindowFinished() {}

  // Creates the native window (kWmCreate runs inside). False when the
  // backend refuses. `bounds` is a screen rectangle; kUseDefault members
  // leave the choice to the system (and the layout).
  bool Create(CNativeWindow* owner, const std::wstring& title, std::uint32_t style,
              std::uint32_t ex_style,
              const Rect& bounds = Rect{kUseDefault, kUseDefault, kUseDefault, kUseDefault});
  // The native window (also while kWmCreate runs), or null before Create.
  PlatformWindow* Window() const { return window_ != nullptr ? window_.get() : attaching_; }
  bool IsWindow() const { return Window() != nullptr && Window()->IsAlive(); }
  // Destroys the native window now (kWmDestroy, kWmNcDestroy delivered).
  void DestroyWindow();

  void ShowWindow(bool show = true, bool take_focus = true);
  int ShowModal();
  // Posts kWmClose with `code` as wparam (the modal result).
  void Close(int code = 1);
  // Centres on the owner when it is visible, else on the screen's work area.
  void CenterWindow();
  // Any thread.
  void PostMessage(std::uint32_t msg, std::uintptr_t wparam = 0, std::intptr_t lparam = 0);
  // UI thread: delivers at once, as the window's own messages are.
  std::intptr_t SendMessage(std::uint32_t msg, std::uintptr_t wparam = 0, std::intptr_t lparam = 0);
  // A timer of the window itself (kWmTimer reaches OnWindowMessage).
  void SetWindowTimer(std::uintptr_t id, unsigned ms);
  void KillWindowTimer(std::uintptr_t id);

  // WindowSink.
  void OnAttached(PlatformWindow* window) override;
  std::intptr_t HandleMessage(const Message& message, bool* handled) override;
  const Surface& Paint(const Rect& dirty) override;

 protected:
  // Messages pass this first; true stops them (the keyboard filter).
  virtual bool PreFilter(const Message& message, std::intptr_t* result);
  CNativeWindow* Owner() const { return owner_; }

 private:
  std::unique_ptr<PlatformWindow> window_;
  PlatformWindow* attaching_ = nullptr;  // during creation, before window_ is set
  CNativeWindow* owner_ = nullptr;
  int close_code_ = 0;
  Surface empty_frame_;
};

}  // namespace skinui

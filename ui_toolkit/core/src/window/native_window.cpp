#include "skinui/core/native_window.h"

namespace skinui {

CNativeWindow::CNativeWindow() = default;

CNativeWindow::~CNativeWindow() {
  // Destroy while the derived parts are gone but this sink still exists; the
  // messages then reach only the base handlers.
  DestroyWindow();
}

void CNativeWindow::DestroyWindow() {
  if (window_ != nullptr) window_->Destroy();
}

std::intptr_t CNativeWindow::OnWindowMessage(std::uint32_t, std::uintptr_t, std::intptr_t,
                                             bool* handled) {
  *handled = false;
  return 0;
}

bool CNativeWindow::Create(CNativeWindow* owner, const std::wstring& title, std::uint32_t style,
                           std::uint32_t ex_style, const Rect& bounds) {
  if (window_ != nullptr) window_->Destroy();
  owner_ = owner;
  close_code_ = 0;
  WindowParams params;
  params.class_name = WindowClassName();
  params.title = title;
  params.bounds = bounds;
  params.style = style;
  params.ex_style = ex_style;
  params.owner = owner != nullptr ? owner->Window() : nullptr;
  params.tool_window = (ex_style & kWsExToolWindow) != 0;
  params.layered = (ex_style & kWsExLayered) != 0;
  attaching_ = nullptr;
  window_ = Backend::Current().CreateNativeWindow(params, this);
  attaching_ = window_.get();
  return window_ != nullptr;
}

void CNativeWindow::OnAttached(PlatformWindow* window) { attaching_ = window; }

void CNativeWindow::ShowWindow(bool show, bool take_focus) {
  PlatformWindow* w = Window();
  if (w == nullptr) return;
  w->Show(show ? (take_focus ? kSwShowNormal : kSwShowNoActivate) : kSwHide);
  if (show && take_focus) w->Focus();
}

int CNativeWindow::ShowModal() {
  if (!IsWindow()) return -1;
  PlatformWindow* owner = owner_ != nullptr ? owner_->Window() : nullptr;
  if (owner != nullptr) owner->SetEnabled(false);
  ShowWindow(true, true);
  Backend& backend = Backend::Current();
  while (IsWindow()) {
    if (!backend.PumpMessage(true)) {
      backend.PostQuit();  // the outer loop ends too
      break;
    }
  }
  if (owner != nullptr && owner->IsAlive()) {
    owner->SetEnabled(true);
    owner->Focus();
  }
  return close_code_;
}

void CNativeWindow::Close(int code) {
  if (IsWindow()) Window()->PostMessage(Message{kWmClose, static_cast<std::uintptr_t>(code), 0});
}

void CNativeWindow::CenterWindow() {
  PlatformWindow* w = Window();
  if (w == nullptr) return;
  Rect around = Backend::Current().ScreenWorkArea();
  PlatformWindow* owner = owner_ != nullptr ? owner_->Window() : nullptr;
  if (owner != nullptr && owner->IsAlive() && owner->IsVisible() && !owner->IsMinimized())
    around = owner->Bounds();
  const Rect b = w->Bounds();
  const int x = around.left + (around.Width() - b.Width()) / 2;
  const int y = around.top + (around.Height() - b.Height()) / 2;
  w->SetBounds(Rect::FromSize(x, y, b.Width(), b.Height()), false);
}

void CNativeWindow::PostMessage(std::uint32_t msg, std::uintptr_t wparam, std::intptr_t lparam) {
  if (Window() != nullptr) Window()->PostMessage(Message{msg, wparam, lparam});
}

std::intptr_t CNativeWindow::SendMessage(std::uint32_t msg, std::uintptr_t wparam,
                                         std::intptr_t lparam) {
  bool handled = false;
  return HandleMessage(Message{msg, wparam, lparam}, &handled);
}

void CNativeWindow::SetWindowTimer(std::uintptr_t id, unsigned ms) {
  if (IsWindow()) Window()->SetTimer(id, ms);
}

void CNativeWindow::KillWindowTimer(std::uintptr_t id) {
  if (IsWindow()) Window()->KillTimer(id);
}

bool CNativeWindow::PreFilter(const Message&, std::intptr_t*) { return false; }

std::intptr_t CNativeWindow::HandleMessage(const Message& m, bool* handled) {
  if (m.id == kWmClose) close_code_ = static_cast<int>(m.wparam);
  std::intptr_t result = 0;
  if (PreFilter(m, &result)) {
    *handled = true;
    return result;
  }
  result = OnWindowMessage(m.id, m.wparam, m.lparam, handled);
  if (m.id == kWmNcDestroy) OnWindowFinished();
  return result;
}

const Surface& CNativeWindow::Paint(const Rect&) { return empty_frame_; }

}  // namespace skinui

// The shadow on window systems other than Win32: a per-pixel-alpha window
// of the installed backend (shown only where a compositing server can blend
// it) and a message observer on the parent in place of subclassing.
#include "skinui/shadow/shadow_host.h"

#include "skinui/shadow/window_shadow.h"

namespace skinui {
namespace {

bool g_class_registered = false;

class BackendShadowHost final : public ShadowHost, MessageObserver, WindowSink {
 public:
  ~BackendShadowHost() override {
    UnhookParent();
    window_.reset();
  }

  bool LayeredWindowsAvailable() const override {
    return Backend::Current().CompositingAvailable();
  }

  bool CreateShadowWindow(PlatformWindow* parent) override {
    WindowParams params;
    params.class_name = L"SkinShadowWnd";
    params.bounds = Rect{0, 0, 0, 0};
    params.style = kWsPopupWindow;
    params.ex_style = kWsExLayered | kWsExTransparent;
    params.owner = parent;
    params.tool_window = true;
    params.layered = true;
    window_ = Backend::Current().CreateNativeWindow(params, this);
    return window_ != nullptr;
  }

  bool ShadowWindowExists() const override { return window_ && window_->IsAlive(); }
  void DestroyShadowWindow() override {
    if (window_) window_->Destroy();
  }
  void CloseShadowWindow() override {
    if (window_) window_->Close();
  }
  void ShowShadowWindow(bool show) override {
    if (ShadowWindowExists()) window_->Show(show ? kSwShowNa : kSwHide);
  }
  void MoveShadowWindow(Point screen) override {
    if (!ShadowWindowExists()) return;
    const Rect b = window_->Bounds();
    window_->SetBounds(Rect::FromSize(screen.x, screen.y, b.Width(), b.Height()), false);
  }
  void PresentShadow(const Surface& pixels, Point screen) override {
    if (ShadowWindowExists()) window_->PresentLayered(pixels, screen);
  }

  void HookParent(PlatformWindow* parent, CWindowShadow* shadow) override {
    UnhookParent();
    parent_ = parent;
    shadow_ = shadow;
    parent_->AddMessageObserver(this);
  }
  void UnhookParent() override {
    // During the parent's last message its observer list is being walked;
    // the window sends nothing afterwards, so the pointer is only dropped.
    if (parent_ && !in_last_message_) parent_->RemoveMessageObserver(this);
    parent_ = nullptr;
    shadow_ = nullptr;
  }

 private:
  void OnWindowMessage(PlatformWindow* window, const Message& message) override {
    if (window != parent_ || !shadow_) return;
    in_last_message_ = message.id == kWmNcDestroy;
    shadow_->OnParentMessage(message);
    if (in_last_message_) {
      parent_ = nullptr;
      shadow_ = nullptr;
      in_last_message_ = false;
    }
  }

  // The shadow window draws nothing itself: PresentLayered replaces it.
  void OnAttached(PlatformWindow*) override {}
  std::intptr_t HandleMessage(const Message&, bool*) override { return 0; }
  const Surface& Paint(const Rect&) override { return empty_; }

  std::unique_ptr<PlatformWindow> window_;
  PlatformWindow* parent_ = nullptr;
  CWindowShadow* shadow_ = nullptr;
  bool in_last_message_ = false;
  Surface empty_;
};

}  // namespace

std::unique_ptr<ShadowHost> CreatePlatformShadowHost() {
  return std::make_unique<BackendShadowHost>();
}

bool RegisterPlatformShadowClass(void*) {
  if (g_class_registered) return false;
  if (!Backend::Current().CompositingAvailable()) return false;
  g_class_registered = true;
  return true;
}

}  // namespace skinui

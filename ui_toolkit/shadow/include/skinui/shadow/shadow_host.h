// The window-system half of the drop shadow: the layered companion window
// and the hook that lets the shadow see its parent's messages first.
//
// One implementation per platform is picked by CMake (Win32: a real layered
// window of class "SkinShadowWnd" and a subclassed parent window procedure;
// elsewhere: a per-pixel-alpha window of the installed backend and a message
// observer on the parent). Tests may hand CWindowShadow their own host.
//
// Threads: UI thread only. Ownership: the host belongs to one CWindowShadow;
// the parent window is borrowed and outlives the hook (the host forgets it
// when the parent's kWmNcDestroy passes).
#pragma once

#include <memory>

#include "skinui/core/backend.h"
#include "skinui/geometry.h"
#include "skinui/surface.h"

namespace skinui {

class CWindowShadow;

class ShadowHost {
 public:
  virtual ~ShadowHost() = default;

  // Per-pixel-alpha windows can be shown (UpdateLayeredWindow exists; a
  // compositing X server runs).
  virtual bool LayeredWindowsAvailable() const = 0;

  // Creates the hidden shadow window of size 0 x 0 owned by `parent`; mouse
  // input passes through it. False when the window system refuses.
  virtual bool CreateShadowWindow(PlatformWindow* parent) = 0;
  virtual bool ShadowWindowExists() const = 0;
  // Destroys the shadow window now (the parent is being destroyed).
  virtual void DestroyShadowWindow() = 0;
  // Asks the shadow window to close later (posted WM_CLOSE); the host may be
  // destroyed right after this call.
  virtual void CloseShadowWindow() = 0;

  // Shows without activating (SW_SHOWNA) or hides the shadow window.
  virtual void ShowShadowWindow(bool show) = 0;
  // Moves the shadow window's top-left corner to `screen`: no size change,
  // no activation, no z-order change.
  virtual void MoveShadowWindow(Point screen) = 0;
  // Moves and sizes the shadow window to `pixels` at `screen` (no repaint),
  // then replaces its contents with `pixels` (premultiplied BGRA, top-down)
  // blended per pixel (AC_SRC_OVER, constant alpha 255, AC_SRC_ALPHA).
  virtual void PresentShadow(const Surface& pixels, Point screen) = 0;

  // From now on every message of `parent` reaches shadow->OnParentMessage
  // before the parent's own handling. Undone by UnhookParent or when the
  // parent's kWmNcDestroy has passed.
  virtual void HookParent(PlatformWindow* parent, CWindowShadow* shadow) = 0;
  virtual void UnhookParent() = 0;
};

// The host of the platform the program was built for.
std::unique_ptr<ShadowHost> CreatePlatformShadowHost();

// Registers the shadow window class once per process (Win32: class
// "SkinShadowWnd" with CS_HREDRAW | CS_VREDRAW, the arrow cursor,
// background brush value 6 and DefWindowProcW; `instance` is the HINSTANCE).
// False when it was done before or layered windows are not available.
bool RegisterPlatformShadowClass(void* instance);

}  // namespace skinui

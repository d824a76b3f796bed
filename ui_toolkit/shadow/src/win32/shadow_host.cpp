// The shadow on Win32: a layered window of class "SkinShadowWnd" (mouse
// input passes through it) updated with UpdateLayeredWindow, which is looked
// up in USER32.DLL at run time, and a subclassed parent window procedure
// that shows every parent message to the shadow first.
#include "skinui/shadow/shadow_host.h"

#include <windows.h>

#include <cstring>
#include <map>

#include "skinui/shadow/window_shadow.h"

namespace skinui {
namespace {

using UpdateLayeredWindowFn = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                            BLENDFUNCTION*, DWORD);

constexpr wchar_t kShadowClass[] = L"SkinShadowWnd";

UpdateLayeredWindowFn g_update_layered = nullptr;
HINSTANCE g_instance = nullptr;
bool g_class_registered = false;

// Parent window -> the procedure it had before the shadow subclassed it.
// Kept until the parent's WM_NCDESTROY even when the shadow goes first and
// another subclass sits on top, so the chain always reaches the original.
std::map<HWND, WNDPROC>& PreviousProcs() {
  static std::map<HWND, WNDPROC> procs;
  return procs;
}

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto it = PreviousProcs().find(hwnd);
  if (it == PreviousProcs().end()) return DefWindowProcW(hwnd, msg, wp, lp);
  const WNDPROC previous = it->second;
  if (CWindowShadow* shadow = CWindowShadow::FindShadow(hwnd))
    shadow->OnParentMessage(Message{msg, static_cast<std::uintptr_t>(wp),
                                    static_cast<std::intptr_t>(lp)});
  if (msg == WM_NCDESTROY) {
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) == ParentProc)
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    PreviousProcs().erase(hwnd);
  }
  return CallWindowProcW(previous, hwnd, msg, wp, lp);
}

class LayeredShadowHost final : public ShadowHost {
 public:
  ~LayeredShadowHost() override { UnhookParent(); }

  bool LayeredWindowsAvailable() const override { return g_update_layered != nullptr; }

  bool CreateShadowWindow(PlatformWindow* parent) override {
    hwnd_ = CreateWindowExW(WS_EX_LAYERED | WS_EX_TRANSPARENT, kShadowClass, nullptr,
                            WS_POPUPWINDOW, CW_USEDEFAULT, 0, 0, 0,
                            static_cast<HWND>(parent->NativeHandle()), nullptr, g_instance,
                            nullptr);
    return hwnd_ != nullptr;
  }
  bool ShadowWindowExists() const override { return hwnd_ && IsWindow(hwnd_); }
  void DestroyShadowWindow() override {
    if (ShadowWindowExists()) DestroyWindow(hwnd_);
    hwnd_ = nullptr;
  }
  void CloseShadowWindow() override {
    if (ShadowWindowExists()) PostMessageW(hwnd_, WM_CLOSE, 0, 0);
    hwnd_ = nullptr;
  }
  void ShowShadowWindow(bool show) override {
    if (ShadowWindowExists()) ShowWindow(hwnd_, show ? SW_SHOWNA : SW_HIDE);
  }
  void MoveShadowWindow(Point screen) override {
    if (ShadowWindowExists())
      SetWindowPos(hwnd_, nullptr, screen.x, screen.y, 0, 0,
                   SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
  }
  void PresentShadow(const Surface& pixels, Point screen) override;

  void HookParent(PlatformWindow* parent, CWindowShadow*) override {
    UnhookParent();
    parent_ = static_cast<HWND>(parent->NativeHandle());
    if (PreviousProcs().count(parent_)) return;  // still chained from an earlier shadow
    const LONG_PTR previous =
        SetWindowLongPtrW(parent_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ParentProc));
    PreviousProcs()[parent_] = reinterpret_cast<WNDPROC>(previous);
  }
  void UnhookParent() override {
    if (!parent_) return;
    auto it = PreviousProcs().find(parent_);
    // Only undone when nobody subclassed the parent after us.
    if (it != PreviousProcs().end() && IsWindow(parent_) &&
        reinterpret_cast<WNDPROC>(GetWindowLongPtrW(parent_, GWLP_WNDPROC)) == ParentProc) {
      SetWindowLongPtrW(parent_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(it->second));
      PreviousProcs().erase(it);
    }
    parent_ = nullptr;
  }

 private:
  HWND hwnd_ = nullptr;
  HWND parent_ = nullptr;
};

// The pixels go through a 32-bit DIB with a positive height (rows stored
// bottom-up), so the surface's top row becomes the DIB's last.
void LayeredShadowHost::PresentShadow(const Surface& pixels, Point screen) {
  if (!ShadowWindowExists() || !g_update_layered) return;
  const int w = pixels.Width(), h = pixels.Height();
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dib || !bits) return;
  auto* dst = static_cast<std::uint32_t*>(bits);
  for (int y = 0; y < h; ++y)
    std::memcpy(dst + static_cast<std::size_t>(h - 1 - y) * w, pixels.Row(y),
                static_cast<std::size_t>(w) * 4);
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(memory, dib);
  SetWindowPos(hwnd_, nullptr, screen.x, screen.y, w, h,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  POINT position{screen.x, screen.y};
  POINT source{0, 0};
  SIZE size{w, h};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  g_update_layered(hwnd_, nullptr, &position, &size, memory, &source, 0, &blend, ULW_ALPHA);
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(dib);
}

}  // namespace

std::unique_ptr<ShadowHost> CreatePlatformShadowHost() {
  return std::make_unique<LayeredShadowHost>();
}

bool RegisterPlatformShadowClass(void* instance) {
  if (g_class_registered) return false;
  HMODULE user32 = GetModuleHandleW(L"USER32.DLL");
  if (!user32) return false;
  g_update_layered = reinterpret_cast<UpdateLayeredWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(user32, "UpdateLayeredWindow")));
  if (!g_update_layered) return false;
  g_instance = instance ? static_cast<HINSTANCE>(instance) : GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = g_instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(6));
  wc.lpszClassName = kShadowClass;
  if (!RegisterClassExW(&wc)) return false;
  g_class_registered = true;
  return true;
}

}  // namespace skinui

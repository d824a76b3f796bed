// The shadow on Win32 with real windows (run under Wine): the class is
// registered once, a real layered window of class "SkinShadowWnd" owned by
// the parent appears with WS_EX_LAYERED | WS_EX_TRANSPARENT at the size and
// position rules, and the subclassed parent procedure drives it.
#include <windows.h>

#include <gtest/gtest.h>

#include "skinui/core/backend.h"
#include "skinui/shadow/window_shadow.h"

namespace skinui {
namespace {

class FrameSink final : public WindowSink {
 public:
  Surface frame{60, 40};
  void OnAttached(PlatformWindow*) override {}
  std::intptr_t HandleMessage(const Message&, bool*) override { return 0; }
  const Surface& Paint(const Rect&) override { return frame; }
};

HWND ShadowOf(HWND parent) {
  HWND found = nullptr;
  for (HWND w = FindWindowExW(nullptr, nullptr, L"SkinShadowWnd", nullptr); w;
       w = FindWindowExW(nullptr, w, L"SkinShadowWnd", nullptr))
    if (GetWindow(w, GW_OWNER) == parent) found = w;
  return found;
}

TEST(ShadowWin32, LayeredShadowWindowFollowsARealParent) {
  ASSERT_TRUE(CWindowShadow::RegisterShadowClass(GetModuleHandleW(nullptr)));
  EXPECT_FALSE(CWindowShadow::RegisterShadowClass(GetModuleHandleW(nullptr)));  // once only

  std::unique_ptr<Backend> backend = CreatePlatformBackend();
  FrameSink sink;
  WindowParams p;
  p.class_name = L"SkinShadowParent";
  p.bounds = Rect::FromSize(100, 50, 60, 40);
  p.style = kWsPopup | kWsVisible;
  auto parent = backend->CreateNativeWindow(p, &sink);
  ASSERT_NE(parent, nullptr);
  HWND parent_hwnd = static_cast<HWND>(parent->NativeHandle());

  CWindowShadow shadow;
  ASSERT_TRUE(shadow.ApplySize(6));
  ASSERT_TRUE(shadow.ApplyOffset(1, 1));
  ASSERT_EQ(shadow.AttachToParent(parent.get()), ShadowAttachResult::kAttached);
  EXPECT_EQ(shadow.Status(), CWindowShadow::kEnabled | CWindowShadow::kVisible |
                                 CWindowShadow::kParentVisible);
  HWND hwnd = ShadowOf(parent_hwnd);
  ASSERT_NE(hwnd, nullptr);
  const LONG ex = GetWindowLongW(hwnd, GWL_EXSTYLE);
  EXPECT_TRUE(ex & WS_EX_LAYERED);
  EXPECT_TRUE(ex & WS_EX_TRANSPARENT);
  RECT r;
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.right - r.left, 72);
  EXPECT_EQ(r.bottom - r.top, 52);
  EXPECT_EQ(r.left, 95);
  EXPECT_EQ(r.top, 45);
  EXPECT_TRUE(IsWindowVisible(hwnd));

  // The subclassed procedure sees real messages: a move moves the shadow,
  // maximising hides it, restoring shows it again.
  SetWindowPos(parent_hwnd, nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.left, 195);
  EXPECT_EQ(r.top, 145);
  ShowWindow(parent_hwnd, SW_SHOWMAXIMIZED);
  EXPECT_FALSE(IsWindowVisible(hwnd));
  EXPECT_FALSE(shadow.Status() & CWindowShadow::kVisible);
  ShowWindow(parent_hwnd, SW_RESTORE);
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_TRUE(shadow.Status() & CWindowShadow::kVisible);

  DestroyWindow(parent_hwnd);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(CWindowShadow::FindShadow(parent_hwnd), nullptr);
}

}  // namespace
}  // namespace skinui

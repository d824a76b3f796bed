// The shadow with the real X11 backend: without a compositing manager it
// stays away and the parent works alone; with one (this test takes the
// compositing-manager selection itself, as a compositor would), the shadow
// is a real 32-bit override-redirect window that follows its parent's
// messages through the backend's message observer. Skipped without a display.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "skinui/core/backend.h"
#include "skinui/shadow/window_shadow.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
// Xlib's "Status" macro would rename CWindowShadow::Status() below.
#undef Status

namespace skinui {
namespace {

class FrameSink final : public WindowSink {
 public:
  Surface frame{60, 40};
  void OnAttached(PlatformWindow*) override {}
  std::intptr_t HandleMessage(const Message&, bool*) override { return 0; }
  const Surface& Paint(const Rect&) override { return frame; }
};

class ShadowX11Test : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
    std::unique_ptr<Backend> backend = CreatePlatformBackend();
    ASSERT_NE(backend, nullptr);
    backend_ = backend.get();
    Backend::Install(std::move(backend));
    for (int attempt = 0; attempt < 5 && !peer_; ++attempt) {
      peer_ = XOpenDisplay(nullptr);
      if (!peer_) std::this_thread::sleep_for(std::chrono::milliseconds(20 << attempt));
    }
    ASSERT_NE(peer_, nullptr);
    cm_atom_ = XInternAtom(
        peer_, ("_NET_WM_CM_S" + std::to_string(DefaultScreen(peer_))).c_str(), False);
  }
  void TearDown() override {
    if (peer_) XCloseDisplay(peer_);
  }
  void ClaimCompositing() {
    cm_owner_ = XCreateSimpleWindow(peer_, DefaultRootWindow(peer_), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(peer_, cm_atom_, cm_owner_, CurrentTime);
    XSync(peer_, False);
  }
  std::unique_ptr<PlatformWindow> Parent(FrameSink* sink) {
    WindowParams p;
    p.class_name = L"SkinShadowParent";
    p.bounds = Rect::FromSize(100, 50, 60, 40);
    p.style = kWsPopup | kWsVisible;
    return backend_->CreateNativeWindow(p, sink);
  }
  void Pump() {
    while (XPending(peer_)) {
      XEvent e;
      XNextEvent(peer_, &e);
    }
    for (int i = 0; i < 50; ++i) backend_->PumpMessage(false);
  }
  // The backend's requests reach the server in their own order: ask again
  // until the server shows the change (bounded by a count).
  template <class Done>
  bool ServerShows(Done done) {
    for (int i = 0; i < 500; ++i) {
      XSync(peer_, False);
      if (done()) return true;
      Pump();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
  }
  Window FindShadowWindow() {
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    XQueryTree(peer_, DefaultRootWindow(peer_), &root, &parent, &children, &count);
    for (unsigned i = 0; i < count && !found; ++i) {
      XClassHint hint{};
      if (XGetClassHint(peer_, children[i], &hint)) {
        if (hint.res_class && std::string(hint.res_class) == "SkinShadowWnd") found = children[i];
        XFree(hint.res_name);
        XFree(hint.res_class);
      }
    }
    if (children) XFree(children);
    return found;
  }
  XWindowAttributes Attributes(Window w) {
    XWindowAttributes a{};
    XGetWindowAttributes(peer_, w, &a);
    return a;
  }

  Backend* backend_ = nullptr;
  Display* peer_ = nullptr;
  Atom cm_atom_ = 0;
  Window cm_owner_ = 0;
};

TEST_F(ShadowX11Test, WithoutCompositingTheWindowWorksAlone) {
  if (XGetSelectionOwner(peer_, cm_atom_) != None) GTEST_SKIP() << "a compositor runs";
  FrameSink sink;
  auto parent = Parent(&sink);
  ASSERT_NE(parent, nullptr);
  CWindowShadow shadow;
  EXPECT_EQ(shadow.AttachToParent(parent.get()), ShadowAttachResult::kLayeredUnavailable);
  EXPECT_EQ(shadow.Status(), 0u);
  parent->Show(kSwHide);
  parent->Show(kSwShow);
  EXPECT_TRUE(parent->IsVisible());
  EXPECT_EQ(FindShadowWindow(), 0u);
}

TEST_F(ShadowX11Test, LayeredShadowFollowsItsParent) {
  ClaimCompositing();
  if (!backend_->CompositingAvailable()) GTEST_SKIP() << "no 32-bit TrueColor visual";
  FrameSink sink;
  auto parent = Parent(&sink);
  ASSERT_NE(parent, nullptr);
  CWindowShadow shadow;
  ASSERT_TRUE(shadow.ApplySize(6));
  ASSERT_TRUE(shadow.ApplyOffset(1, 1));
  ASSERT_TRUE(shadow.ApplyDarkness(200));
  ASSERT_EQ(shadow.AttachToParent(parent.get()), ShadowAttachResult::kAttached);
  EXPECT_EQ(shadow.Status(), CWindowShadow::kEnabled | CWindowShadow::kVisible |
                                 CWindowShadow::kParentVisible);
  EXPECT_EQ(CWindowShadow::FindShadow(parent->NativeHandle()), &shadow);

  Window w = 0;
  ASSERT_TRUE(ServerShows([&] { return (w = FindShadowWindow()) != 0; }));
  // Size rule: parent + 2 * size; position: parent + offset - size.
  ASSERT_TRUE(ServerShows([&] {
    const XWindowAttributes a = Attributes(w);
    return a.x == 95 && a.y == 45 && a.width == 72 && a.height == 52 &&
           a.map_state == IsViewable;
  }));
  const XWindowAttributes a = Attributes(w);
  EXPECT_EQ(a.depth, 32);
  EXPECT_TRUE(a.override_redirect);
  XImage* image = XGetImage(peer_, w, 0, 0, 72, 52, AllPlanes, ZPixmap);
  ASSERT_NE(image, nullptr);
  const Surface& bitmap = shadow.LastBitmap();
  for (auto [x, y] : {std::pair{0, 0}, {70, 50}, {66, 30}, {30, 48}, {30, 30}})
    EXPECT_EQ(static_cast<std::uint32_t>(XGetPixel(image, x, y)), bitmap.At(x, y)) << x << "," << y;
  EXPECT_NE(bitmap.At(30, 48), 0u);  // below the window there is shadow
  XDestroyImage(image);

  // Moving the parent moves the shadow.
  parent->SetBounds(Rect::FromSize(200, 150, 60, 40), true);
  EXPECT_TRUE(ServerShows([&] {
    const XWindowAttributes m = Attributes(w);
    return m.x == 195 && m.y == 145;
  }));
  // Maximising hides it, restoring brings it back.
  parent->Show(kSwShowMaximized);
  EXPECT_FALSE(shadow.Status() & CWindowShadow::kVisible);
  EXPECT_TRUE(ServerShows([&] { return Attributes(w).map_state == IsUnmapped; }));
  parent->Show(kSwRestore);
  EXPECT_TRUE(shadow.Status() & CWindowShadow::kVisible);
  EXPECT_TRUE(ServerShows([&] { return Attributes(w).map_state == IsViewable; }));
  // Hiding the parent hides the shadow and clears both visible bits.
  parent->Show(kSwHide);
  EXPECT_EQ(shadow.Status(), CWindowShadow::kEnabled);
  EXPECT_TRUE(ServerShows([&] { return Attributes(w).map_state == IsUnmapped; }))
      << "map state " << Attributes(w).map_state << ", status " << shadow.Status();
  // Destroying the parent destroys the shadow window and unregisters it.
  void* handle = parent->NativeHandle();
  parent->Destroy();
  EXPECT_EQ(CWindowShadow::FindShadow(handle), nullptr);
  EXPECT_TRUE(ServerShows([&] { return FindShadowWindow() == 0; }));
}

}  // namespace
}  // namespace skinui

// The shadow's state machine: attachment, the parent-message table driving
// the status bits, parameter refusals and the refresh geometry. The shadow
// window itself is a recording host (a per-pixel-alpha window needs a
// compositing server, which the test display lacks); the parent is a small
// in-test window whose state the messages describe.
#include "skinui/shadow/window_shadow.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "skinui/painter/png_writer.h"

namespace skinui {
namespace {

class TestParent final : public PlatformWindow {
 public:
  Rect bounds{100, 50, 160, 90};  // 60 x 40
  std::uint32_t style = kWsPopup | kWsVisible;
  Size corner{0, 0};
  std::vector<MessageObserver*> observers;

  bool IsAlive() const override { return true; }
  void Destroy() override {}
  void Close() override {}
  void Show(int) override {}
  bool IsVisible() const override { return style & kWsVisible; }
  bool IsMinimized() const override { return style & kWsMinimize; }
  bool IsMaximized() const override { return style & kWsMaximize; }
  void SetEnabled(bool) override {}
  bool IsEnabled() const override { return true; }
  void Focus() override {}
  void SetBounds(const Rect& r, bool) override { bounds = r; }
  Rect Bounds() const override { return bounds; }
  Size ClientSize() const override { return Size{bounds.Width(), bounds.Height()}; }
  Point ClientToScreen(Point p) const override { return Point{p.x + bounds.left, p.y + bounds.top}; }
  void SetTitle(const std::wstring&) override {}
  std::uint32_t Style() const override { return style; }
  void SetStyle(std::uint32_t s) override { style = s; }
  std::uint32_t ExStyle() const override { return 0; }
  void SetExStyle(std::uint32_t) override {}
  void Invalidate(const Rect&) override {}
  void SetRoundRegion(Size c) override { corner = c; }
  Size RoundRegion() const override { return corner; }
  void PresentLayered(const Surface&, Point) override {}
  void SetTimer(std::uintptr_t, unsigned) override {}
  void KillTimer(std::uintptr_t) override {}
  void SetCapture(bool) override {}
  void SetCursor(CursorKind) override {}
  void SetTextInputRect(const Rect&) override {}
  std::uint32_t Modifiers() const override { return 0; }
  void PostMessage(const Message&) override {}
  void AddMessageObserver(MessageObserver* o) override { observers.push_back(o); }
  void RemoveMessageObserver(MessageObserver*) override {}
  void* NativeHandle() const override { return const_cast<TestParent*>(this); }
};

struct HostLog {
  bool layered = true;
  bool exists = false;
  bool shown = false;
  int presents = 0;
  int closes = 0;
  int destroys = 0;
  Point moved_to{-1, -1};
  Point presented_at{-1, -1};
  Size presented_size;
  bool hooked = false;
};

class RecordingHost final : public ShadowHost {
 public:
  explicit RecordingHost(HostLog* log) : log_(log) {}
  bool LayeredWindowsAvailable() const override { return log_->layered; }
  bool CreateShadowWindow(PlatformWindow*) override { return log_->exists = true; }
  bool ShadowWindowExists() const override { return log_->exists; }
  void DestroyShadowWindow() override {
    ++log_->destroys;
    log_->exists = false;
  }
  void CloseShadowWindow() override { ++log_->closes; }
  void ShowShadowWindow(bool show) override { log_->shown = show; }
  void MoveShadowWindow(Point p) override { log_->moved_to = p; }
  void PresentShadow(const Surface& pixels, Point p) override {
    ++log_->presents;
    log_->presented_at = p;
    log_->presented_size = pixels.GetSize();
  }
  void HookParent(PlatformWindow*, CWindowShadow*) override { log_->hooked = true; }
  void UnhookParent() override { log_->hooked = false; }

 private:
  HostLog* log_;
};

constexpr std::uint32_t kAll =
    CWindowShadow::kEnabled | CWindowShadow::kVisible | CWindowShadow::kParentVisible;

Message Sized(std::uintptr_t kind, int w, int h) { return Message{kWmSize, kind, PackSize(w, h)}; }

TEST(WindowShadow, AttachTakesTheStatusFromTheParentStyle) {
  struct Case {
    std::uint32_t style;
    std::uint32_t status;
    bool shown;
    int presents;
  };
  const std::vector<Case> cases = {
      {kWsPopup, CWindowShadow::kEnabled, false, 0},
      {kWsPopup | kWsVisible | kWsMaximize, CWindowShadow::kEnabled | CWindowShadow::kParentVisible,
       false, 0},
      {kWsPopup | kWsVisible | kWsMinimize, CWindowShadow::kEnabled | CWindowShadow::kParentVisible,
       false, 0},
      {kWsPopup | kWsVisible, kAll, true, 1},
  };
  for (const Case& c : cases) {
    TestParent parent;
    parent.style = c.style;
    HostLog log;
    CWindowShadow shadow(std::make_unique<RecordingHost>(&log));
    ASSERT_EQ(shadow.AttachToParent(&parent), ShadowAttachResult::kAttached);
    EXPECT_EQ(shadow.Status(), c.status);
    EXPECT_EQ(log.shown, c.shown);
    EXPECT_EQ(log.presents, c.presents);
    EXPECT_TRUE(log.hooked);
    EXPECT_EQ(CWindowShadow::FindShadow(&parent), &shadow);
    EXPECT_EQ(shadow.AttachToParent(&parent), ShadowAttachResult::kAlreadyAttached);
  }
}

TEST(WindowShadow, WithoutLayeredWindowsNothingIsDone) {
  TestParent parent;
  HostLog log;
  log.layered = false;
  {
    CWindowShadow shadow(std::make_unique<RecordingHost>(&log));
    EXPECT_EQ(shadow.AttachToParent(&parent), ShadowAttachResult::kLayeredUnavailable);
    EXPECT_EQ(shadow.Status(), 0u);
    EXPECT_EQ(CWindowShadow::FindShadow(&parent), nullptr);
    shadow.OnParentMessage(Message{kWmShowWindow, 1, 0});
    EXPECT_FALSE(log.shown);
  }
  EXPECT_EQ(log.closes, 0);
}

TEST(WindowShadow, RefreshUsesTheSizeAndPositionRules) {
  TestParent parent;  // 60 x 40 at (100, 50)
  HostLog log;
  CWindowShadow shadow(std::make_unique<RecordingHost>(&log));
  ASSERT_EQ(shadow.AttachToParent(&parent), ShadowAttachResult::kAttached);
  ASSERT_TRUE(shadow.ApplySize(6));
  ASSERT_TRUE(shadow.ApplyOffset(1, -2));
  EXPECT_EQ(log.presented_size, (Size{72, 52}));
  EXPECT_EQ(log.presented_at, (Point{100 + 1 - 6, 50 - 2 - 6}));
  // A move only repositions the existing bitmap.
  const int presents = log.presents;
  parent.bounds = parent.bounds.Offset(10, 20);
  shadow.OnParentMessage(Message{kWmMove, 0, PackPoint(110, 70)});
  EXPECT_EQ(log.moved_to, (Point{110 + 1 - 6, 70 - 2 - 6}));
  EXPECT_EQ(log.presents, presents);
}

TEST(WindowShadow, ParentMessagesDriveTheStatusBits) {
  // Each step: a parent message, the parent's style afterwards, then the
  // expected status, update-pending flag, shadow shown, and whether the
  // bitmap was redrawn by this message.
  struct Step {
    const char* what;
    Message message;
    std::uint32_t style;
    std::uint32_t status;
    bool pending;
    bool shown;
    bool redrawn;
  };
  const std::uint32_t vis = kWsPopup | kWsVisible;
  const std::uint32_t enabled_parent = CWindowShadow::kEnabled | CWindowShadow::kParentVisible;
  const std::vector<Step> steps = {
      {"first size grows", Sized(kSizeRestored, 60, 40), vis, kAll, true, true, false},
      {"paint draws the pending update", Message{kWmPaint, 0, 0}, vis, kAll, false, true, true},
      {"second paint draws nothing", Message{kWmPaint, 0, 0}, vis, kAll, false, true, false},
      {"shrink redraws at once", Sized(kSizeRestored, 50, 40), vis, kAll, false, true, true},
      {"maximise hides", Sized(kSizeMaximized, 800, 600), vis | kWsMaximize, enabled_parent, false,
       false, false},
      {"activation while hidden draws nothing", Message{kWmActivate, kWaActive, 0},
       vis | kWsMaximize, enabled_parent, false, false, false},
      {"restore brings it back", Sized(kSizeRestored, 50, 40), vis, kAll, false, true, true},
      {"minimise hides", Sized(kSizeMinimized, 0, 0), vis | kWsMinimize, enabled_parent, false,
       false, false},
      {"restore after minimise grows: pending", Sized(kSizeRestored, 50, 40), vis, kAll, true, true,
       false},
      {"paint", Message{kWmPaint, 0, 0}, vis, kAll, false, true, true},
      {"activation redraws", Message{kWmActivate, kWaActive, 0}, vis, kAll, false, true, true},
      {"end of size loop redraws", Message{kWmExitSizeMove, 0, 0}, vis, kAll, false, true, true},
      {"hide", Message{kWmShowWindow, 0, 0}, kWsPopup, CWindowShadow::kEnabled, false, false, false},
      {"size while hidden is only remembered", Sized(kSizeRestored, 40, 30), kWsPopup,
       CWindowShadow::kEnabled, false, false, false},
      {"show", Message{kWmShowWindow, 1, 0}, vis, kAll, true, true, false},
      {"show again changes nothing", Message{kWmShowWindow, 1, 0}, vis, kAll, true, true, false},
      {"paint after show", Message{kWmPaint, 0, 0}, vis, kAll, false, true, true},
  };
  TestParent parent;
  parent.style = kWsPopup;  // attached hidden: enabled only
  HostLog log;
  CWindowShadow shadow(std::make_unique<RecordingHost>(&log));
  ASSERT_EQ(shadow.AttachToParent(&parent), ShadowAttachResult::kAttached);
  shadow.OnParentMessage(Message{kWmShowWindow, 1, 0});
  ASSERT_EQ(shadow.Status(), kAll);
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    const int before = log.presents;
    parent.style = s.style;
    shadow.OnParentMessage(s.message);
    EXPECT_EQ(shadow.Status(), s.status);
    EXPECT_EQ(shadow.UpdatePending(), s.pending);
    EXPECT_EQ(log.shown, s.shown);
    EXPECT_EQ(log.presents > before, s.redrawn);
  }
  EXPECT_EQ(shadow.LastClientSize(), (Size{40, 30}));
}

TEST(WindowShadow, DestroyAndNcDestroyEndTheShadow) {
  TestParent parent;
  HostLog log;
  CWindowShadow shadow(std::make_unique<RecordingHost>(&log));
  ASSERT_EQ(shadow.AttachToParent(&parent), ShadowAttachResult::kAttached);
  shadow.OnParentMessage(Message{kWmDestroy, 0, 0});
  EXPECT_EQ(log.destroys, 1);
  const int presents = log.presents;
  shadow.OnParentMessage(Message{kWmActivate, kWaActive, 0});
  EXPECT_EQ(log.presents, presents);  // no window, no drawing
  shadow.OnParentMessage(Message{kWmNcDestroy, 0, 0});
  EXPECT_EQ(CWindowShadow::FindShadow(&parent), nullptr);
  EXPECT_FALSE(log.hooked);
}

TEST(WindowShadow, DestructorClosesALiveShadowWindow) {
  TestParent parent;
  HostLog log;
  {
    CWindowShadow shadow(std::make_unique<RecordingHost>(&log));
    ASSERT_EQ(shadow.AttachToParent(&parent), ShadowAttachResult::kAttached);
  }
  EXPECT_EQ(log.closes, 1);
  EXPECT_EQ(CWindowShadow::FindShadow(&parent), nullptr);
}

TEST(WindowShadow, OutOfRangeParametersAreRefusedAndKept) {
  using Apply = bool (*)(CWindowShadow&, int);
  using Read = int (*)(const ShadowParams&);
  struct Case {
    const char* what;
    Apply apply;
    Read read;
    int value;
    bool accepted;
  };
  const Apply darkness = [](CWindowShadow& s, int v) { return s.ApplyDarkness(v); };
  const Apply sharpness = [](CWindowShadow& s, int v) { return s.ApplySharpness(v); };
  const Apply size = [](CWindowShadow& s, int v) { return s.ApplySize(v); };
  const Apply offset_x = [](CWindowShadow& s, int v) { return s.ApplyOffset(v, 0); };
  const Apply offset_y = [](CWindowShadow& s, int v) { return s.ApplyOffset(0, v); };
  const Read dark = [](const ShadowParams& p) { return p.darkness; };
  const Read sharp = [](const ShadowParams& p) { return p.sharpness; };
  const Read sz = [](const ShadowParams& p) { return p.size; };
  const Read ox = [](const ShadowParams& p) { return p.offsetX; };
  const Read oy = [](const ShadowParams& p) { return p.offsetY; };
  const std::vector<Case> cases = {
      {"darkness -1", darkness, dark, -1, false},   {"darkness 0", darkness, dark, 0, true},
      {"darkness 255", darkness, dark, 255, true},  {"darkness 256", darkness, dark, 256, false},
      {"sharpness -1", sharpness, sharp, -1, false}, {"sharpness 20", sharpness, sharp, 20, true},
      {"sharpness 21", sharpness, sharp, 21, false}, {"size -21", size, sz, -21, false},
      {"size -20", size, sz, -20, true},            {"size 20", size, sz, 20, true},
      {"size 21", size, sz, 21, false},             {"offset x -21", offset_x, ox, -21, false},
      {"offset x 20", offset_x, ox, 20, true},      {"offset y 21", offset_y, oy, 21, false},
      {"offset y -20", offset_y, oy, -20, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestParent parent;
    parent.bounds = Rect::FromSize(0, 0, 100, 100);  // still a bitmap at size -20
    HostLog log;
    CWindowShadow shadow(std::make_unique<RecordingHost>(&log));
    ASSERT_EQ(shadow.AttachToParent(&parent), ShadowAttachResult::kAttached);
    const int before = c.read(shadow.Params());
    const int presents = log.presents;
    EXPECT_EQ(c.apply(shadow, c.value), c.accepted);
    EXPECT_EQ(c.read(shadow.Params()), c.accepted ? c.value : before);
    // A visible shadow is redrawn for an accepted value only.
    EXPECT_EQ(log.presents > presents, c.accepted);
  }
  HostLog log;
  CWindowShadow shadow(std::make_unique<RecordingHost>(&log));
  EXPECT_EQ(shadow.Params().darkness, 150);
  EXPECT_EQ(shadow.Params().sharpness, 5);
  EXPECT_EQ(shadow.Params().size, 0);
  EXPECT_EQ(shadow.Params().offsetX, 5);
  EXPECT_EQ(shadow.Params().offsetY, 5);
  EXPECT_TRUE(shadow.ApplyColour(0x26003B76));
  EXPECT_EQ(shadow.Params().colour, 0x26003B76u);
}

class MemorySource final : public SkinSource {
 public:
  std::map<std::string, std::vector<std::uint8_t>> files;
  SkinReadResult Read(std::string_view path, std::vector<std::uint8_t>* out) const override {
    auto it = files.find(std::string(path));
    if (it == files.end()) return SkinReadResult::kNotFound;
    *out = it->second;
    return SkinReadResult::kOk;
  }
  std::string Describe() const override { return "memory"; }
};

std::vector<std::uint8_t> PngBytes(const Surface& s) {
  const std::string path = ::testing::TempDir() + "shadow_image.png";
  std::string error;
  EXPECT_TRUE(WritePng(s, path, &error)) << error;
  std::ifstream in(path, std::ios::binary);
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
  std::remove(path.c_str());
  return bytes;
}

TEST(WindowShadow, ShadowImageIsRefusedWhenItCannotBeLoaded) {
  Surface image(4, 4);
  image.Fill(image.Bounds(), 0xFF102030);
  MemorySource source;
  source.files["res/shadow.png"] = PngBytes(image);
  source.files["res/broken.png"] = {'n', 'o', 't', ' ', 'p', 'n', 'g'};

  TestParent parent;  // 60 x 40 at (100, 50)
  HostLog log;
  CWindowShadow shadow(std::make_unique<RecordingHost>(&log));
  ASSERT_EQ(shadow.AttachToParent(&parent), ShadowAttachResult::kAttached);
  EXPECT_EQ(shadow.ApplyImage(source, "res/missing.png", Rect{}, Rect{}),
            ShadowImageResult::kNotFound);
  EXPECT_EQ(shadow.ApplyImage(source, "res/broken.png", Rect{}, Rect{}),
            ShadowImageResult::kUndecodable);
  EXPECT_FALSE(shadow.HasImage());
  ASSERT_EQ(shadow.ApplyImage(source, "res/shadow.png", Rect{1, 1, 1, 1}, Rect{3, 4, 5, 6}),
            ShadowImageResult::kApplied);
  // Bitmap: parent + left + right by parent + top + bottom hole offsets, at
  // (left - left offset, top - top offset), every pixel the opaque image's.
  EXPECT_EQ(log.presented_size, (Size{60 + 3 + 5, 40 + 4 + 6}));
  EXPECT_EQ(log.presented_at, (Point{97, 46}));
  EXPECT_EQ(shadow.LastBitmap().At(30, 20), 0xFF102030u);
  // A later failure keeps the image that was applied.
  EXPECT_EQ(shadow.ApplyImage(source, "res/broken.png", Rect{}, Rect{}),
            ShadowImageResult::kUndecodable);
  EXPECT_TRUE(shadow.HasImage());
  EXPECT_EQ(shadow.HoleOffsets(), (Rect{3, 4, 5, 6}));
}

TEST(WindowShadow, RoundedParentLeavesItsCornersToTheShadow) {
  // Size 0, sharpness 0, offset 3,3: the hole is the window's region moved up
  // and left by 3. Bitmap pixel (56, 36) lies over window pixel (59, 39), the
  // very corner: a square window covers it, a rounded one does not, so only
  // then the shadow shows there.
  std::uint32_t corner_pixel[2] = {};
  for (int rounded = 0; rounded < 2; ++rounded) {
    TestParent parent;
    parent.corner = rounded ? Size{8, 8} : Size{0, 0};
    HostLog log;
    CWindowShadow shadow(std::make_unique<RecordingHost>(&log));
    ASSERT_TRUE(shadow.ApplyOffset(3, 3));
    ASSERT_TRUE(shadow.ApplySharpness(0));
    ASSERT_EQ(shadow.AttachToParent(&parent), ShadowAttachResult::kAttached);
    ASSERT_EQ(shadow.LastBitmap().GetSize(), (Size{60, 40}));
    EXPECT_EQ(shadow.LastBitmap().At(30, 20), 0u);  // under the window
    corner_pixel[rounded] = shadow.LastBitmap().At(56, 36);
  }
  EXPECT_EQ(corner_pixel[0], 0u);
  EXPECT_EQ(corner_pixel[1], ShadowPixel(0, 150));
}

}  // namespace
}  // namespace skinui

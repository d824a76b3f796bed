// The Win32 backend with real windows (run under Wine): messages reach the
// sink, the frame is presented and read back, round regions, timers through
// the real loop, tasks from a worker thread, the clipboard.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "skinui/core/backend.h"

namespace skinui {
namespace {

class RecordingSink final : public WindowSink {
 public:
  PlatformWindow* attached = nullptr;
  bool attached_before_create = false;
  std::vector<Message> seen;
  std::uint32_t handle_id = kWmUser + 7;  // answered with 1234
  Surface frame;
  int paints = 0;

  void OnAttached(PlatformWindow* window) override {
    attached = window;
    attached_before_create = seen.empty();
  }
  std::intptr_t HandleMessage(const Message& m, bool* handled) override {
    seen.push_back(m);
    if (m.id == handle_id) {
      *handled = true;
      return 1234;
    }
    return 0;
  }
  const Surface& Paint(const Rect&) override {
    ++paints;
    return frame;
  }
  int Count(std::uint32_t id, std::uintptr_t wparam = ~std::uintptr_t{0}) const {
    int n = 0;
    for (const Message& m : seen)
      if (m.id == id && (wparam == ~std::uintptr_t{0} || m.wparam == wparam)) ++n;
    return n;
  }
};

WindowParams PopupParams(int w, int h) {
  WindowParams p;
  p.class_name = L"SkinTestWnd";
  p.title = L"test";
  p.bounds = Rect::FromSize(40, 30, w, h);
  p.style = kWsPopup | kWsClipChildren;
  return p;
}

class Win32BackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    backend_ = CreatePlatformBackend();
    ASSERT_NE(backend_, nullptr);
  }
  // Pumps until `done` or the loop was asked to stop; bounded by the test's
  // own count of pumped messages so a missing message fails instead of hanging.
  template <class Done>
  bool PumpUntil(Done done, int limit = 20000) {
    for (int i = 0; i < limit && !done(); ++i)
      if (!backend_->PumpMessage(true)) return done();
    return done();
  }
  std::unique_ptr<Backend> backend_;
};

TEST_F(Win32BackendTest, SinkSeesCreationAndSentMessages) {
  RecordingSink sink;
  auto window = backend_->CreateNativeWindow(PopupParams(100, 60), &sink);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(sink.attached, window.get());
  EXPECT_TRUE(sink.attached_before_create);
  EXPECT_EQ(sink.Count(kWmCreate), 1);
  HWND hwnd = static_cast<HWND>(window->NativeHandle());
  ASSERT_TRUE(IsWindow(hwnd));
  EXPECT_EQ(window->Bounds(), Rect::FromSize(40, 30, 100, 60));
  EXPECT_EQ(window->ClientSize(), (Size{100, 60}));
  EXPECT_TRUE(window->Style() & WS_POPUP);
  EXPECT_FALSE(window->Style() & WS_CAPTION);

  // Handled: the sink's result; not handled: DefWindowProc's (0 for WM_USER).
  EXPECT_EQ(SendMessageW(hwnd, kWmUser + 7, 3, 4), 1234);
  EXPECT_EQ(SendMessageW(hwnd, kWmUser + 8, 5, 6), 0);
  ASSERT_GE(sink.seen.size(), 2u);
  EXPECT_EQ(sink.seen.back().id, kWmUser + 8);
  EXPECT_EQ(sink.seen.back().wparam, 5u);
  EXPECT_EQ(sink.seen.back().lparam, 6);

  // A message posted from another thread arrives through the loop.
  std::thread worker([&] { window->PostMessage(Message{kWmUser + 9, 11, 12}); });
  worker.join();
  EXPECT_TRUE(PumpUntil([&] { return sink.Count(kWmUser + 9, 11) == 1; }));

  window->Destroy();
  EXPECT_FALSE(window->IsAlive());
  EXPECT_EQ(sink.Count(kWmDestroy), 1);
  EXPECT_EQ(sink.Count(kWmNcDestroy), 1);
}

TEST_F(Win32BackendTest, FrameIsPresentedAndReadBack) {
  RecordingSink sink;
  sink.frame.Resize(64, 32);
  sink.frame.Fill(Rect{0, 0, 32, 32}, 0xFF3366CC);
  sink.frame.Fill(Rect{32, 0, 64, 32}, 0xFF10E020);
  auto window = backend_->CreateNativeWindow(PopupParams(64, 32), &sink);
  ASSERT_NE(window, nullptr);
  HWND hwnd = static_cast<HWND>(window->NativeHandle());

  // Draw the window into a memory bitmap through WM_PRINTCLIENT, the same
  // presenting path WM_PAINT takes, and read the bits back.
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = 64;
  info.bmiHeader.biHeight = -32;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(dib, nullptr);
  HGDIOBJ old = SelectObject(memory, dib);
  SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
  GdiFlush();
  const auto* px = static_cast<const std::uint32_t*>(bits);
  EXPECT_EQ(px[5 * 64 + 3] & 0xFFFFFF, 0x3366CCu);
  EXPECT_EQ(px[20 * 64 + 40] & 0xFFFFFF, 0x10E020u);
  EXPECT_GE(sink.paints, 1);
  SelectObject(memory, old);
  DeleteObject(dib);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);

  // A shown window is painted from the loop: WM_PAINT reaches the sink as a
  // notice and Paint draws.
  const int before = sink.paints;
  window->Show(kSwShowNa);
  window->Invalidate(Rect{0, 0, 64, 32});
  UpdateWindow(hwnd);
  EXPECT_GE(sink.Count(kWmPaint), 1);
  EXPECT_GT(sink.paints, before);
}

TEST_F(Win32BackendTest, RoundRegionClipsTheCorners) {
  RecordingSink sink;
  auto window = backend_->CreateNativeWindow(PopupParams(80, 40), &sink);
  ASSERT_NE(window, nullptr);
  window->SetRoundRegion(Size{10, 10});
  EXPECT_EQ(window->RoundRegion(), (Size{10, 10}));
  HWND hwnd = static_cast<HWND>(window->NativeHandle());
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(hwnd, region), ERROR);
  EXPECT_FALSE(PtInRegion(region, 0, 0));
  EXPECT_FALSE(PtInRegion(region, 79, 39));
  EXPECT_TRUE(PtInRegion(region, 40, 20));
  EXPECT_TRUE(PtInRegion(region, 0, 20));
  DeleteObject(region);
  window->SetRoundRegion(Size{0, 0});
  HRGN none = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(hwnd, none), ERROR);
  DeleteObject(none);
}

TEST_F(Win32BackendTest, TimersFireThroughTheLoopUntilKilled) {
  RecordingSink sink;
  auto window = backend_->CreateNativeWindow(PopupParams(10, 10), &sink);
  ASSERT_NE(window, nullptr);
  window->SetTimer(7, 5);
  window->SetTimer(8, 5);
  ASSERT_TRUE(PumpUntil([&] { return sink.Count(kWmTimer, 7) >= 3 && sink.Count(kWmTimer, 8) >= 1; }));
  window->KillTimer(7);
  window->KillTimer(8);
  // After killing, only timer messages already queued may still come.
  const int seen7 = sink.Count(kWmTimer, 7);
  window->SetTimer(9, 5);
  ASSERT_TRUE(PumpUntil([&] { return sink.Count(kWmTimer, 9) >= 3; }));
  EXPECT_LE(sink.Count(kWmTimer, 7), seen7 + 1);
}

TEST_F(Win32BackendTest, TasksFromAWorkerRunOnTheUiThreadInOrder) {
  const DWORD ui_thread = GetCurrentThreadId();
  std::vector<int> order;
  std::atomic<bool> wrong_thread{false};
  std::thread worker([&] {
    for (int i = 0; i < 50; ++i)
      backend_->PostTask([&, i] {
        if (GetCurrentThreadId() != ui_thread) wrong_thread = true;
        order.push_back(i);
        if (i == 49) backend_->PostQuit();
      });
  });
  worker.join();
  while (backend_->PumpMessage(true)) {
  }
  EXPECT_FALSE(wrong_thread);
  ASSERT_EQ(order.size(), 50u);
  for (int i = 0; i < 50; ++i) EXPECT_EQ(order[i], i);
  // Without waiting, an empty queue returns at once.
  EXPECT_TRUE(backend_->PumpMessage(false));
}

TEST_F(Win32BackendTest, ClipboardKeepsUnicodeText) {
  const std::wstring text = L"安装路径 C:\\Tarnvell";
  backend_->SetClipboardText(text);
  EXPECT_EQ(backend_->ClipboardText(), text);
}

TEST_F(Win32BackendTest, LayeredWindowTakesPerPixelAlpha) {
  ASSERT_TRUE(backend_->CompositingAvailable());
  RecordingSink sink;
  WindowParams p = PopupParams(0, 0);
  p.layered = true;
  p.ex_style = kWsExTransparent;
  auto window = backend_->CreateNativeWindow(p, &sink);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->ExStyle() & WS_EX_LAYERED);
  Surface argb(30, 20);
  argb.Fill(argb.Bounds(), 0x80400000);
  window->Show(kSwShowNa);
  window->PresentLayered(argb, Point{5, 6});
  EXPECT_EQ(window->Bounds(), Rect::FromSize(5, 6, 30, 20));
}

}  // namespace
}  // namespace skinui

#include "test_support.h"

#include <cstdlib>
#include <filesystem>

#include "skinui/core/skin_setup.h"
#include "skinui/painter/png_writer.h"

namespace skinui::testing {

void HeadlessTest::SetUp() {
  auto backend = std::make_unique<HeadlessBackend>();
  backend->SetIdleLimitMs(10000);
  backend_ = backend.get();
  Backend::Install(std::move(backend));
  ResetSkinSetup();
}

void HeadlessTest::TearDown() {
  Backend::Install(nullptr);
  ResetSkinSetup();
}

void TestWindow::Notify(const Notification& n) {
  seen.push_back(Seen{n.type, n.sender != nullptr ? n.sender->Name() : L"", n.wparam, n.lparam});
  SkinWindowBase::Notify(n);
}

bool TestWindow::Open(bool visible, TestWindow* owner) {
  const std::uint32_t style = kWsOverlappedWindow | (visible ? kWsVisible : 0);
  if (!Create(owner, L"test", style, 0)) return false;
  if (auto* headless = HeadlessBackend::Installed()) headless->RunUntilIdle();
  return true;
}

int TestWindow::Count(const std::wstring& type) const {
  int n = 0;
  for (const Seen& s : seen) n += s.type == type ? 1 : 0;
  return n;
}

Point TestWindow::CenterOf(const std::wstring& control) const {
  Control* c = FindControl(control);
  if (c == nullptr) {
    ADD_FAILURE() << "no control named " << std::string(control.begin(), control.end());
    return Point{};
  }
  const Rect& r = c->Pos();
  return Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

const Surface& RenderAll(TestWindow& window) {
  HeadlessWindow* native = window.Native();
  native->Invalidate(Rect{0, 0, native->ClientSize().width, native->ClientSize().height});
  native->PaintNow();
  return native->Frame();
}

void ExpectMatchesGolden(const Surface& frame, const std::string& name) {
  const std::string file = "fixtures/golden/" + name + ".png";
  const char* update = std::getenv("TARNVELL_UPDATE_GOLDEN");
  if (update != nullptr && std::string(update) == "1") {
    std::string error;
    const std::string source = std::string(SKINUI_CORE_GOLDEN_SOURCE_DIR) + "/" + name + ".png";
    std::filesystem::create_directories(SKINUI_CORE_GOLDEN_SOURCE_DIR);
    ASSERT_TRUE(WritePng(frame, source, &error)) << error;
    return;
  }
  Surface golden;
  std::string error;
  ASSERT_TRUE(ReadPngFile(file, &golden, &error))
      << file << ": " << error << " (run with TARNVELL_UPDATE_GOLDEN=1 to create it)";
  const ImageDiff diff = CompareSurfaces(frame, golden, 2);
  if (diff.differing_pixels != 0) {
    WritePng(frame, name + ".actual.png", nullptr);
  }
  EXPECT_EQ(diff.differing_pixels, 0)
      << name << ": max channel delta " << diff.max_channel_delta << "; the frame is in "
      << name << ".actual.png";
}

}  // namespace skinui::testing

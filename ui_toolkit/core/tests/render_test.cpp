// Rendered frames compared with golden images: every image-description key,
// text alignment and multi-line text, button and check-box states, progress
// values, tab pages; and repainting only what changed.
#include <gtest/gtest.h>

#include "skinui/core/container.h"
#include "skinui/core/progress.h"
#include "skinui/painter/png_writer.h"
#include "test_support.h"

namespace skinui {
namespace {

using testing::ExpectMatchesGolden;
using testing::RenderAll;
using testing::TestWindow;

class RenderTest : public testing::HeadlessTest {};

TEST_F(RenderTest, ImageDescriptionKeys) {
  TestWindow window(L"images.xml");
  ASSERT_TRUE(window.Open());
  ExpectMatchesGolden(RenderAll(window), "images");
}

TEST_F(RenderTest, TextAlignmentFontsAndLines) {
  TestWindow window(L"text.xml");
  ASSERT_TRUE(window.Open());
  ExpectMatchesGolden(RenderAll(window), "text");
}

TEST_F(RenderTest, ControlStates) {
  TestWindow window(L"states.xml");
  ASSERT_TRUE(window.Open());
  ExpectMatchesGolden(RenderAll(window), "states_normal");

  HeadlessWindow* w = window.Native();
  w->MoveMouse(window.CenterOf(L"okBtn"));
  backend().RunUntilIdle();
  ExpectMatchesGolden(w->Frame(), "states_hot");

  w->Press();
  backend().RunUntilIdle();
  ExpectMatchesGolden(w->Frame(), "states_pushed");
  w->Release();

  w->Click(window.CenterOf(L"cbOn"));
  w->Click(window.CenterOf(L"cbOff"));
  w->MoveMouse(window.CenterOf(L"borderBtn"));
  static_cast<Progress*>(window.FindControl(L"prgStretch"))->SetValue(90);
  static_cast<Progress*>(window.FindControl(L"prgClip"))->SetValue(10);
  static_cast<TabLayout*>(window.FindControl(L"tabs"))->SelectItem(2);
  backend().RunUntilIdle();
  ExpectMatchesGolden(w->Frame(), "states_changed");
  // The incremental frame equals a full repaint of the same state.
  Surface incremental = w->Frame();
  EXPECT_EQ(CompareSurfaces(incremental, RenderAll(window), 0).differing_pixels, 0);
}

TEST_F(RenderTest, HoverRepaintsOnlyTheButton) {
  TestWindow window(L"states.xml");
  ASSERT_TRUE(window.Open());
  HeadlessWindow* w = window.Native();
  EXPECT_FALSE(w->HasPendingPaint());
  w->MoveMouse(window.CenterOf(L"okBtn"));
  // The window now waits for a paint of exactly the button's rectangle.
  Rect dirty = window.Manager().TakeDirty();
  EXPECT_EQ(dirty, window.FindControl(L"okBtn")->Pos());
  EXPECT_TRUE(w->HasPendingPaint());
}

}  // namespace
}  // namespace skinui

#include <gtest/gtest.h>

#include "skinui/painter/canvas.h"

namespace skinui {
namespace {

TEST(CanvasFill, BlendsSourceOverPremultiplied) {
  const struct {
    std::uint32_t dst;  // premultiplied
    Argb colour;        // straight
    std::uint32_t expected;
  } cases[] = {
      {0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF},  // opaque replaces
      {0xFF000000, 0x80FFFFFF, 0xFF808080},  // half white over black
      {0xFFFFFFFF, 0x80000000, 0xFF7F7F7F},  // half black over white
      {0x00000000, 0x80FF0000, 0x80800000},  // over transparent: the premultiplied source
      {0x80800000, 0x800000FF, 0xC0400080},  // two half layers
      {0xFF123456, 0x00FFFFFF, 0xFF123456},  // fully transparent changes nothing
  };
  for (const auto& c : cases) {
    Surface s(1, 1);
    s.At(0, 0) = c.dst;
    Canvas canvas(&s, s.Bounds());
    canvas.FillRect(s.Bounds(), c.colour);
    EXPECT_EQ(s.At(0, 0), c.expected) << std::hex << c.dst << " " << c.colour;
  }
}

TEST(CanvasFill, StaysInsideTheClipAndTheSurface) {
  Surface s(6, 6);
  Canvas canvas(&s, Rect{1, 1, 6, 6});
  canvas.PushClip(Rect{0, 0, 4, 4});
  EXPECT_EQ(canvas.Clip(), (Rect{1, 1, 4, 4}));
  canvas.FillRect(Rect{-10, -10, 100, 100}, 0xFFFFFFFF);
  canvas.PopClip();
  canvas.PopClip();  // more pops than pushes are ignored
  EXPECT_EQ(canvas.Clip(), (Rect{1, 1, 6, 6}));
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x)
      EXPECT_EQ(s.At(x, y), (x >= 1 && x < 4 && y >= 1 && y < 4) ? 0xFFFFFFFFu : 0u) << x << "," << y;
}

// Which pixels of a 8x6 surface are set after each shape, row by row.
std::vector<std::string> Picture(const Surface& s) {
  std::vector<std::string> rows;
  for (int y = 0; y < s.Height(); ++y) {
    std::string row;
    for (int x = 0; x < s.Width(); ++x) row += s.At(x, y) ? '#' : '.';
    rows.push_back(row);
  }
  return rows;
}

TEST(CanvasFill, RoundRectCutsItsCornersAndBorderLeavesTheInside) {
  Surface s(8, 6);
  Canvas canvas(&s, s.Bounds());
  canvas.FillRoundRect(s.Bounds(), Size{4, 4}, 0xFFFFFFFF);
  const std::vector<std::string> round = Picture(s);
  EXPECT_EQ(round.front()[0], '.');
  EXPECT_EQ(round.front()[7], '.');
  EXPECT_EQ(round.back()[0], '.');
  EXPECT_EQ(round[2], "########");
  EXPECT_EQ(round.front()[3], '#');

  Surface b(8, 6);
  Canvas border(&b, b.Bounds());
  border.DrawBorder(b.Bounds(), 1, 0xFFFFFFFF, Size{0, 0});
  EXPECT_EQ(Picture(b), (std::vector<std::string>{"########", "#......#", "#......#",
                                                  "#......#", "#......#", "########"}));
  Surface w(8, 6);
  Canvas wide(&w, w.Bounds());
  wide.DrawBorder(w.Bounds(), 2, 0xFFFFFFFF, Size{0, 0});
  EXPECT_EQ(Picture(w), (std::vector<std::string>{"########", "########", "##....##",
                                                  "##....##", "########", "########"}));
}

}  // namespace
}  // namespace skinui

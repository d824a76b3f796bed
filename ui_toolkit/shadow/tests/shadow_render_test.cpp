// The shadow bitmap, bit for bit: kernel cells worked out by hand, the shape
// shrink step, the hole where the window lies, colour byte order and the
// degenerate parameters that must stay inside the buffers.
#include "skinui/shadow/shadow_render.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace skinui {
namespace {

struct KernelCase {
  const char* name;
  int size, sharpness, darkness;
  ColourRef colour;
  int radius;
  // (dx, dy) from the centre and the expected cell.
  std::vector<std::tuple<int, int, std::uint32_t>> cells;
};

TEST(ShadowKernel, CellsMatchHandComputedValues) {
  const std::vector<KernelCase> cases = {
      {"single cell", 0, 0, 100, 0, 0, {{0, 0, 0x64000000}}},
      // h = 1: d < 1 full; d = 1 -> 200; d = sqrt 2 -> (1 - 0.414/2) * 200 = 158;
      // d = 2 -> 100; d = sqrt 5 > 2 -> 0.
      {"size beyond sharpness", 2, 1, 200, 0xFFFFFF, 2,
       {{0, 0, 0xC8C8C8C8}, {1, 0, 0xC8C8C8C8}, {1, 1, 0x9E9E9E9E}, {0, 2, 0x64646464},
        {2, 1, 0}, {-2, -2, 0}}},
      // h = 0, darkness 255, red 0x76 green 0x3B: d = 1 -> alpha 191, red
      // 118 * 191 / 255 = 88, green 59 * 191 / 255 = 44; d = 3 -> alpha 63,
      // red 29, green 14; d = sqrt 10 > 3 -> 0.
      {"sharpness beyond size", 0, 3, 255, 0x003B76, 3,
       {{0, 0, 0xFF763B00}, {0, -1, 0xBF582C00}, {3, 0, 0x3F1D0E00}, {-3, 1, 0}}},
      // A negative size blurs over the sharpness alone.
      {"negative size", -4, 1, 255, 0, 1, {{0, 0, 0xFF000000}, {1, 0, 0x7F000000}, {1, 1, 0}}},
  };
  for (const KernelCase& c : cases) {
    SCOPED_TRACE(c.name);
    ShadowParams p;
    p.size = c.size;
    p.sharpness = c.sharpness;
    p.darkness = c.darkness;
    p.colour = c.colour;
    const ShadowKernel k = MakeShadowKernel(p);
    ASSERT_EQ(k.radius, c.radius);
    ASSERT_EQ(k.cells.size(), static_cast<std::size_t>(k.Side() * k.Side()));
    for (const auto& [dx, dy, value] : c.cells)
      EXPECT_EQ(k.At(c.radius + dx, c.radius + dy), value) << "cell " << dx << "," << dy;
  }
}

TEST(ShadowPixel, ColourRefKeepsRedInTheLowestByte) {
  // "#26003B76" read as a COLORREF: red 0x76, green 0x3B, blue 0x00, the top
  // byte ignored; premultiplied at alpha 0x80: 118 * 128 / 255 = 59, 29.
  const ColourRef layout = 0x26003B76;
  EXPECT_EQ(ColourRefRed(layout), 0x76u);
  EXPECT_EQ(ColourRefGreen(layout), 0x3Bu);
  EXPECT_EQ(ColourRefBlue(layout), 0x00u);
  EXPECT_EQ(ShadowPixel(layout, 0x80), 0x803B1D00u);
  EXPECT_EQ(ShadowPixel(0x00FF0000, 0xFF), 0xFF0000FFu);  // COLORREF blue -> low pixel byte
}

std::vector<RowSpan> Spans(std::initializer_list<std::pair<int, int>> rows) {
  std::vector<RowSpan> out;
  for (auto [l, r] : rows) out.push_back(RowSpan{l, r});
  return out;
}

void ExpectRows(const std::vector<RowSpan>& got, const std::vector<RowSpan>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < got.size(); ++i) {
    const bool got_empty = IsEmptySpan(got[i]), want_empty = IsEmptySpan(want[i]);
    EXPECT_EQ(got_empty, want_empty) << "row " << i;
    if (!got_empty && !want_empty) {
      EXPECT_EQ(got[i].left, want[i].left) << "row " << i;
      EXPECT_EQ(got[i].right, want[i].right) << "row " << i;
    }
  }
}

TEST(ShadowShape, GrowsShrinksAndKeepsInsideTheBitmap) {
  struct Case {
    const char* name;
    std::vector<RowSpan> window;
    int width, size, sharpness;
    std::vector<RowSpan> want;
  };
  const RowSpan e{0, 0};
  const std::vector<Case> cases = {
      // Size 1 moves the rows by one; two shrink steps empty two rows at each
      // end and narrow the rest by two, so the shape starts at row r = 3.
      {"grow then shrink", std::vector<RowSpan>(8, RowSpan{0, 10}), 10, 1, 3,
       {e, e, e, {3, 9}, {3, 9}, {3, 9}, {3, 9}, e, e, e}},
      // One step on rounded rows: each row meets its neighbours, less a pixel.
      {"rounded rows", Spans({{1, 5}, {0, 6}, {0, 6}, {0, 6}, {1, 5}}), 6, 0, 1,
       {e, {2, 4}, {1, 5}, {2, 4}, e}},
      // No shrinking when size >= sharpness: the window rows move by size.
      {"plain grow", Spans({{1, 3}, {0, 4}}), 4, 1, 1, {e, {2, 4}, {1, 5}, e}},
      // Negative size: the bitmap is smaller than the window; the window rows
      // beyond it still count as neighbours, so the first row is not emptied.
      {"negative size", std::vector<RowSpan>(6, RowSpan{0, 10}), 10, -1, 0,
       {{0, 8}, {0, 8}, {0, 8}, {0, 8}}},
      // Sharpness far beyond size shrinks the shape to nothing.
      {"shrunk away", std::vector<RowSpan>(2, RowSpan{0, 6}), 6, 0, 20, {e, e}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ShadowParams p;
    p.size = c.size;
    p.sharpness = c.sharpness;
    ExpectRows(ShadowShape(c.window, c.width, p), c.want);
  }
}

std::vector<std::string> Picture(const Surface& s, std::uint32_t full) {
  std::vector<std::string> rows;
  for (int y = 0; y < s.Height(); ++y) {
    std::string row;
    for (int x = 0; x < s.Width(); ++x)
      row += s.At(x, y) == 0 ? '.' : s.At(x, y) == full ? '#' : '?';
    rows.push_back(row);
  }
  return rows;
}

TEST(RenderShadow, StampsEdgesFillsInsideAndCutsTheWindowOut) {
  // A 4 x 3 window, size 2, sharpness 0: the kernel is a disc of radius 2 in
  // full colour. The shape is x 2..5, rows 2..4; rows 2 and 4 are stamped
  // along their length, row 3 at x = 2 and 5; rows 1..4 are filled; the
  // window sits at x 1..4, rows 1..3 (size - offset = 1) and stays clear.
  ShadowParams p;
  p.size = 2;
  p.sharpness = 0;
  p.darkness = 0x26;
  p.offsetX = 1;
  p.offsetY = 1;
  p.colour = 0x26003B76;
  const std::uint32_t full = 0x26110800;  // alpha 38: red 118*38/255 = 17, green 8
  ASSERT_EQ(ShadowPixel(p.colour, 0x26), full);
  Surface out;
  RenderShadow(FullRowSpans(Size{4, 3}), 4, p, &out);
  ASSERT_EQ(out.GetSize(), (Size{8, 7}));
  const std::vector<std::string> want = {
      "..####..",  //
      ".....##.",  //
      "#....###",  //
      "#....###",  //
      "########",  //
      ".######.",  //
      "..####..",
  };
  EXPECT_EQ(Picture(out, full), want);
}

TEST(RenderShadow, BlurredBorderFadesOutward) {
  // The installer windows' look: size 6, sharpness 10, darkness 20, offset
  // 1,1. The outermost corners stay transparent; alpha never exceeds the
  // darkness.
  ShadowParams p;
  p.size = 6;
  p.sharpness = 10;
  p.darkness = 20;
  p.offsetX = 1;
  p.offsetY = 1;
  p.colour = 0x26003B76;
  Surface out;
  RenderShadow(FullRowSpans(Size{60, 40}), 60, p, &out);
  ASSERT_EQ(out.GetSize(), (Size{72, 52}));
  for (int y = 0; y < out.Height(); ++y)
    for (int x = 0; x < out.Width(); ++x) ASSERT_LE(out.At(x, y) >> 24, 20u);
  EXPECT_EQ(out.At(0, 0), 0u);
  EXPECT_EQ(out.At(71, 51), 0u);
  // The window covers x 5..64, y 5..44 and stays clear. The shape, shrunk
  // by 4, is x 10..61, y 10..41; below the window the nearest stamp is 5 rows
  // away: alpha (1 - 5/11) * 20 = 10; right of it 4 columns: 12.
  EXPECT_EQ(out.At(30, 44), 0u);
  EXPECT_EQ(out.At(30, 46), ShadowPixel(p.colour, 10));
  EXPECT_EQ(out.At(65, 30), ShadowPixel(p.colour, 12));
  // Alpha grows from the bottom edge inward along a column.
  std::uint32_t previous = 0;
  for (int y = 51; y >= 46; --y) {
    EXPECT_GE(out.At(30, y) >> 24, previous) << "row " << y;
    previous = out.At(30, y) >> 24;
  }
}

TEST(RenderShadow, DegenerateParametersStayInBounds) {
  // Run under ASan: none of these may touch memory outside the buffers.
  struct Case {
    Size window;
    int size, sharpness, ox, oy;
    Size want;
  };
  const std::vector<Case> cases = {
      {{3, 3}, 0, 20, 20, 20, {3, 3}},        // shape shrunk to nothing, far offset
      {{10, 10}, -20, 0, 0, 0, {0, 0}},       // bitmap smaller than nothing
      {{30, 30}, -5, 20, -20, -20, {20, 20}}, // negative size, large blur
      {{1, 50}, 20, 0, 20, -20, {41, 90}},    // thin window, shadow far off
      {{0, 0}, 5, 5, 0, 0, {10, 10}},         // empty window
  };
  for (const Case& c : cases) {
    ShadowParams p;
    p.size = c.size;
    p.sharpness = c.sharpness;
    p.offsetX = c.ox;
    p.offsetY = c.oy;
    p.darkness = 255;
    Surface out;
    RenderShadow(FullRowSpans(c.window), c.window.width, p, &out);
    EXPECT_EQ(out.GetSize(), c.want);
  }
}

TEST(DrawNineGrid, KeepsCornersAndStretchesTheMiddle) {
  Surface image(3, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) image.At(x, y) = 0xFF000000u | (y * 3 + x);
  Surface out(5, 4);
  DrawNineGrid(image, Rect{1, 1, 1, 1}, &out);
  const std::uint32_t want[4][5] = {{0, 1, 1, 1, 2}, {3, 4, 4, 4, 5}, {3, 4, 4, 4, 5},
                                    {6, 7, 7, 7, 8}};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(out.At(x, y) & 0xFF, want[y][x]) << x << "," << y;
  // Corners larger than the target are cut so the parts never overlap.
  Surface small(2, 2);
  DrawNineGrid(image, Rect{5, 5, 5, 5}, &small);
  EXPECT_EQ(small.At(0, 0) & 0xFF, 0u);
  EXPECT_EQ(small.At(1, 1) & 0xFF, 4u);
}

}  // namespace
}  // namespace skinui

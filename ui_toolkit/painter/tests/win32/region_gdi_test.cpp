// The computed rows against the system's own round-rectangle regions.
#include <windows.h>

#include <gtest/gtest.h>

#include "skinui/painter/region.h"

namespace skinui {
namespace {

TEST(RoundRectRegionGdi, MatchesCreateRoundRectRgn) {
  const int cases[][4] = {{10, 8, 2, 2}, {10, 8, 3, 3}, {10, 8, 4, 4}, {12, 9, 5, 3},
                          {8, 8, 7, 7},  {20, 16, 9, 7}, {12, 12, 20, 20}, {30, 20, 10, 10},
                          {9, 11, 2, 5}, {360, 180, 4, 4}};
  for (const auto& c : cases) {
    const int w = c[0], h = c[1];
    HRGN region = CreateRoundRectRgn(0, 0, w + 1, h + 1, c[2], c[3]);
    ASSERT_NE(region, nullptr);
    const std::vector<RowSpan> rows = RoundRectRowSpans(Size{w, h}, Size{c[2], c[3]});
    for (int y = 0; y < h; ++y) {
      for (int x = -1; x <= w; ++x) {
        const bool inside = x >= rows[y].left && x < rows[y].right;
        EXPECT_EQ(PtInRegion(region, x, y) != FALSE, inside)
            << w << "x" << h << " corner " << c[2] << "x" << c[3] << " at " << x << "," << y;
      }
    }
    DeleteObject(region);
  }
}

}  // namespace
}  // namespace skinui

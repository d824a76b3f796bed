#include "skinui/painter/region.h"

#include <gtest/gtest.h>

namespace skinui {
namespace {

std::vector<std::string> Picture(Size window, Size corner) {
  std::vector<std::string> rows;
  for (const RowSpan& s : RoundRectRowSpans(window, corner)) {
    std::string row;
    for (int x = 0; x < window.width; ++x) row += (x >= s.left && x < s.right) ? '#' : '.';
    rows.push_back(row);
  }
  return rows;
}

TEST(RoundRectRegion, RowsFollowTheCornerEllipse) {
  const struct {
    Size window;
    Size corner;
    std::vector<std::string> rows;
  } cases[] = {
      {{5, 3}, {0, 0}, {"#####", "#####", "#####"}},
      {{5, 3}, {1, 1}, {"#####", "#####", "#####"}},  // below 2: a rectangle
      {{6, 4}, {2, 2}, {"######", "######", "######", "######"}},
      {{6, 4}, {3, 3}, {".####.", "######", "######", ".####."}},
      {{6, 5}, {4, 4}, {".####.", "######", "######", "######", ".####."}},
      {{8, 8}, {6, 6}, {"..####..", ".######.", "########", "########", "########", "########",
                        ".######.", "..####.."}},
      {{7, 5}, {5, 3}, {".#####.", "#######", "#######", "#######", ".#####."}},
      {{6, 6}, {-4, -4}, {".####.", "######", "######", "######", "######", ".####."}},
      {{8, 8}, {20, 20}, {"..####..", ".######.", "########", "########", "########", "########",
                          ".######.", "..####.."}},  // clamped to the window
  };
  for (const auto& c : cases)
    EXPECT_EQ(Picture(c.window, c.corner), c.rows)
        << c.window.width << "x" << c.window.height << " corner " << c.corner.width << "x"
        << c.corner.height;
}

TEST(RoundRectRegion, LargeWindowsCutOnlyTheCornerRows) {
  const std::vector<RowSpan> rows = RoundRectRowSpans(Size{600, 400}, Size{4, 4});
  ASSERT_EQ(rows.size(), 400u);
  EXPECT_EQ(rows.front().left, 1);
  EXPECT_EQ(rows.front().right, 599);
  EXPECT_EQ(rows.back().left, 1);
  for (std::size_t y = 1; y + 1 < rows.size(); ++y) {
    EXPECT_EQ(rows[y].left, 0) << y;
    EXPECT_EQ(rows[y].right, 600) << y;
  }
  EXPECT_TRUE(RoundRectRowSpans(Size{0, 0}, Size{4, 4}).empty());
}

}  // namespace
}  // namespace skinui

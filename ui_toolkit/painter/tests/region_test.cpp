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

TEST(RoundRectRegion, MatchesTheSystemShapes) {
  const struct {
    Size window;
    Size corner;
    std::vector<std::string> rows;
  } cases[] = {
      {{5, 3}, {0, 0}, {"#####", "#####", "#####"}},
      {{5, 3}, {1, 1}, {"#####", "#####", "#####"}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Picture(c.window, c.corner), c.rows) << c.window.width << "x" << c.window.height
                                                   << " corner " << c.corner.width;
}

}  // namespace
}  // namespace skinui

// Rows of a rounded-rectangle window region. The corner ellipse is traced
// with Zingl's integer ellipse algorithm from the middle row outwards, the
// way GDI builds its round-rectangle regions: the lower half of the
// ellipse gives the bottom corner rows, mirrored for the top ones, and
// every row between the two corner bands is full.
#include "skinui/painter/region.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace skinui {

std::vector<RowSpan> RoundRectRowSpans(Size window, Size corner) {
  const int w = std::max(window.width, 0);
  const int h = std::max(window.height, 0);
  std::vector<RowSpan> rows(static_cast<std::size_t>(h), RowSpan{0, w});
  // The region is asked for with right and bottom one past the window, and
  // a round-rectangle region leaves out its last column and row, so the
  // covered box is exactly the window; the ellipse is at most that box.
  const int ew = std::min(w, std::abs(corner.width));
  const int eh = std::min(h, std::abs(corner.height));
  if (ew < 2 || eh < 2) return rows;

  // band[i]: the span of ellipse row i (0 = top of the ellipse).
  std::vector<RowSpan> band(static_cast<std::size_t>(eh), RowSpan{0, w});
  const std::int64_t a = ew - 1;
  const std::int64_t b = eh - 1;
  const std::int64_t asq = 8 * a * a;
  const std::int64_t bsq = 8 * b * b;
  std::int64_t dx = 4 * b * b * (1 - a);
  std::int64_t dy = 4 * a * a * (1 + (b % 2));
  std::int64_t err = dx + dy + a * a * (b % 2);
  int x = 0;
  int y = eh / 2;
  while (x <= ew / 2) {
    const std::int64_t e2 = 2 * err;
    if (e2 >= dx) {
      ++x;
      err += dx += bsq;
    }
    if (e2 <= dy) {
      ++y;
      err += dy += asq;
      if (y < eh) band[static_cast<std::size_t>(y)] = RowSpan{x, w - x};
    }
  }
  for (int i = 0; i < eh / 2; ++i) band[static_cast<std::size_t>(i)] = band[static_cast<std::size_t>(b - i)];

  for (int i = 0; i < eh / 2; ++i) rows[static_cast<std::size_t>(i)] = band[static_cast<std::size_t>(i)];
  for (int i = eh / 2 + 1; i < eh; ++i)
    rows[static_cast<std::size_t>(h - eh + i)] = band[static_cast<std::size_t>(i)];
  return rows;
}

}  // namespace skinui

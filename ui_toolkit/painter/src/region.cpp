// Rows of a rounded-rectangle window region, traced with the incremental
// (midpoint) ellipse algorithm in integer arithmetic, the way GDI builds
// round-rectangle regions: the corner ellipse's quadrants are walked from
// the top and bottom rows toward the middle, each step widening the span.
#include "skinui/painter/region.h"

#include <algorithm>
#include <cstdlib>

namespace skinui {

std::vector<RowSpan> RoundRectRowSpans(Size window, Size corner) {
  const int w = std::max(window.width, 0);
  const int h = std::max(window.height, 0);
  std::vector<RowSpan> rows(static_cast<std::size_t>(h), RowSpan{0, w});
  // The region is asked for with right and bottom one past the window, and
  // a round-rectangle region leaves out its last column and row: the
  // covered box is exactly 0..w, 0..h.
  const int ew = std::min(w, std::abs(corner.width));
  const int eh = std::min(h, std::abs(corner.height));
  if (ew < 2 || eh < 2) return rows;

  long long asq = static_cast<long long>(ew) * ew / 4;
  long long bsq = static_cast<long long>(eh) * eh / 4;
  if (asq == 0) asq = 1;
  if (bsq == 0) bsq = 1;
  long long d = bsq - asq * eh / 2 + asq / 4;
  long long xd = 0;
  long long yd = asq * eh;

  int left = ew / 2;
  int right = w - ew / 2;
  int top = 0;
  int bottom = h;
  auto emit = [&](int l, int r) {
    if (top < bottom) {
      rows[static_cast<std::size_t>(top)] = RowSpan{l, r};
      rows[static_cast<std::size_t>(bottom - 1)] = RowSpan{l, r};
    }
    ++top;
    --bottom;
  };

  // First half of the quadrant: steps mostly sideways.
  while (xd < yd) {
    if (d > 0) {
      emit(left, right);
      yd -= 2 * asq;
      d -= yd;
    }
    --left;
    ++right;
    xd += 2 * bsq;
    d += bsq + xd;
  }
  // Second half: steps mostly downwards.
  d += (3 * (asq - bsq) / 2 - (xd + yd)) / 2;
  while (yd >= 0) {
    emit(left, right);
    if (d < 0) {
      --left;
      ++right;
      xd += 2 * bsq;
      d += xd;
    }
    yd -= 2 * asq;
    d += asq - yd;
  }
  (void)top;
  return rows;
}

}  // namespace skinui

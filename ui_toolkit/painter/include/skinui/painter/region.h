// The window region of a "roundcorner" window.
//
// Threads: pure function, any thread.
#pragma once

#include <vector>

#include "skinui/geometry.h"

namespace skinui {

struct RowSpan {
  int left = 0;
  int right = 0;  // half-open; left >= right means an empty row
};

// Per row (window.height entries), the pixels inside the rounded-rectangle
// region as Windows' CreateRoundRectRgn(0, 0, w + 1, h + 1, cw, ch) gives
// it for a w x h window with corner ellipse cw x ch. A corner of 0 (either
// side) gives full rows.
std::vector<RowSpan> RoundRectRowSpans(Size window, Size corner);

}  // namespace skinui

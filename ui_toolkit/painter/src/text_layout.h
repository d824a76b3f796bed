// Line breaking shared by MeasureText and Canvas::DrawText, so measuring
// and drawing always agree. Internal to the painter.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "skinui/painter/text.h"

namespace skinui {

struct TextLine {
  std::u32string chars;  // code points to draw (an ellipsis already added)
  int width = 0;         // pixels
};

// Breaks `text` into lines by the kText* flags of `format`. `max_width` and
// `max_height` <= 0 mean unbounded. With kTextEndEllipsis, a line wider
// than max_width, and the last line that fits in max_height when more
// follow, end in "...".
std::vector<TextLine> LayoutText(const Font& font, std::wstring_view text, int max_width,
                                 int max_height, unsigned format);

// Width in pixels of code points drawn in a row.
int RunWidth(const Font& font, std::u32string_view chars);

}  // namespace skinui

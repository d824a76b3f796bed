// Colour texts as layouts write them.
//
// Threads: pure function, any thread.
#pragma once

#include <string_view>

#include "skinui/surface.h"

namespace skinui {

// Parses "#AARRGGBB", "0xAARRGGBB" or "0XAARRGGBB" (hex digits of either
// case) into a straight (not premultiplied) colour. Six digits ("#RRGGBB",
// "0xRRGGBB") mean an opaque colour (alpha FF). Any other text (other digit
// counts, stray characters, spaces) returns false and leaves *out unchanged.
bool ParseColor(std::string_view text, Argb* out);

}  // namespace skinui

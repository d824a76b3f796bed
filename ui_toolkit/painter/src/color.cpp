// Colour texts: "#AARRGGBB", "0xAARRGGBB", or six digits for opaque colours.
#include "skinui/painter/color.h"

namespace skinui {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool ParseColor(std::string_view text, Argb* out) {
  if (!text.empty() && text.front() == '#') {
    text.remove_prefix(1);
  } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
  } else {
    return false;
  }
  if (text.size() != 8 && text.size() != 6) return false;
  Argb value = 0;
  for (char c : text) {
    const int d = HexDigit(c);
    if (d < 0) return false;
    value = (value << 4) | static_cast<Argb>(d);
  }
  if (text.size() == 6) value |= 0xFF000000u;
  *out = value;
  return true;
}

}  // namespace skinui

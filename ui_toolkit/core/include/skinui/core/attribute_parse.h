// Parsing of layout attribute values: numbers, number lists, booleans,
// colours. Every parser returns false (leaving *out unchanged) on malformed
// text instead of guessing, so the layout builder can report the position.
//
// Threads: pure functions, any thread.
#pragma once

#include <string>
#include <string_view>

#include "skinui/geometry.h"
#include "skinui/surface.h"

namespace skinui {

// Base-10 integer with optional sign and surrounding spaces.
bool ParseIntValue(std::string_view text, int* out);
// "l,t,r,b" (spaces allowed around the numbers).
bool ParseRectValue(std::string_view text, Rect* out);
// "w,h" or "x,y".
bool ParseSizeValue(std::string_view text, Size* out);
// "true" / "false" in any case.
bool ParseBoolValue(std::string_view text, bool* out);
// "#AARRGGBB" / "0xAARRGGBB" (six digits: opaque).
bool ParseColorValue(std::string_view text, Argb* out);

// ASCII lower case (attribute and element names).
std::string ToLowerAscii(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);

}  // namespace skinui

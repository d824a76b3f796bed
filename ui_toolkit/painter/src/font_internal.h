// Internal pieces of the font code shared by font.cpp, the text layout and
// the platform discovery files.
#pragma once

#include <stb/stb_truetype.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "skinui/painter/text.h"

namespace skinui {

// One loaded font file (the first face of a collection). Immutable after
// Load; shared by every Font made from it.
class FontFace {
 public:
  // Reads and checks the file; false with a reason when it is unusable.
  bool Load(const std::string& path, std::string* error);

  const stbtt_fontinfo& Info() const { return info_; }
  // Windows ascent and descent in font units (OS/2 usWinAscent/Descent,
  // else hhea).
  int UnitsAscent() const { return ascent_; }
  int UnitsDescent() const { return descent_; }

 private:
  std::string bytes_;
  stbtt_fontinfo info_{};
  int ascent_ = 0;
  int descent_ = 0;
};

struct Font::Glyph {
  int advance = 0;  // pen advance in pixels
  int x0 = 0;       // bitmap offset from the pen position
  int y0 = 0;       // bitmap offset from the baseline (negative: above)
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> coverage;  // width * height, 0..255
};

// The next code point of `text` at `*i` (advancing it): UTF-16 surrogate
// pairs are joined where wchar_t is 16 bits; a lone surrogate is U+FFFD.
char32_t NextCodePoint(std::wstring_view text, std::size_t* i);

// Platform font discovery (src/win32 or src/posix).
// The TARNVELL_SKIN_FONT override as UTF-8, empty when unset.
std::string FontOverrideFromEnvironment();
// Files worth trying for `family`, best first (UTF-8 paths).
std::vector<std::string> PlatformFontCandidates(const std::wstring& family);

}  // namespace skinui

// Fonts, font discovery and text measurement.
//
// Fonts are TrueType/OpenType files (also .ttc collections) rasterised in
// software, so every platform produces the same pixels from the same file.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

#include "skinui/geometry.h"

namespace skinui {

// `size` is the character height in pixels (as Windows' LOGFONT lfHeight =
// -size): the font's em square is scaled to `size` pixels; the line height
// is then the font's Windows ascent plus descent at that scale.
struct FontSpec {
  std::wstring name;
  int size = 12;
  bool bold = false;
  bool underline = false;
  bool italic = false;
};

// Text-format flags with the values of Windows' DT_ flags.
enum TextFormat : unsigned {
  kTextLeft = 0,
  kTextCenter = 1,
  kTextRight = 2,
  kTextTop = 0,
  kTextVCenter = 4,
  kTextBottom = 8,
  kTextWordBreak = 0x10,
  kTextSingleLine = 0x20,
  kTextEndEllipsis = 0x8000,
};

class FontFace;  // one loaded font file (internal)

// One font at one size. Opaque; made by FontLibrary. Immutable after
// creation except its glyph cache, which is filled on use: a Font is used
// by one thread at a time (the UI thread).
class Font {
 public:
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  const FontSpec& Spec() const { return spec_; }
  int Ascent() const { return ascent_; }    // pixels above the baseline
  int Descent() const { return descent_; }  // pixels below (positive)
  int LineHeight() const { return line_height_; }
  // False when no font file could be loaded: such a font measures and draws
  // nothing (text is simply absent, never a crash).
  bool IsValid() const { return face_ != nullptr; }

  // Internal: glyph access for measuring and drawing (src/). Advances are
  // whole pixels per glyph and no kerning is applied, as GDI lays text out.
  struct Glyph;
  const Glyph& GlyphFor(char32_t code) const;

 private:
  friend class FontLibrary;
  Font(FontSpec spec, std::shared_ptr<const FontFace> face);

  FontSpec spec_;
  std::shared_ptr<const FontFace> face_;
  float scale_ = 0;
  int ascent_ = 0;
  int descent_ = 0;
  int line_height_ = 0;
  int embolden_ = 0;  // synthetic bold: extra pixels of horizontal smear
  mutable std::unordered_map<char32_t, std::unique_ptr<Glyph>> glyphs_;
};

// Finds font files and hands out fonts. Any thread (internally locked); a
// returned Font is then used by one thread at a time.
//
// Discovery, first hit wins:
//   1. the environment variable TARNVELL_SKIN_FONT (a file path) overrides
//      everything;
//   2. the file set by SetFallbackFile, when set;
//   3. Windows: the Fonts folder's msyh.ttc, simsun.ttc, segoeui.ttf,
//      tahoma.ttf. Elsewhere: fontconfig's match for the family with
//      language zh-cn, then the Debian paths of WenQuanYi Micro Hei, Noto
//      Sans CJK, WenQuanYi Zen Hei, then DejaVu Sans.
// Bold without a bold face is emboldened synthetically; underline is drawn
// as a line; italic is ignored.
class FontLibrary {
 public:
  static FontLibrary& Shared();

  FontLibrary();
  ~FontLibrary();

  // Never null; a font whose file cannot be loaded is !IsValid(). Fonts of
  // equal spec are shared. Blocks on the first use of a file (reading it).
  std::shared_ptr<const Font> Get(const FontSpec& spec);

  // A font file to use before the platform's own search (tests, tools).
  void SetFallbackFile(std::string path);

  // The file `name` resolves to (empty when none is found).
  std::string ResolvedFile(const std::wstring& name) const;

 private:
  std::shared_ptr<const FontFace> LoadFace(const std::string& path);

  mutable std::mutex mutex_;
  std::string fallback_file_;
  std::unordered_map<std::string, std::shared_ptr<const FontFace>> faces_;
  mutable std::unordered_map<std::wstring, std::string> resolved_;  // family -> platform file
  std::unordered_map<std::wstring, std::shared_ptr<const Font>> fonts_;
};

// The size of `text` laid out as DrawText would in a box `max_width` wide
// (used for word breaking and ellipsis; <= 0 means unbounded). Lines break
// at '\n' (and "\r\n") unless kTextSingleLine. Width is the widest line,
// height the number of lines times the line height.
Size MeasureText(const Font& font, std::wstring_view text, int max_width, unsigned format);

}  // namespace skinui

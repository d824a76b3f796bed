// Fonts: file loading, scaling, the per-font glyph cache and the library
// that finds files and shares faces and fonts.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "font_internal.h"
#include "utils/file.h"
#include "utils/text.h"

namespace skinui {
namespace {

std::uint16_t ReadU16(const unsigned char* p) {
  return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}
std::uint32_t ReadU32(const unsigned char* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
         p[3];
}

// Finds a table of the face starting at `fontstart`; 0 when absent.
std::uint32_t FindTable(const std::string& bytes, std::uint32_t fontstart, const char* tag) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  if (fontstart + 12 > bytes.size()) return 0;
  const int count = ReadU16(data + fontstart + 4);
  for (int i = 0; i < count; ++i) {
    const std::uint32_t rec = fontstart + 12 + 16 * i;
    if (rec + 16 > bytes.size()) return 0;
    if (std::string_view(reinterpret_cast<const char*>(data + rec), 4) == tag)
      return ReadU32(data + rec + 8);
  }
  return 0;
}

std::string SpecKey(const FontSpec& spec) {
  std::string key = Utils::WideToUtf8(spec.name);
  key += '|' + std::to_string(spec.size) + (spec.bold ? "b" : "") + (spec.underline ? "u" : "") +
         (spec.italic ? "i" : "");
  return key;
}

}  // namespace

char32_t NextCodePoint(std::wstring_view text, std::size_t* i) {
  const char32_t c = static_cast<char32_t>(text[(*i)++]);
  if constexpr (sizeof(wchar_t) == 2) {
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (*i < text.size()) {
        const char32_t low = static_cast<char32_t>(text[*i]);
        if (low >= 0xDC00 && low <= 0xDFFF) {
          ++*i;
          return 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        }
      }
      return 0xFFFD;
    }
    if (c >= 0xDC00 && c <= 0xDFFF) return 0xFFFD;
  }
  return c;
}

bool FontFace::Load(const std::string& path, std::string* error) {
  if (!Utils::ReadWholeFile(Utils::Utf8ToWide(path), bytes_) || bytes_.empty()) {
    *error = "cannot read " + path;
    return false;
  }
  const auto* data = reinterpret_cast<const unsigned char*>(bytes_.data());
  const int offset = stbtt_GetFontOffsetForIndex(data, 0);
  if (offset < 0 || !stbtt_InitFont(&info_, data, offset)) {
    *error = "not a TrueType/OpenType font: " + path;
    return false;
  }
  int ascent = 0, descent = 0, gap = 0;
  stbtt_GetFontVMetrics(&info_, &ascent, &descent, &gap);
  ascent_ = ascent;
  descent_ = -descent;
  const std::uint32_t os2 = FindTable(bytes_, static_cast<std::uint32_t>(offset), "OS/2");
  if (os2 != 0 && os2 + 78 <= bytes_.size()) {
    const int win_ascent = ReadU16(data + os2 + 74);
    const int win_descent = ReadU16(data + os2 + 76);
    if (win_ascent + win_descent > 0) {
      ascent_ = win_ascent;
      descent_ = win_descent;
    }
  }
  return true;
}

Font::Font(FontSpec spec, std::shared_ptr<const FontFace> face)
    : spec_(std::move(spec)), face_(std::move(face)) {
  if (!face_) return;
  const int size = spec_.size > 0 ? spec_.size : 12;
  scale_ = stbtt_ScaleForMappingEmToPixels(&face_->Info(), static_cast<float>(size));
  ascent_ = static_cast<int>(std::lround(face_->UnitsAscent() * scale_));
  descent_ = static_cast<int>(std::lround(face_->UnitsDescent() * scale_));
  line_height_ = ascent_ + descent_;
  embolden_ = spec_.bold ? 1 + size / 24 : 0;
}

Font::~Font() = default;

const Font::Glyph& Font::GlyphFor(char32_t code) const {
  auto found = glyphs_.find(code);
  if (found != glyphs_.end()) return *found->second;
  auto glyph = std::make_unique<Glyph>();
  if (face_) {
    const stbtt_fontinfo& info = face_->Info();
    const int index = stbtt_FindGlyphIndex(&info, static_cast<int>(code));
    int advance = 0, bearing = 0;
    stbtt_GetGlyphHMetrics(&info, index, &advance, &bearing);
    glyph->advance = static_cast<int>(std::lround(advance * scale_)) + embolden_;
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    stbtt_GetGlyphBitmapBox(&info, index, scale_, scale_, &x0, &y0, &x1, &y1);
    const int w = x1 - x0, h = y1 - y0;
    if (w > 0 && h > 0 && code != U' ') {
      std::vector<std::uint8_t> plain(static_cast<std::size_t>(w) * h);
      stbtt_MakeGlyphBitmap(&info, plain.data(), w, h, w, scale_, scale_, index);
      // Synthetic bold: each row smeared rightwards by `embolden_` pixels.
      const int out_w = w + embolden_;
      glyph->coverage.assign(static_cast<std::size_t>(out_w) * h, 0);
      for (int y = 0; y < h; ++y) {
        for (int x = 0; x < out_w; ++x) {
          std::uint8_t v = 0;
          for (int k = 0; k <= embolden_; ++k) {
            const int sx = x - k;
            if (sx >= 0 && sx < w) v = std::max(v, plain[static_cast<std::size_t>(y) * w + sx]);
          }
          glyph->coverage[static_cast<std::size_t>(y) * out_w + x] = v;
        }
      }
      glyph->x0 = x0;
      glyph->y0 = y0;
      glyph->width = out_w;
      glyph->height = h;
    }
  }
  const Glyph& result = *glyph;
  glyphs_.emplace(code, std::move(glyph));
  return result;
}

FontLibrary& FontLibrary::Shared() {
  static FontLibrary* library = new FontLibrary();  // never destroyed: used until exit
  return *library;
}

FontLibrary::FontLibrary() = default;
FontLibrary::~FontLibrary() = default;

void FontLibrary::SetFallbackFile(std::string path) {
  std::lock_guard<std::mutex> lock(mutex_);
  fallback_file_ = std::move(path);
  fonts_.clear();
}

std::string FontLibrary::ResolvedFile(const std::wstring& name) const {
  const std::string chosen = FontOverrideFromEnvironment();
  if (!chosen.empty()) return chosen;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!fallback_file_.empty()) return fallback_file_;
    auto found = resolved_.find(name);
    if (found != resolved_.end()) return found->second;
  }
  // The platform search may take a while (fontconfig reads its caches): run
  // it unlocked and keep its answer per family name.
  const std::vector<std::string> candidates = PlatformFontCandidates(name);
  const std::string file = candidates.empty() ? std::string() : candidates.front();
  std::lock_guard<std::mutex> lock(mutex_);
  resolved_.emplace(name, file);
  return file;
}

std::shared_ptr<const FontFace> FontLibrary::LoadFace(const std::string& path) {
  auto found = faces_.find(path);
  if (found != faces_.end()) return found->second;
  auto face = std::make_shared<FontFace>();
  std::string error;
  std::shared_ptr<const FontFace> result;
  if (face->Load(path, &error)) result = face;
  faces_.emplace(path, result);  // a failed file is remembered as null
  return result;
}

std::shared_ptr<const Font> FontLibrary::Get(const FontSpec& spec) {
  const std::string path = ResolvedFile(spec.name);
  std::lock_guard<std::mutex> lock(mutex_);
  const std::wstring key = Utils::Utf8ToWide(SpecKey(spec) + '|' + path);
  auto found = fonts_.find(key);
  if (found != fonts_.end()) return found->second;
  std::shared_ptr<const FontFace> face = path.empty() ? nullptr : LoadFace(path);
  std::shared_ptr<const Font> font(new Font(spec, face));
  fonts_.emplace(key, font);
  return font;
}

}  // namespace skinui

// Canvas text: lines from the shared layout, aligned in the box, glyph
// coverage blended in the text colour, clipped to the box and the clip.
#include <algorithm>

#include "blend.h"
#include "font_internal.h"
#include "skinui/painter/canvas.h"
#include "text_layout.h"

namespace skinui {
namespace {

int AlignedX(const Rect& box, int width, unsigned format) {
  if (format & kTextCenter) return box.left + (box.Width() - width) / 2;
  if (format & kTextRight) return box.right - width;
  return box.left;
}

int AlignedTop(const Rect& box, int height, unsigned format) {
  if (format & kTextVCenter) return box.top + (box.Height() - height) / 2;
  if (format & kTextBottom) return box.bottom - height;
  return box.top;
}

void BlitGlyph(Surface* target, const Rect& clip, const Font::Glyph& g, int x, int y,
               std::uint32_t colour) {
  const Rect r = Rect::FromSize(x, y, g.width, g.height).Intersect(clip);
  for (int py = r.top; py < r.bottom; ++py) {
    const std::uint8_t* cov = g.coverage.data() + static_cast<std::size_t>(py - y) * g.width - x;
    std::uint32_t* out = target->Row(py);
    for (int px = r.left; px < r.right; ++px) {
      const std::uint32_t c = cov[px];
      if (c != 0) out[px] = blend::OverCoverage(out[px], colour, c);
    }
  }
}

}  // namespace

void Canvas::DrawText(const Rect& box, std::wstring_view text, const Font& font, Argb colour,
                      unsigned format) {
  if (text.empty() || (colour >> 24) == 0 || !font.IsValid()) return;
  const Rect clip = box.Intersect(clip_);
  if (clip.IsEmpty()) return;
  const std::vector<TextLine> lines =
      LayoutText(font, text, box.Width(), box.Height(), format);
  const int line_height = font.LineHeight();
  const std::uint32_t src = Premultiply(colour);
  int top = AlignedTop(box, static_cast<int>(lines.size()) * line_height, format);
  const int underline_gap = std::max(1, font.Descent() / 3);
  const int underline_size = std::max(1, font.Spec().size / 16);
  for (const TextLine& line : lines) {
    if (top >= clip.bottom) break;
    if (top + line_height > clip.top) {
      const int baseline = top + font.Ascent();
      int pen = AlignedX(box, line.width, format);
      const int start = pen;
      for (char32_t c : line.chars) {
        const Font::Glyph& g = font.GlyphFor(c);
        if (g.width > 0) BlitGlyph(target_, clip, g, pen + g.x0, baseline + g.y0, src);
        pen += g.advance;
      }
      if (font.Spec().underline && line.width > 0) {
        const Rect bar = Rect{start, baseline + underline_gap, pen,
                              baseline + underline_gap + underline_size}
                             .Intersect(clip);
        for (int y = bar.top; y < bar.bottom; ++y)
          blend::OverRow(target_->Row(y) + bar.left, bar.Width(), src);
      }
    }
    top += line_height;
  }
}

}  // namespace skinui

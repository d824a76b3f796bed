// Software painter into a premultiplied BGRA surface.
//
// Every operation blends source-over with premultiplied pixels and is
// clipped to the current clip rectangle. Stretching samples the nearest
// source pixel, computed in integer arithmetic (16.16 fixed point), so all
// platforms and compilers produce the same pixels.
//
// Threads: one thread at a time (the UI thread). The canvas borrows the
// surface, which must outlive it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "skinui/geometry.h"
#include "skinui/painter/image.h"
#include "skinui/painter/image_description.h"
#include "skinui/painter/region.h"
#include "skinui/painter/text.h"
#include "skinui/surface.h"

namespace skinui {

class Canvas {
 public:
  // `clip` is intersected with the surface bounds.
  Canvas(Surface* target, const Rect& clip);

  Surface* Target() const { return target_; }

  // Narrows the clip to its intersection with `r`; PopClip restores the
  // previous one. Pops without pushes are ignored.
  void PushClip(const Rect& r);
  void PopClip();
  const Rect& Clip() const { return clip_; }

  // Colours are straight ARGB (as layouts write them).
  void FillRect(const Rect& r, Argb colour);
  // Rounded rectangle with elliptic corners of `radius` (width, height of the
  // corner ellipse as Windows' RoundRect); radius 0 is FillRect.
  void FillRoundRect(const Rect& r, Size radius, Argb colour);
  // Border of `width` pixels inside `r`; with a radius, a rounded outline.
  void DrawBorder(const Rect& r, int width, Argb colour, Size radius);

  // Parses `description` (memoised in `images`: descriptions repeat every
  // frame) and
  // draws it into the control rectangle. Returns false (drawing nothing) on
  // a parse error; a missing image draws nothing and returns true.
  bool DrawImage(const Rect& control, std::string_view description, ImageCache& images);
  // Image keys: no dest -> stretched over the whole control; dest ->
  // drawn into dest offset by the control's top-left; corner -> nine-grid
  // (corners unscaled, edges stretched one way, middle both ways); hole ->
  // no middle cell; xtiled/ytiled -> the middle (or the whole image without
  // corner) repeats instead of stretching; mask -> source pixels of that
  // exact RGB are transparent; fade -> source alpha times fade/255.
  void DrawImage(const Rect& control, const ImageDescription& description, ImageCache& images);

  // Draws a decoded image stretched from `source_part` of it into `dest`.
  void DrawImagePart(const Image& image, const Rect& source_part, const Rect& dest, int fade);

  // Text in `box` with the kText* flags. Without kTextSingleLine, '\n'
  // breaks lines; kTextWordBreak also breaks at the box width (at spaces,
  // or between any two CJK characters, or anywhere when a word is too
  // long). kTextEndEllipsis shortens a too-long (last) line with "...".
  void DrawText(const Rect& box, std::wstring_view text, const Font& font, Argb colour,
                unsigned format);

 private:
  void FillSpans(const Rect& r, const std::vector<RowSpan>& spans, std::uint32_t premultiplied);
  // Draws `src` of `image` into `dst`, stretched (nearest) or repeated.
  void DrawCell(const Image& image, const Rect& src, const Rect& dst, bool xtile, bool ytile,
                int fade);

  Surface* target_;
  Rect clip_;
  std::vector<Rect> clip_stack_;
  std::vector<int> columns_;  // scratch: source column per visible column
};

}  // namespace skinui

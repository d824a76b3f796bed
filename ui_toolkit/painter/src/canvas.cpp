// Canvas: clipping, solid fills, rounded fills and borders.
#include "skinui/painter/canvas.h"

#include <algorithm>

#include "blend.h"
#include "skinui/painter/region.h"

namespace skinui {

Canvas::Canvas(Surface* target, const Rect& clip)
    : target_(target), clip_(clip.Intersect(target->Bounds())) {}

void Canvas::PushClip(const Rect& r) {
  clip_stack_.push_back(clip_);
  clip_ = clip_.Intersect(r);
}

void Canvas::PopClip() {
  if (clip_stack_.empty()) return;
  clip_ = clip_stack_.back();
  clip_stack_.pop_back();
}

void Canvas::FillRect(const Rect& r, Argb colour) {
  const Rect v = r.Intersect(clip_);
  if (v.IsEmpty() || (colour >> 24) == 0) return;
  const std::uint32_t src = Premultiply(colour);
  for (int y = v.top; y < v.bottom; ++y)
    blend::OverRow(target_->Row(y) + v.left, v.Width(), src);
}

// Fills, row by row, the part of each span of `spans` (relative to
// r.left, one per row from r.top) that lies inside the clip.
void Canvas::FillSpans(const Rect& r, const std::vector<RowSpan>& spans, std::uint32_t src) {
  const int top = std::max(r.top, clip_.top);
  const int bottom = std::min(r.bottom, clip_.bottom);
  for (int y = top; y < bottom; ++y) {
    const RowSpan& s = spans[static_cast<std::size_t>(y - r.top)];
    const int l = std::max(r.left + s.left, clip_.left);
    const int rr = std::min(r.left + s.right, clip_.right);
    if (l < rr) blend::OverRow(target_->Row(y) + l, rr - l, src);
  }
}

void Canvas::FillRoundRect(const Rect& r, Size radius, Argb colour) {
  if (radius.width < 2 || radius.height < 2) return FillRect(r, colour);
  if (r.IsEmpty() || (colour >> 24) == 0) return;
  FillSpans(r, RoundRectRowSpans(Size{r.Width(), r.Height()}, radius), Premultiply(colour));
}

void Canvas::DrawBorder(const Rect& r, int width, Argb colour, Size radius) {
  if (width <= 0 || r.IsEmpty() || (colour >> 24) == 0) return;
  const Rect inner{r.left + width, r.top + width, r.right - width, r.bottom - width};
  const bool round = radius.width >= 2 && radius.height >= 2;
  std::vector<RowSpan> outer_spans =
      round ? RoundRectRowSpans(Size{r.Width(), r.Height()}, radius)
            : std::vector<RowSpan>(static_cast<std::size_t>(r.Height()), RowSpan{0, r.Width()});
  std::vector<RowSpan> inner_spans;
  if (!inner.IsEmpty()) {
    const Size inner_radius{std::max(0, radius.width - 2 * width),
                            std::max(0, radius.height - 2 * width)};
    inner_spans = round ? RoundRectRowSpans(Size{inner.Width(), inner.Height()}, inner_radius)
                        : std::vector<RowSpan>(static_cast<std::size_t>(inner.Height()),
                                               RowSpan{0, inner.Width()});
  }
  // Each row: the outer span minus the inner one (which sits `width` in).
  const std::uint32_t src = Premultiply(colour);
  std::vector<RowSpan> left_part(outer_spans.size()), right_part(outer_spans.size());
  for (int y = 0; y < r.Height(); ++y) {
    const RowSpan o = outer_spans[static_cast<std::size_t>(y)];
    const int iy = y - width;
    if (iy >= 0 && iy < inner.Height() && !inner_spans.empty()) {
      const RowSpan in = inner_spans[static_cast<std::size_t>(iy)];
      if (in.left < in.right) {
        left_part[y] = RowSpan{o.left, std::min(o.right, in.left + width)};
        right_part[y] = RowSpan{std::max(o.left, in.right + width), o.right};
        continue;
      }
    }
    left_part[y] = o;
    right_part[y] = RowSpan{0, 0};
  }
  FillSpans(r, left_part, src);
  FillSpans(r, right_part, src);
}

}  // namespace skinui

// Canvas image drawing: descriptions, nine-grid, stretching and tiling.
//
// Stretching picks for destination column x (0-based inside the cell of
// width dw over a source of width sw) the source column
// (2x + 1) * sw / (2 dw): the source pixel under the destination pixel's
// centre, in integers.
#include <algorithm>

#include "blend.h"
#include "skinui/painter/canvas.h"

namespace skinui {
namespace {

int StretchIndex(int d, int dw, int sw) {
  return static_cast<int>((2LL * d + 1) * sw / (2LL * dw));
}

// The three [begin, end) bands of one axis of a nine-grid. Corners stay
// unscaled; when the destination is smaller than both corners together,
// each corner keeps its outer part (in proportion to its size) and the
// middle vanishes.
struct Bands {
  int src[4];
  int dst[4];
};

Bands SplitAxis(int src_size, int lo, int hi, int dst_begin, int dst_end) {
  lo = std::clamp(lo, 0, src_size);
  hi = std::clamp(hi, 0, src_size - lo);
  const int dst_size = dst_end - dst_begin;
  int dlo = lo, dhi = hi;
  if (lo + hi > dst_size) {
    dlo = lo + hi > 0 ? static_cast<int>(static_cast<long long>(lo) * dst_size / (lo + hi)) : 0;
    dhi = dst_size - dlo;
  }
  return Bands{{0, dlo, src_size - dhi, src_size},
               {dst_begin, dst_begin + dlo, dst_end - dhi, dst_end}};
}

}  // namespace

bool Canvas::DrawImage(const Rect& control, std::string_view description, ImageCache& images) {
  const ImageDescription* parsed = images.ParsedDescription(description);
  if (parsed == nullptr) return false;
  DrawImage(control, *parsed, images);
  return true;
}

void Canvas::DrawImage(const Rect& control, const ImageDescription& d, ImageCache& images) {
  if (d.file.empty() || d.fade <= 0) return;
  const Image* image = d.has_mask ? images.GetMasked(d.file, d.mask) : images.Get(d.file);
  if (image == nullptr || image->width <= 0 || image->height <= 0) return;
  const Rect dst = d.has_dest ? d.dest.Offset(control.left, control.top) : control;
  PushClip(control);
  const bool nine = d.corner.left > 0 || d.corner.top > 0 || d.corner.right > 0 ||
                    d.corner.bottom > 0;
  if (!nine) {
    DrawCell(*image, Rect{0, 0, image->width, image->height}, dst, d.xtiled, d.ytiled, d.fade);
  } else {
    const Bands xs = SplitAxis(image->width, d.corner.left, d.corner.right, dst.left, dst.right);
    const Bands ys = SplitAxis(image->height, d.corner.top, d.corner.bottom, dst.top, dst.bottom);
    for (int row = 0; row < 3; ++row) {
      for (int col = 0; col < 3; ++col) {
        const bool middle = row == 1 && col == 1;
        if (middle && d.hole) continue;
        const Rect src{xs.src[col], ys.src[row], xs.src[col + 1], ys.src[row + 1]};
        const Rect cell{xs.dst[col], ys.dst[row], xs.dst[col + 1], ys.dst[row + 1]};
        DrawCell(*image, src, cell, middle && d.xtiled, middle && d.ytiled, d.fade);
      }
    }
  }
  PopClip();
}

void Canvas::DrawImagePart(const Image& image, const Rect& source_part, const Rect& dest,
                           int fade) {
  const Rect src = source_part.Intersect(Rect{0, 0, image.width, image.height});
  DrawCell(image, src, dest, false, false, fade);
}

void Canvas::DrawCell(const Image& image, const Rect& src, const Rect& dst, bool xtile,
                      bool ytile, int fade) {
  if (src.IsEmpty() || dst.IsEmpty() || fade <= 0) return;
  const Rect v = dst.Intersect(clip_);
  if (v.IsEmpty()) return;
  const int sw = src.Width(), sh = src.Height();
  const int dw = dst.Width(), dh = dst.Height();
  columns_.resize(static_cast<std::size_t>(v.Width()));
  for (int x = v.left; x < v.right; ++x) {
    const int d = x - dst.left;
    columns_[static_cast<std::size_t>(x - v.left)] =
        src.left + (xtile ? d % sw : (dw == sw ? d : StretchIndex(d, dw, sw)));
  }
  const std::uint32_t f = static_cast<std::uint32_t>(std::min(fade, 255));
  const int* cols = columns_.data();
  const int count = v.Width();
  for (int y = v.top; y < v.bottom; ++y) {
    const int d = y - dst.top;
    const int sy = src.top + (ytile ? d % sh : (dh == sh ? d : StretchIndex(d, dh, sh)));
    const std::uint32_t* s = image.Row(sy);
    std::uint32_t* out = target_->Row(y) + v.left;
    if (f == 255) {
      for (int i = 0; i < count; ++i) out[i] = blend::Over(out[i], s[cols[i]]);
    } else {
      for (int i = 0; i < count; ++i) {
        const std::uint32_t p = s[cols[i]];
        if (p != 0) out[i] = blend::Over(out[i], blend::Scale(p, f));
      }
    }
  }
}

}  // namespace skinui

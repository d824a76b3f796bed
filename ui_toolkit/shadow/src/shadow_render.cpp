// The shadow bitmap: shape, kernel, edge stamping and fill. Every index is
// checked against the buffer it addresses, so degenerate parameters (a
// shape shrunk to nothing, negative sizes, windows thinner than the blur)
// give a smaller or empty shadow instead of touching foreign memory.
#include "skinui/shadow/shadow_render.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace skinui {
namespace {

// The shape over every row that takes part in shrinking: with a negative
// size the window has rows above and below the bitmap. Row `y` of the
// bitmap is rows[y - first].
struct ExtendedShape {
  int first = 0;
  std::vector<RowSpan> rows;

  RowSpan At(int y) const {
    const int i = y - first;
    if (i < 0 || i >= static_cast<int>(rows.size())) return RowSpan{};
    return rows[static_cast<std::size_t>(i)];
  }
};

RowSpan WindowRow(const std::vector<RowSpan>& windowRows, int y) {
  if (y < 0 || y >= static_cast<int>(windowRows.size())) return RowSpan{};
  return windowRows[static_cast<std::size_t>(y)];
}

// One shrinking step for a row: the intersection of the row and its two
// neighbours, narrowed by one pixel on each side.
RowSpan Shrunk(const RowSpan& above, const RowSpan& row, const RowSpan& below) {
  if (IsEmptySpan(above) || IsEmptySpan(row) || IsEmptySpan(below)) return RowSpan{};
  RowSpan r{std::max({above.left, row.left, below.left}) + 1,
            std::min({above.right, row.right, below.right}) - 1};
  return IsEmptySpan(r) ? RowSpan{} : r;
}

ExtendedShape BuildShape(const std::vector<RowSpan>& windowRows, const ShadowParams& p) {
  const int height = static_cast<int>(windowRows.size());
  const int s = p.size;
  ExtendedShape shape;
  shape.first = std::min(0, s);
  const int last = std::max(height + 2 * s, height + s);  // one past
  for (int y = shape.first; y < last; ++y) {
    const int wy = y - s;
    if (wy >= 0 && wy < height) {
      const RowSpan w = windowRows[static_cast<std::size_t>(wy)];
      shape.rows.push_back(IsEmptySpan(w) ? RowSpan{} : RowSpan{w.left + s, w.right + s});
    } else {
      // The rows a positive size adds above and below the window start out
      // empty, so the shape's outer rows (the ones the kernel is stamped on
      // along their whole length) lie exactly r rows inside the bitmap.
      shape.rows.push_back(RowSpan{});
    }
  }
  for (int step = 0; step < p.sharpness - s; ++step) {
    std::vector<RowSpan> next(shape.rows.size());
    for (int y = shape.first; y < last; ++y)
      next[static_cast<std::size_t>(y - shape.first)] =
          Shrunk(shape.At(y - 1), shape.At(y), shape.At(y + 1));
    shape.rows.swap(next);
  }
  return shape;
}

RowSpan Clip(RowSpan span, int width) {
  if (IsEmptySpan(span)) return RowSpan{};
  RowSpan r{std::max(span.left, 0), std::min(span.right, width)};
  return IsEmptySpan(r) ? RowSpan{} : r;
}

// Keeps per pixel the larger of the bitmap's and the kernel's value.
void Stamp(const ShadowKernel& kernel, int cx, int cy, Surface* out) {
  const int r = kernel.radius;
  for (int ky = 0; ky < kernel.Side(); ++ky) {
    const int py = cy - r + ky;
    if (py < 0 || py >= out->Height()) continue;
    std::uint32_t* row = out->Row(py);
    const int kx0 = std::max(0, r - cx);
    const int kx1 = std::min(kernel.Side(), out->Width() - cx + r);
    for (int kx = kx0; kx < kx1; ++kx) {
      std::uint32_t& px = row[cx - r + kx];
      px = std::max(px, kernel.At(kx, ky));
    }
  }
}

// The edge runs of row y: from the row's start to one past where its
// neighbours start, and from where they end (less one) to the row's end. A
// missing neighbour means the whole row is edge.
void StampRow(const ExtendedShape& shape, int y, const ShadowKernel& kernel, Surface* out) {
  const RowSpan row = shape.At(y);
  if (IsEmptySpan(row)) return;
  const RowSpan above = shape.At(y - 1);
  const RowSpan below = shape.At(y + 1);
  const bool open = IsEmptySpan(above) || IsEmptySpan(below);
  const int startEnd = open ? row.right : std::min(std::max(above.left, below.left) + 1, row.right);
  int x = row.left;
  for (; x < startEnd; ++x) Stamp(kernel, x, y, out);
  const int endStart = open ? x : std::max(x, std::min(above.right, below.right) - 1);
  for (x = endStart; x < row.right; ++x) Stamp(kernel, x, y, out);
}

void FillRun(std::uint32_t* line, int from, int to, int width, std::uint32_t value) {
  from = std::max(from, 0);
  to = std::min(to, width);
  for (int x = from; x < to; ++x) line[x] = value;
}

// Fills row y of the shape with full colour and clears the window's own
// pixels, which lie `size - offset` away from the bitmap's origin.
void FillRow(const ExtendedShape& shape, const std::vector<RowSpan>& windowRows, int y,
             const ShadowParams& p, std::uint32_t full, Surface* out) {
  const int width = out->Width();
  const RowSpan span = Clip(shape.At(y), width);
  std::uint32_t* line = out->Row(y);
  const RowSpan win = WindowRow(windowRows, y - p.size + p.offsetY);
  if (IsEmptySpan(win)) {
    if (!IsEmptySpan(span)) FillRun(line, span.left, span.right, width, full);
    return;
  }
  const int holeLeft = win.left + p.size - p.offsetX;
  const int holeRight = win.right + p.size - p.offsetX;
  if (!IsEmptySpan(span)) FillRun(line, span.left, std::min(holeLeft, span.right), width, full);
  FillRun(line, holeLeft, holeRight, width, 0);
  if (!IsEmptySpan(span)) FillRun(line, std::max(holeRight, span.left), span.right, width, full);
}

}  // namespace

std::vector<RowSpan> FullRowSpans(Size size) {
  return std::vector<RowSpan>(static_cast<std::size_t>(std::max(size.height, 0)),
                              RowSpan{0, std::max(size.width, 0)});
}

std::uint32_t ShadowPixel(ColourRef colour, std::uint32_t alpha) {
  alpha = std::min<std::uint32_t>(alpha, 255);
  return alpha << 24 | (ColourRefRed(colour) * alpha / 255) << 16 |
         (ColourRefGreen(colour) * alpha / 255) << 8 | (ColourRefBlue(colour) * alpha / 255);
}

ShadowKernel MakeShadowKernel(const ShadowParams& p) {
  ShadowKernel k;
  const int sharpness = std::max(p.sharpness, 0);
  k.radius = std::max(p.size, sharpness);
  const int centre = p.size > sharpness ? p.size - sharpness : 0;
  const std::uint32_t darkness = static_cast<std::uint32_t>(std::clamp(p.darkness, 0, 255));
  k.cells.resize(static_cast<std::size_t>(k.Side()) * k.Side());
  for (int y = 0; y < k.Side(); ++y) {
    for (int x = 0; x < k.Side(); ++x) {
      const int dx = x - k.radius;
      const int dy = y - k.radius;
      const double d = std::sqrt(static_cast<double>(dx * dx + dy * dy));
      std::uint32_t v = 0;
      if (d < centre) {
        v = ShadowPixel(p.colour, darkness);
      } else if (d <= k.radius) {
        const double factor = (1 - (d - centre) / (sharpness + 1)) * darkness;
        v = ShadowPixel(p.colour, factor > 0 ? static_cast<std::uint32_t>(factor) : 0);
      }
      k.cells[static_cast<std::size_t>(y) * k.Side() + x] = v;
    }
  }
  return k;
}

Size ShadowBitmapSize(Size window, int size) {
  Size s{window.width + 2 * size, window.height + 2 * size};
  if (s.width <= 0 || s.height <= 0) return Size{};
  return s;
}

std::vector<RowSpan> ShadowShape(const std::vector<RowSpan>& windowRows, int windowWidth,
                                 const ShadowParams& params) {
  const Size bitmap =
      ShadowBitmapSize(Size{windowWidth, static_cast<int>(windowRows.size())}, params.size);
  const ExtendedShape shape = BuildShape(windowRows, params);
  std::vector<RowSpan> rows;
  for (int y = 0; y < bitmap.height; ++y) rows.push_back(Clip(shape.At(y), bitmap.width));
  return rows;
}

void RenderShadow(const std::vector<RowSpan>& windowRows, int windowWidth,
                  const ShadowParams& params, Surface* out) {
  const int height = static_cast<int>(windowRows.size());
  const Size bitmap = ShadowBitmapSize(Size{windowWidth, height}, params.size);
  out->Resize(bitmap.width, bitmap.height);
  if (bitmap.width == 0) return;
  const ExtendedShape shape = BuildShape(windowRows, params);
  const ShadowKernel kernel = MakeShadowKernel(params);
  const int r = kernel.radius;
  for (int y = r; y < bitmap.height - r; ++y) StampRow(shape, y, kernel, out);

  // The fill covers the rows the stamps leave to it and every row the window
  // covers, so the window's own pixels are always cleared.
  const int s = params.size;
  const int first = std::max(0, std::min(r, std::max(s - params.offsetY, 0)));
  const int last = std::min(bitmap.height,
                            std::max(bitmap.height - r,
                                     std::min(height + s - params.offsetY, bitmap.height)));
  const std::uint32_t full =
      ShadowPixel(params.colour, static_cast<std::uint32_t>(std::clamp(params.darkness, 0, 255)));
  for (int y = first; y < last; ++y) FillRow(shape, windowRows, y, params, full, out);
}

namespace {

// Source coordinate for target coordinate `t` along one axis of a nine-grid.
int NineGridSample(int t, int target, int source, int lead, int trail) {
  if (t < lead) return t;
  if (t >= target - trail) return source - (target - t);
  const int middleTarget = target - lead - trail;
  const int middleSource = source - lead - trail;
  if (middleSource <= 0) return std::min(lead, source - 1);
  return lead + static_cast<int>(static_cast<long long>(t - lead) * middleSource / middleTarget);
}

void FitCorners(int source, int target, int* lead, int* trail) {
  const int limit = std::min(source, target);
  *lead = std::clamp(*lead, 0, limit);
  *trail = std::clamp(*trail, 0, limit - *lead);
}

}  // namespace

void DrawNineGrid(const Surface& image, const Rect& corners, Surface* out) {
  if (image.Width() == 0 || image.Height() == 0) return;
  int left = corners.left, right = corners.right, top = corners.top, bottom = corners.bottom;
  FitCorners(image.Width(), out->Width(), &left, &right);
  FitCorners(image.Height(), out->Height(), &top, &bottom);
  std::vector<int> columns(static_cast<std::size_t>(out->Width()));
  for (int x = 0; x < out->Width(); ++x)
    columns[static_cast<std::size_t>(x)] =
        NineGridSample(x, out->Width(), image.Width(), left, right);
  for (int y = 0; y < out->Height(); ++y) {
    const std::uint32_t* src = image.Row(NineGridSample(y, out->Height(), image.Height(), top, bottom));
    std::uint32_t* dst = out->Row(y);
    for (int x = 0; x < out->Width(); ++x) dst[x] = src[columns[static_cast<std::size_t>(x)]];
  }
}

}  // namespace skinui

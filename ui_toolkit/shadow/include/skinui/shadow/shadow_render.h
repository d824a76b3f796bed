// The drop-shadow bitmap as a pure function of the parent window's shape and
// the shadow parameters, so that every platform draws the same pixels and the
// result can be checked bit for bit.
//
// The window's shape is given as one span per row of the parent window (the
// rows of its region: rounded windows lose pixels at the corners). The shadow
// is the shape grown (or shrunk) by `size`, blurred over `sharpness` pixels
// by stamping a round kernel on its edges, filled inside with full colour,
// and cut out where the window itself lies.
//
// Threads: plain functions over values; any thread. Nothing here allocates
// anything the caller must free.
#pragma once

#include <cstdint>
#include <vector>

#include "skinui/geometry.h"
#include "skinui/painter/region.h"
#include "skinui/surface.h"

namespace skinui {

// A Windows COLORREF: red in the lowest byte, then green, then blue; the
// highest byte is ignored.
using ColourRef = std::uint32_t;

inline std::uint32_t ColourRefRed(ColourRef c) { return c & 0xFF; }
inline std::uint32_t ColourRefGreen(ColourRef c) { return (c >> 8) & 0xFF; }
inline std::uint32_t ColourRefBlue(ColourRef c) { return (c >> 16) & 0xFF; }

// Rows of a shape are the painter's RowSpan: pixels [left, right), empty
// when right <= left.
inline bool IsEmptySpan(const RowSpan& s) { return s.right <= s.left; }

// The rows of a plain rectangle of `size` (every row full width).
std::vector<RowSpan> FullRowSpans(Size size);

struct ShadowParams {
  int darkness = 150;   // 0..255: alpha of the full shadow colour
  int sharpness = 5;    // 0..20: width of the blurred border
  int size = 0;         // -20..20: how far the shadow reaches beyond the window
  int offsetX = 5;      // -20..20: shadow displacement against the window
  int offsetY = 5;
  ColourRef colour = 0; // black
};

// Premultiplied BGRA pixel of `colour` at `alpha`: alpha in the top byte and
// each channel as channel * alpha / 255 (truncated).
std::uint32_t ShadowPixel(ColourRef colour, std::uint32_t alpha);

// The square blur kernel: radius r = max(size, sharpness), (2r + 1)^2 cells
// stored row by row. A cell at distance d from the centre, with
// h = size - sharpness when size exceeds sharpness and 0 otherwise, holds
// full colour when d < h, alpha (1 - (d - h) / (sharpness + 1)) * darkness
// (truncated) when h <= d <= r, and 0 beyond r. Negative sizes count as a
// radius of sharpness.
struct ShadowKernel {
  int radius = 0;
  std::vector<std::uint32_t> cells;
  int Side() const { return 2 * radius + 1; }
  std::uint32_t At(int x, int y) const { return cells[static_cast<std::size_t>(y) * Side() + x]; }
};
ShadowKernel MakeShadowKernel(const ShadowParams& params);

// The shadow shape in bitmap coordinates, one span per bitmap row (the
// bitmap is (width + 2 size) x (height + 2 size) of the parent): the
// window's rows moved by `size` (the `size` rows added above and below when
// size is positive stay empty), then, when sharpness exceeds size, shrunk by
// (sharpness - size) steps, each step replacing a row's span by the
// intersection of its own and its two neighbours' spans narrowed by one
// pixel on each side. Rows of the window beyond the bitmap (negative size)
// still take part in the shrinking. Spans are clipped to the bitmap.
std::vector<RowSpan> ShadowShape(const std::vector<RowSpan>& windowRows, int windowWidth,
                                 const ShadowParams& params);

// Size of the shadow bitmap for a parent of `window` size: each side grows
// by 2 * size; a side that would not be positive gives an empty size.
Size ShadowBitmapSize(Size window, int size);

// Draws the shadow for a window whose rows are `windowRows` (one per row of
// a window `windowWidth` wide; spans in window coordinates) into `out`,
// which is resized to ShadowBitmapSize and starts transparent. Rows are
// stored top-down. The kernel is stamped on the left and right edge runs of
// every shape row at least r rows from the bitmap's top and bottom; the
// inside of the shape is then filled with full colour, except where the
// window lies (its rows shifted by size - offset), which is cleared to 0.
// Never reads or writes outside `windowRows`, the kernel or `out`.
void RenderShadow(const std::vector<RowSpan>& windowRows, int windowWidth,
                  const ShadowParams& params, Surface* out);

// Stretches `image` over the whole of `out` keeping the four corner sizes of
// `corners` (left, top, right, bottom widths) unscaled, nearest sample;
// the image's own pixels are copied as they are (opaque source, no
// blending). Corners larger than the image or the target are reduced so the
// nine parts never overlap.
void DrawNineGrid(const Surface& image, const Rect& corners, Surface* out);

}  // namespace skinui

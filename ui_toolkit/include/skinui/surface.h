// A pixel buffer in premultiplied BGRA: each pixel is one 32-bit value
// 0xAARRGGBB whose colour channels are already multiplied by alpha, so on a
// little-endian machine the bytes in memory are B, G, R, A — the layout of a
// 32-bit top-down DIB section and of an X11 ARGB image. Every backend
// presents these exact pixels; nothing is converted per platform.
//
// Ownership: the surface owns its pixels. Threads: one thread at a time
// (the UI thread in a window; any single thread in tools and tests).
#pragma once

#include <cstdint>
#include <vector>

#include "skinui/geometry.h"

namespace skinui {

// A colour as layouts write it: 0xAARRGGBB, not premultiplied.
using Argb = std::uint32_t;

// Premultiplies a straight colour (rounding to nearest).
inline std::uint32_t Premultiply(Argb c) {
  const std::uint32_t a = c >> 24;
  auto mul = [a](std::uint32_t v) { return (v * a + 127) / 255; };
  return (a << 24) | (mul((c >> 16) & 0xFF) << 16) | (mul((c >> 8) & 0xFF) << 8) | mul(c & 0xFF);
}

class Surface {
 public:
  Surface() = default;
  Surface(int width, int height) { Resize(width, height); }

  // Discards the contents; the new pixels are transparent black.
  void Resize(int width, int height) {
    width_ = width > 0 ? width : 0;
    height_ = height > 0 ? height : 0;
    pixels_.assign(static_cast<std::size_t>(width_) * height_, 0);
  }

  int Width() const { return width_; }
  int Height() const { return height_; }
  Size GetSize() const { return Size{width_, height_}; }
  Rect Bounds() const { return Rect{0, 0, width_, height_}; }
  // Bytes from one row to the next (rows are tightly packed).
  int Stride() const { return width_ * 4; }

  std::uint32_t* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
  const std::uint32_t* Row(int y) const {
    return pixels_.data() + static_cast<std::size_t>(y) * width_;
  }
  std::uint32_t& At(int x, int y) { return Row(y)[x]; }
  std::uint32_t At(int x, int y) const { return Row(y)[x]; }

  std::uint32_t* Data() { return pixels_.data(); }
  const std::uint32_t* Data() const { return pixels_.data(); }

  // Fills `area` (clipped to the surface) with one premultiplied value.
  void Fill(const Rect& area, std::uint32_t premultiplied) {
    const Rect r = area.Intersect(Bounds());
    for (int y = r.top; y < r.bottom; ++y) {
      std::uint32_t* row = Row(y);
      for (int x = r.left; x < r.right; ++x) row[x] = premultiplied;
    }
  }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;
};

}  // namespace skinui

// Pixel arithmetic on premultiplied 0xAARRGGBB values, two channels per
// multiply (red+blue, alpha+green). Division by 255 is exact rounding:
// round(x / 255) == (x + 128 + ((x + 128) >> 8)) >> 8 for x in 0..65025.
// Internal to the painter; inline so the row loops stay free of calls.
#pragma once

#include <cstdint>

namespace skinui {
namespace blend {

// Every channel of `p` times `f` / 255 (f in 0..255), rounded.
inline std::uint32_t Scale(std::uint32_t p, std::uint32_t f) {
  std::uint32_t rb = (p & 0x00FF00FFu) * f + 0x00800080u;
  rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
  std::uint32_t ag = ((p >> 8) & 0x00FF00FFu) * f + 0x00800080u;
  ag = (ag + ((ag >> 8) & 0x00FF00FFu)) & 0xFF00FF00u;
  return rb | ag;
}

// Source over destination, both premultiplied.
inline std::uint32_t Over(std::uint32_t dst, std::uint32_t src) {
  const std::uint32_t sa = src >> 24;
  if (sa == 255) return src;
  if (sa == 0) return dst;
  return src + Scale(dst, 255 - sa);
}

// Blends `src` over a row of `count` destination pixels.
inline void OverRow(std::uint32_t* dst, int count, std::uint32_t src) {
  const std::uint32_t sa = src >> 24;
  if (sa == 255) {
    for (int i = 0; i < count; ++i) dst[i] = src;
  } else if (sa != 0) {
    const std::uint32_t inv = 255 - sa;
    for (int i = 0; i < count; ++i) dst[i] = src + Scale(dst[i], inv);
  }
}

// 8-bit coverage times a premultiplied colour, blended over `dst`.
inline std::uint32_t OverCoverage(std::uint32_t dst, std::uint32_t colour, std::uint32_t cover) {
  if (cover == 0) return dst;
  return Over(dst, cover == 255 ? colour : Scale(colour, cover));
}

}  // namespace blend
}  // namespace skinui

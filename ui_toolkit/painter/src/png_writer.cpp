// PNG files of surfaces and surface comparison.
#include "skinui/painter/png_writer.h"

#include <stb/stb_image_write.h>

#include <algorithm>
#include <cstdlib>

#include "skinui/painter/image.h"
#include "utils/file.h"
#include "utils/text.h"

namespace skinui {
namespace {

// Straight channel from a premultiplied one: round(c * 255 / a).
std::uint8_t Unpremultiply(std::uint32_t c, std::uint32_t a) {
  return static_cast<std::uint8_t>(std::min<std::uint32_t>(255, (c * 255 + a / 2) / a));
}

void AppendBytes(void* context, void* data, int size) {
  auto* out = static_cast<std::string*>(context);
  out->append(static_cast<const char*>(data), static_cast<std::size_t>(size));
}

}  // namespace

bool WritePng(const Surface& surface, const std::string& path, std::string* error) {
  const int w = surface.Width(), h = surface.Height();
  if (w <= 0 || h <= 0) {
    if (error) *error = "empty surface";
    return false;
  }
  std::vector<std::uint8_t> rgba(static_cast<std::size_t>(w) * h * 4);
  std::uint8_t* o = rgba.data();
  for (int y = 0; y < h; ++y) {
    const std::uint32_t* row = surface.Row(y);
    for (int x = 0; x < w; ++x, o += 4) {
      const std::uint32_t p = row[x];
      const std::uint32_t a = p >> 24;
      if (a == 0) {
        o[0] = o[1] = o[2] = o[3] = 0;
      } else if (a == 255) {
        o[0] = (p >> 16) & 0xFF; o[1] = (p >> 8) & 0xFF; o[2] = p & 0xFF; o[3] = 255;
      } else {
        o[0] = Unpremultiply((p >> 16) & 0xFF, a);
        o[1] = Unpremultiply((p >> 8) & 0xFF, a);
        o[2] = Unpremultiply(p & 0xFF, a);
        o[3] = static_cast<std::uint8_t>(a);
      }
    }
  }
  std::string bytes;
  if (!stbi_write_png_to_func(AppendBytes, &bytes, w, h, 4, rgba.data(), w * 4)) {
    if (error) *error = "PNG encoding failed";
    return false;
  }
  if (!Utils::WriteFileAtomically(Utils::Utf8ToWide(path), bytes)) {
    if (error) *error = "cannot write " + path;
    return false;
  }
  return true;
}

bool ReadPngFile(const std::string& path, Surface* out, std::string* error) {
  std::string bytes;
  if (!Utils::ReadWholeFile(Utils::Utf8ToWide(path), bytes)) {
    if (error) *error = "cannot read " + path;
    return false;
  }
  Image image;
  if (!DecodePng(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), &image,
                 error))
    return false;
  out->Resize(image.width, image.height);
  std::copy(image.pixels.begin(), image.pixels.end(), out->Data());
  return true;
}

ImageDiff CompareSurfaces(const Surface& a, const Surface& b, int tolerance) {
  ImageDiff diff;
  if (a.GetSize() != b.GetSize()) {
    diff.differing_pixels = std::max(a.Width() * a.Height(), b.Width() * b.Height());
    diff.max_channel_delta = 255;
    return diff;
  }
  for (int y = 0; y < a.Height(); ++y) {
    const std::uint32_t* ra = a.Row(y);
    const std::uint32_t* rb = b.Row(y);
    for (int x = 0; x < a.Width(); ++x) {
      if (ra[x] == rb[x]) continue;
      int worst = 0;
      for (int shift = 0; shift < 32; shift += 8) {
        const int d = std::abs(static_cast<int>((ra[x] >> shift) & 0xFF) -
                               static_cast<int>((rb[x] >> shift) & 0xFF));
        worst = std::max(worst, d);
      }
      diff.max_channel_delta = std::max(diff.max_channel_delta, worst);
      if (worst > tolerance) ++diff.differing_pixels;
    }
  }
  return diff;
}

}  // namespace skinui

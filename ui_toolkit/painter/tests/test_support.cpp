#include "test_support.h"

#include <stb/stb_image_write.h>

#include <cctype>

namespace skinui::test {
namespace {

std::string Normalise(std::string_view path) { return ImageCache::Key(path); }

void Append(void* context, void* data, int size) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(context);
  const auto* p = static_cast<const std::uint8_t*>(data);
  out->insert(out->end(), p, p + size);
}

}  // namespace

Image MakeImage(int width, int height, const std::vector<Argb>& straight) {
  Image image;
  image.width = width;
  image.height = height;
  for (Argb c : straight) image.pixels.push_back(Premultiply(c));
  return image;
}

std::vector<std::uint8_t> EncodePng(int width, int height, const std::vector<Argb>& straight) {
  std::vector<std::uint8_t> rgba;
  for (Argb c : straight) {
    rgba.push_back(static_cast<std::uint8_t>(c >> 16));
    rgba.push_back(static_cast<std::uint8_t>(c >> 8));
    rgba.push_back(static_cast<std::uint8_t>(c));
    rgba.push_back(static_cast<std::uint8_t>(c >> 24));
  }
  std::vector<std::uint8_t> png;
  stbi_write_png_to_func(Append, &png, width, height, 4, rgba.data(), width * 4);
  return png;
}

void MemorySource::Add(const std::string& path, std::vector<std::uint8_t> bytes) {
  files_[Normalise(path)] = std::move(bytes);
}

SkinReadResult MemorySource::Read(std::string_view path, std::vector<std::uint8_t>* out) const {
  ++reads_;
  auto found = files_.find(Normalise(path));
  if (found == files_.end()) return SkinReadResult::kNotFound;
  *out = found->second;
  return SkinReadResult::kOk;
}

}  // namespace skinui::test

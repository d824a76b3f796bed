// PNG decoding into premultiplied pixels and the image cache.
#include "skinui/painter/image.h"

#include <stb/stb_image.h>

#include <cctype>
#include <iterator>

#include "skinui/surface.h"

namespace skinui {
namespace {

const char* ReadResultText(SkinReadResult r) {
  switch (r) {
    case SkinReadResult::kOk: return "ok";
    case SkinReadResult::kNotFound: return "not found";
    case SkinReadResult::kCorrupt: return "corrupt entry";
    case SkinReadResult::kIoError: return "read error";
  }
  return "unknown read result";
}

}  // namespace

bool DecodePng(const std::uint8_t* data, std::size_t size, Image* out, std::string* error) {
  if (data == nullptr || size == 0 || size > 0x7FFFFFFF) {
    if (error) *error = "empty data";
    return false;
  }
  int w = 0, h = 0, channels = 0;
  stbi_uc* rgba = stbi_load_from_memory(data, static_cast<int>(size), &w, &h, &channels, 4);
  if (rgba == nullptr) {
    if (error) *error = std::string("not a decodable PNG: ") + stbi_failure_reason();
    return false;
  }
  out->width = w;
  out->height = h;
  out->pixels.resize(static_cast<std::size_t>(w) * h);
  const stbi_uc* p = rgba;
  for (std::uint32_t& px : out->pixels) {
    const Argb straight = (Argb{p[3]} << 24) | (Argb{p[0]} << 16) | (Argb{p[1]} << 8) | p[2];
    px = p[3] == 255 ? straight : Premultiply(straight);
    p += 4;
  }
  stbi_image_free(rgba);
  return true;
}

ImageCache::ImageCache(const SkinSource* source) : source_(source) {}
ImageCache::~ImageCache() = default;

std::string ImageCache::Key(std::string_view path) {
  std::string key(path);
  for (char& c : key) {
    if (c == '/') c = '\\';
    else c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return key;
}

const Image* ImageCache::Get(std::string_view path) {
  std::string key = Key(path);
  auto found = entries_.find(key);
  if (found != entries_.end()) return found->second.image.get();
  Entry entry;
  std::vector<std::uint8_t> bytes;
  const SkinReadResult read =
      source_ ? source_->Read(path, &bytes) : SkinReadResult::kNotFound;
  if (read != SkinReadResult::kOk) {
    entry.failure = ReadResultText(read);
  } else {
    auto image = std::make_unique<Image>();
    if (DecodePng(bytes.data(), bytes.size(), image.get(), &entry.failure)) {
      entry.image = std::move(image);
    }
  }
  const Image* result = entry.image.get();
  entries_.emplace(std::move(key), std::move(entry));
  return result;
}

const Image* ImageCache::GetMasked(std::string_view path, Argb mask) {
  const Image* base = Get(path);
  if (base == nullptr) return nullptr;
  char suffix[16];
  static const char kHex[] = "0123456789abcdef";
  suffix[0] = '|';
  for (int i = 0; i < 6; ++i) suffix[1 + i] = kHex[(mask >> (20 - 4 * i)) & 0xF];
  std::string key = Key(path) + std::string(suffix, 7);
  auto found = entries_.find(key);
  if (found != entries_.end()) return found->second.image.get();
  // A pixel is masked when its straight colour has exactly the mask's RGB:
  // then its premultiplied value is the premultiplied mask at its alpha.
  auto image = std::make_unique<Image>(*base);
  for (std::uint32_t& px : image->pixels) {
    const Argb alpha = px & 0xFF000000u;
    if (alpha != 0 && px == Premultiply(alpha | (mask & 0x00FFFFFFu))) px = 0;
  }
  Entry entry;
  entry.image = std::move(image);
  const Image* result = entry.image.get();
  entries_.emplace(std::move(key), std::move(entry));
  return result;
}

void ImageCache::Clear() { entries_.clear(); }

const ImageDescription* ImageCache::ParsedDescription(std::string_view description) {
  std::string key(description);
  auto found = descriptions_.find(key);
  if (found != descriptions_.end()) return found->second.get();
  auto parsed = std::make_unique<ImageDescription>();
  if (!ParseImageDescription(description, parsed.get(), nullptr)) parsed.reset();
  const ImageDescription* result = parsed.get();
  descriptions_.emplace(std::move(key), std::move(parsed));
  return result;
}

void ImageCache::Put(std::string_view path, Image image) {
  // Masked variants of an earlier image under this path are stale now.
  const std::string prefix = Key(path) + "|";
  for (auto it = entries_.begin(); it != entries_.end();) {
    it = it->first.compare(0, prefix.size(), prefix) == 0 ? entries_.erase(it) : std::next(it);
  }
  Entry entry;
  entry.image = std::make_unique<Image>(std::move(image));
  entries_[Key(path)] = std::move(entry);
}

std::string ImageCache::FailureReason(std::string_view path) const {
  auto found = entries_.find(Key(path));
  return found == entries_.end() ? std::string() : found->second.failure;
}

}  // namespace skinui

// Decoded images and the per-window image cache.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "skinui/painter/image_description.h"
#include "skinui/skin_source.h"
#include "skinui/surface.h"

namespace skinui {

// Pixels are premultiplied BGRA (0xAARRGGBB), rows top-down, tightly packed.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  const std::uint32_t* Row(int y) const {
    return pixels.data() + static_cast<std::size_t>(y) * width;
  }
};

// Decodes a PNG of any colour type and bit depth into premultiplied BGRA.
// Returns false with a reason in *error (when not null) for data that is not
// a decodable PNG. Any thread.
bool DecodePng(const std::uint8_t* data, std::size_t size, Image* out, std::string* error);

// Images read from a skin source by path, decoded once.
//
// Threads: UI thread only (one thread at a time). The source is borrowed and
// must outlive the cache. The key is the path lower-cased with '/' turned
// into '\', so "res/A.png" and "res\a.png" are one entry. A path that is
// missing or does not decode is remembered as missing and not retried until
// Clear(). Returned pointers stay valid until Clear() or destruction.
class ImageCache {
 public:
  explicit ImageCache(const SkinSource* source);
  ~ImageCache();
  ImageCache(const ImageCache&) = delete;
  ImageCache& operator=(const ImageCache&) = delete;

  // The decoded image, or nullptr when it is missing or undecodable. Blocks
  // on the first request of a path while the source reads and decodes.
  const Image* Get(std::string_view path);

  // The image with every pixel whose straight RGB equals `mask`'s made
  // transparent; made once per (path, mask) and kept like Get's images.
  const Image* GetMasked(std::string_view path, Argb mask);

  // `description` parsed, memoised (a window draws the same descriptions
  // every frame); nullptr when it does not parse. Stays valid until
  // destruction (Clear keeps parsed descriptions: they do not depend on the
  // source).
  const ImageDescription* ParsedDescription(std::string_view description);

  // Forgets every image (and every remembered miss).
  void Clear();

  // Adds an already-decoded image under `path` (tests, generated images).
  void Put(std::string_view path, Image image);

  // Why `path` is missing (empty when it loaded or was never asked for).
  std::string FailureReason(std::string_view path) const;

  static std::string Key(std::string_view path);

 private:
  struct Entry {
    std::unique_ptr<Image> image;  // null: remembered as missing
    std::string failure;
  };
  const SkinSource* source_;
  std::unordered_map<std::string, Entry> entries_;
  // Parsed descriptions; a null pointer remembers a parse error.
  std::unordered_map<std::string, std::unique_ptr<ImageDescription>> descriptions_;
};

}  // namespace skinui

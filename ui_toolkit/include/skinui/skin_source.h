// Where a skin's files come from: a 7z archive held in memory (normally a
// resource of the executable) or a folder of loose files for designers.
//
// Paths are compared without regard to letter case, and "\" and "/" are the
// same separator, because layouts address images as "res\mainWnd\bg1.png"
// while archives store "res/mainWnd/bg1.png".
//
// Threads: a source is filled once and then only read; Read may be called
// from any thread at the same time. The caller owns the source and keeps it
// alive while anything built from it (images, layouts) may still read.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace skinui {

enum class SkinReadResult {
  kOk = 0,
  kNotFound,      // no file of that name
  kCorrupt,       // the entry exists but its data fails to decode or check
  kIoError,       // the underlying file could not be read
};

class SkinSource {
 public:
  virtual ~SkinSource() = default;

  // Copies the whole file at `path` into `out` (replacing its contents).
  // Blocks while decoding; never throws.
  virtual SkinReadResult Read(std::string_view path, std::vector<std::uint8_t>* out) const = 0;

  // A text describing the source for error messages ("archive (247324 bytes)",
  // "folder /home/me/skin").
  virtual std::string Describe() const = 0;
};

}  // namespace skinui

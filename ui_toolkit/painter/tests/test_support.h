// Helpers shared by the painter tests: pixel-array images, an in-memory
// skin source, PNG bytes, and the font file the text tests render with.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "skinui/painter/image.h"
#include "skinui/skin_source.h"
#include "skinui/surface.h"

namespace skinui::test {

// An image from rows of straight ARGB values.
Image MakeImage(int width, int height, const std::vector<Argb>& straight);

// PNG file bytes (8-bit RGBA) of straight ARGB pixels.
std::vector<std::uint8_t> EncodePng(int width, int height, const std::vector<Argb>& straight);

// Files held in memory, looked up as skin sources do (case-insensitive,
// "\" and "/" alike).
class MemorySource : public SkinSource {
 public:
  void Add(const std::string& path, std::vector<std::uint8_t> bytes);
  SkinReadResult Read(std::string_view path, std::vector<std::uint8_t>* out) const override;
  std::string Describe() const override { return "memory"; }
  int reads() const { return reads_; }

 private:
  std::map<std::string, std::vector<std::uint8_t>> files_;
  mutable int reads_ = 0;
};

// The font the text tests use: TARNVELL_SKIN_FONT when set, else the
// Debian WenQuanYi Micro Hei file in this platform's path form. Empty when
// no such file exists.
std::string TestFontFile();

// A folder for files a test writes (this platform's path form, UTF-8).
std::string TestOutputFolder();

}  // namespace skinui::test

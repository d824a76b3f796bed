// PNG files of surfaces: screenshots, golden images and their comparison.
//
// Threads: pure functions, any thread (each call uses only its arguments).
#pragma once

#include <string>

#include "skinui/surface.h"

namespace skinui {

// Writes the surface as an 8-bit RGBA PNG (un-premultiplied). Returns false
// with a reason in *error (when not null) when the file cannot be written.
bool WritePng(const Surface& surface, const std::string& path, std::string* error);

// Reads a PNG file into a premultiplied surface.
bool ReadPngFile(const std::string& path, Surface* out, std::string* error);

struct ImageDiff {
  int differing_pixels = 0;   // pixels with a channel off by more than tolerance
  int max_channel_delta = 0;  // largest difference of any channel
};

// Surfaces of different sizes count every pixel of the larger as differing
// and max_channel_delta 255.
ImageDiff CompareSurfaces(const Surface& a, const Surface& b, int tolerance);

}  // namespace skinui

#include "skinui/painter/png_writer.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace skinui {
namespace {

TEST(PngFile, RoundTripKeepsPremultipliedPixels) {
  Surface s(4, 2);
  const std::uint32_t pixels[] = {0xFF123456, 0x00000000, 0x80400020, 0x01010000,
                                  0xFFFFFFFF, 0x7F7F7F7F, 0xC0102030, 0x20000020};
  for (int i = 0; i < 8; ++i) s.Data()[i] = pixels[i];
  const std::string path = test::TestOutputFolder() + "/painter-roundtrip.png";
  std::string error;
  ASSERT_TRUE(WritePng(s, path, &error)) << error;
  Surface back;
  ASSERT_TRUE(ReadPngFile(path, &back, &error)) << error;
  ASSERT_EQ(back.GetSize(), s.GetSize());
  const ImageDiff diff = CompareSurfaces(s, back, 1);
  EXPECT_EQ(diff.differing_pixels, 0);
  EXPECT_LE(diff.max_channel_delta, 1);
  EXPECT_EQ(back.At(0, 0), 0xFF123456u);  // opaque pixels are exact
  EXPECT_EQ(back.At(1, 0), 0u);
}

TEST(PngFile, ReportsFilesItCannotReadOrWrite) {
  Surface s(1, 1);
  std::string error;
  EXPECT_FALSE(WritePng(s, test::TestOutputFolder() + "/no-such-folder/x.png", &error));
  EXPECT_FALSE(error.empty());
  error.clear();
  EXPECT_FALSE(WritePng(Surface(), test::TestOutputFolder() + "/empty.png", &error));
  EXPECT_FALSE(error.empty());
  Surface out;
  error.clear();
  EXPECT_FALSE(ReadPngFile(test::TestOutputFolder() + "/no-such-file.png", &out, &error));
  EXPECT_FALSE(error.empty());
}

TEST(CompareSurfaces, CountsPixelsBeyondTheTolerance) {
  Surface a(3, 1), b(3, 1);
  a.At(0, 0) = 0xFF000000; b.At(0, 0) = 0xFF000000;
  a.At(1, 0) = 0xFF000010; b.At(1, 0) = 0xFF000012;
  a.At(2, 0) = 0xFF100000; b.At(2, 0) = 0xFF000000;
  const struct { int tolerance; int differing; } cases[] = {{0, 2}, {2, 1}, {16, 0}};
  for (const auto& c : cases) {
    const ImageDiff d = CompareSurfaces(a, b, c.tolerance);
    EXPECT_EQ(d.differing_pixels, c.differing) << c.tolerance;
    EXPECT_EQ(d.max_channel_delta, 16);
  }
  const ImageDiff sizes = CompareSurfaces(a, Surface(2, 2), 0);
  EXPECT_EQ(sizes.differing_pixels, 4);
  EXPECT_EQ(sizes.max_channel_delta, 255);
}

}  // namespace
}  // namespace skinui

#include "skinui/painter/image.h"

#include <gtest/gtest.h>
#include <stb/stb_image_write.h>

#include "test_support.h"

namespace skinui {
namespace {

void AppendTo(void* context, void* data, int size) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(context);
  out->insert(out->end(), static_cast<std::uint8_t*>(data), static_cast<std::uint8_t*>(data) + size);
}

// One pixel in each PNG colour type stb writes: grey, grey+alpha, RGB, RGBA.
TEST(DecodePng, EveryColourTypeBecomesPremultipliedBgra) {
  const struct {
    int channels;
    std::vector<std::uint8_t> pixel;
    std::uint32_t expected;
  } cases[] = {
      {1, {0x80}, 0xFF808080},
      {2, {0xFF, 0x80}, 0x80808080},           // white at half alpha
      {3, {0x12, 0x34, 0x56}, 0xFF123456},
      {4, {0xFF, 0x00, 0x80, 0x40}, 0x40400020},
      {4, {0x12, 0x34, 0x56, 0x00}, 0x00000000},
  };
  for (const auto& c : cases) {
    std::vector<std::uint8_t> png;
    ASSERT_TRUE(stbi_write_png_to_func(AppendTo, &png, 1, 1, c.channels, c.pixel.data(), c.channels));
    Image image;
    std::string error;
    ASSERT_TRUE(DecodePng(png.data(), png.size(), &image, &error)) << error;
    ASSERT_EQ(image.width, 1);
    ASSERT_EQ(image.height, 1);
    EXPECT_EQ(image.pixels[0], c.expected) << "channels " << c.channels;
  }
}

TEST(DecodePng, RejectsDataThatIsNotAPng) {
  std::vector<std::uint8_t> png = test::EncodePng(2, 2, {0xFF000000, 0xFF000000, 0, 0});
  std::vector<std::uint8_t> truncated(png.begin(), png.begin() + png.size() / 2);
  std::vector<std::uint8_t> garbage = {'G', 'I', 'F', '8', '9', 'a', 0, 0};
  for (std::vector<std::uint8_t>* bytes : {&truncated, &garbage}) {
    Image image;
    std::string error;
    EXPECT_FALSE(DecodePng(bytes->data(), bytes->size(), &image, &error));
    EXPECT_FALSE(error.empty());
  }
  std::string error;
  Image image;
  EXPECT_FALSE(DecodePng(nullptr, 0, &image, &error));
}

TEST(ImageCache, PathsMatchWithoutCaseAndSeparatorAndAreReadOnce) {
  test::MemorySource source;
  source.Add("res/mainWnd/Bg1.png", test::EncodePng(1, 1, {0xFF010203}));
  ImageCache cache(&source);
  const Image* a = cache.Get("res\\mainWnd\\bg1.png");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->pixels[0], 0xFF010203u);
  EXPECT_EQ(cache.Get("RES/MAINWND/BG1.PNG"), a);
  EXPECT_EQ(source.reads(), 1);
}

TEST(ImageCache, MissingAndBrokenImagesAreRememberedUntilClear) {
  test::MemorySource source;
  source.Add("broken.png", {1, 2, 3});
  ImageCache cache(&source);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(cache.Get("res\\common\\closebtn4.png"), nullptr);
    EXPECT_EQ(cache.Get("broken.png"), nullptr);
  }
  EXPECT_EQ(source.reads(), 2);
  EXPECT_EQ(cache.FailureReason("res/common/closebtn4.png"), "not found");
  EXPECT_NE(cache.FailureReason("broken.png").find("PNG"), std::string::npos);

  source.Add("res/common/closebtn4.png", test::EncodePng(1, 1, {0xFFFFFFFF}));
  EXPECT_EQ(cache.Get("res\\common\\closebtn4.png"), nullptr);  // still remembered
  cache.Clear();
  EXPECT_NE(cache.Get("res\\common\\closebtn4.png"), nullptr);
}

TEST(ImageCache, MaskedVariantClearsExactlyTheMaskColour) {
  test::MemorySource source;
  source.Add("bar.png", test::EncodePng(4, 1, {0xFFFF0000, 0xFFFE0000, 0x80FF0000, 0xFF00FF00}));
  ImageCache cache(&source);
  const Image* masked = cache.GetMasked("bar.png", 0xFFFF0000);
  ASSERT_NE(masked, nullptr);
  EXPECT_EQ(masked->pixels[0], 0u);
  EXPECT_EQ(masked->pixels[1], 0xFFFE0000u);
  EXPECT_EQ(masked->pixels[2], 0u);  // same RGB at half alpha is masked too
  EXPECT_EQ(masked->pixels[3], 0xFF00FF00u);
  EXPECT_EQ(cache.Get("bar.png")->pixels[0], 0xFFFF0000u);  // the plain image is untouched
  EXPECT_EQ(cache.GetMasked("BAR.png", 0xFFFF0000), masked);
}

TEST(ImageCache, DescriptionsAreParsedOnceAndSurviveClear) {
  ImageCache cache(nullptr);
  const ImageDescription* d = cache.ParsedDescription("file='a.png' fade='10'");
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->fade, 10);
  cache.Clear();
  EXPECT_EQ(cache.ParsedDescription("file='a.png' fade='10'"), d);
  EXPECT_EQ(cache.ParsedDescription("file='a.png"), nullptr);
  EXPECT_EQ(cache.ParsedDescription("file='a.png"), nullptr);
  EXPECT_EQ(cache.Get("a.png"), nullptr);  // no source: every image is missing
}

}  // namespace
}  // namespace skinui

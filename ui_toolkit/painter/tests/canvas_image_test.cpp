#include <gtest/gtest.h>

#include "skinui/painter/canvas.h"
#include "test_support.h"

namespace skinui {
namespace {

constexpr Argb A = 0xFFAA0000, B = 0xFF00BB00, C = 0xFF0000CC, D = 0xFFDDDD00;
constexpr Argb E = 0xFF111111, F = 0xFF222222, G = 0xFF333333, H = 0xFF444444, I = 0xFF555555;
constexpr std::uint32_t kBack = 0xFF808080;  // opaque grey background, '.' in pictures

// Draws `description` into `control` on a grey `w` x `h` surface holding
// the images "ab" (2x1: A B), "abcd" (2x2: A B / C D), "strip" (4x1:
// A B C D) and "grid" (3x3: A B C / D E F / G H I).
struct Scene {
  Scene(int w, int h) : surface(w, h), cache(&source) {
    surface.Fill(surface.Bounds(), kBack);
    source.Add("res/ab.png", test::EncodePng(2, 1, {A, B}));
    source.Add("res/abcd.png", test::EncodePng(2, 2, {A, B, C, D}));
    source.Add("res/strip.png", test::EncodePng(4, 1, {A, B, C, D}));
    source.Add("res/grid.png", test::EncodePng(3, 3, {A, B, C, D, E, F, G, H, I}));
  }
  bool Draw(const Rect& control, const char* description) {
    Canvas canvas(&surface, surface.Bounds());
    return canvas.DrawImage(control, description, cache);
  }
  // One letter per pixel: the colour constants above, '.' for the
  // background, '?' for anything else.
  std::vector<std::string> Picture() const {
    const std::pair<Argb, char> names[] = {{A, 'A'}, {B, 'B'}, {C, 'C'}, {D, 'D'}, {E, 'E'},
                                           {F, 'F'}, {G, 'G'}, {H, 'H'}, {I, 'I'}, {kBack, '.'}};
    std::vector<std::string> rows;
    for (int y = 0; y < surface.Height(); ++y) {
      std::string row;
      for (int x = 0; x < surface.Width(); ++x) {
        char c = '?';
        for (const auto& n : names)
          if (surface.At(x, y) == n.first) c = n.second;
        row += c;
      }
      rows.push_back(row);
    }
    return rows;
  }
  Surface surface;
  test::MemorySource source;
  ImageCache cache;
};

using Picture = std::vector<std::string>;

TEST(CanvasImage, KeysShapeThePixels) {
  const struct {
    const char* description;
    Rect control;
    Picture expected;
  } cases[] = {
      {"res\\abcd.png", Rect{1, 1, 5, 4},  // stretched over the control, nearest pixel
       {"......", ".AABB.", ".CCDD.", ".CCDD.", "......"}},
      {"file='res\\abcd.png' dest='1,1,3,3'", Rect{1, 0, 6, 4},  // dest inside the control
       {"......", "..AB..", "..CD..", "......", "......"}},
      {"file='res\\abcd.png' dest='3,2,7,4'", Rect{0, 0, 5, 3},  // dest clipped to the control
       {"......", "......", "...AA.", "......", "......"}},
      {"file='res/strip.png'", Rect{0, 0, 2, 1},  // shrinking samples pixel centres
       {"BD....", "......", "......", "......", "......"}},
      {"file='res\\ab.png' xtiled='true'", Rect{0, 1, 5, 2},
       {"......", "ABABA.", "......", "......", "......"}},
      {"file='res\\abcd.png' xtiled='true' ytiled='true'", Rect{0, 0, 3, 3},
       {"ABA...", "CDC...", "ABA...", "......", "......"}},
      {"file='res\\grid.png' corner='1,1,1,1'", Rect{0, 0, 5, 4},  // nine-grid
       {"ABBBC.", "DEEEF.", "DEEEF.", "GHHHI.", "......"}},
      {"file='res\\grid.png' corner='1,1,1,1' hole='true'", Rect{0, 0, 5, 4},
       {"ABBBC.", "D...F.", "D...F.", "GHHHI.", "......"}},
      {"file='res\\grid.png' corner='1,1,1,1' xtiled='true'", Rect{0, 0, 4, 3},
       {"ABBC..", "DEEF..", "GHHI..", "......", "......"}},
      {"file='res\\grid.png' corner='2,0,0,0'", Rect{0, 0, 5, 1},  // left band kept, rest stretched
       {"DEFFF.", "......", "......", "......", "......"}},
      {"file='res\\grid.png' corner='2,2,2,2'", Rect{0, 0, 2, 2},  // corners cropped to fit
       {"AC....", "GI....", "......", "......", "......"}},
      {"file='res\\abcd.png' mask='#00BB00' dest='0,0,2,2'", Rect{0, 0, 6, 5},
       {"A.....", "CD....", "......", "......", "......"}},
      {"file='res\\missing.png' dest='0,0,2,2'", Rect{0, 0, 6, 5},  // missing: nothing
       {"......", "......", "......", "......", "......"}},
      {"file='res\\abcd.png' fade='0'", Rect{0, 0, 6, 5},
       {"......", "......", "......", "......", "......"}},
  };
  for (const auto& c : cases) {
    Scene scene(6, 5);
    EXPECT_TRUE(scene.Draw(c.control, c.description)) << c.description;
    EXPECT_EQ(scene.Picture(), c.expected) << c.description;
  }
}

TEST(CanvasImage, FadeAndAlphaBlendOverTheBackground) {
  Scene scene(2, 1);
  scene.source.Add("half.png", test::EncodePng(1, 1, {0x80FFFFFF}));
  ASSERT_TRUE(scene.Draw(Rect{0, 0, 1, 1}, "file='res\\ab.png' fade='128' dest='0,0,2,1'"));
  ASSERT_TRUE(scene.Draw(Rect{1, 0, 2, 1}, "half.png"));
  // A (0xAA red) at 128/255 over grey 0x80: red 0xAA*128/255 + 0x80*127/255.
  EXPECT_EQ(scene.surface.At(0, 0), 0xFF954040u);
  EXPECT_EQ(scene.surface.At(1, 0), 0xFFC0C0C0u);
}

TEST(CanvasImage, BadDescriptionDrawsNothingAndReportsIt) {
  Scene scene(6, 5);
  const Picture before = scene.Picture();
  for (int i = 0; i < 2; ++i)  // the second call answers from the memo
    EXPECT_FALSE(scene.Draw(Rect{0, 0, 6, 5}, "file='res\\abcd.png' fade='300'"));
  EXPECT_EQ(scene.Picture(), before);
}

TEST(CanvasImage, RespectsTheClip) {
  Scene scene(6, 5);
  Canvas canvas(&scene.surface, Rect{2, 0, 6, 2});
  canvas.DrawImage(Rect{0, 0, 6, 5}, "res\\grid.png", scene.cache);
  const Picture p = scene.Picture();
  EXPECT_EQ(p[0], "..BBCC");
  EXPECT_EQ(p[1], "..BBCC");
  EXPECT_EQ(p[2], "......");
}

}  // namespace
}  // namespace skinui

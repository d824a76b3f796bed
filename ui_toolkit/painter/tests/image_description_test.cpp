#include "skinui/painter/image_description.h"

#include <gtest/gtest.h>

namespace skinui {
namespace {

TEST(ImageDescription, PlainPathKeepsBackslashes) {
  ImageDescription d;
  ASSERT_TRUE(ParseImageDescription("res\\mainWnd\\bg1.png", &d, nullptr));
  EXPECT_EQ(d.file, "res\\mainWnd\\bg1.png");
  EXPECT_FALSE(d.has_dest);
  EXPECT_FALSE(d.has_mask);
  EXPECT_EQ(d.fade, 255);
  EXPECT_EQ(d.corner, Rect{});
}

TEST(ImageDescription, EveryKeyTakesEffect) {
  ImageDescription d;
  ASSERT_TRUE(ParseImageDescription(
      "file='res\\mainWnd\\installPrg1.png' corner='2,2,2,2' mask='#FF0000' fade='128' "
      "hole='TRUE' xtiled='true' ytiled='false' dest='0, 2 ,16,18'",
      &d, nullptr));
  EXPECT_EQ(d.file, "res\\mainWnd\\installPrg1.png");
  EXPECT_EQ(d.corner, (Rect{2, 2, 2, 2}));
  EXPECT_TRUE(d.has_mask);
  EXPECT_EQ(d.mask, 0xFFFF0000u);
  EXPECT_EQ(d.fade, 128);
  EXPECT_TRUE(d.hole);
  EXPECT_TRUE(d.xtiled);
  EXPECT_FALSE(d.ytiled);
  EXPECT_TRUE(d.has_dest);
  EXPECT_EQ(d.dest, (Rect{0, 2, 16, 18}));
}

TEST(ImageDescription, UnknownKeysAndKeyCaseAreTolerated) {
  ImageDescription d;
  ASSERT_TRUE(ParseImageDescription("  FILE='a b.png'   source='0,0,4,4' Fade='0'  ", &d, nullptr));
  EXPECT_EQ(d.file, "a b.png");
  EXPECT_EQ(d.fade, 0);
}

TEST(ImageDescription, ErrorsNameTheirOffset) {
  const struct {
    const char* text;
    std::size_t offset;
  } cases[] = {
      {"file='a.png", 5},                  // unterminated quote: at the quote
      {"file='a.png' dest='1,2,3'", 24},   // three numbers: where the list ends
      {"file='a.png' dest='1,x,3,4'", 21}, // not a number
      {"file='a.png' corner='1,2,3,4,5'", 28},
      {"file='a.png' fade='256'", 19},
      {"file='a.png' fade='-1'", 19},
      {"file='a.png' fade=''", 19},
      {"file='a.png' mask='red'", 19},
      {"file='a.png' hole='yes'", 19},
      {"file='a.png' xtiled='1'", 21},
      {"file='a.png'dest='0,0,1,1'", 12},  // no space between pairs
      {"file='a.png' junk", 13},            // key without a value
      {"file='a.png' ='x'", 13},            // value without a key
  };
  for (const auto& c : cases) {
    ImageDescription d;
    DescriptionError e;
    EXPECT_FALSE(ParseImageDescription(c.text, &d, &e)) << c.text;
    EXPECT_EQ(e.offset, c.offset) << c.text << ": " << e.message;
    EXPECT_FALSE(e.message.empty()) << c.text;
  }
}

}  // namespace
}  // namespace skinui

#include "skinui/painter/color.h"

#include <gtest/gtest.h>

namespace skinui {
namespace {

TEST(ParseColor, AcceptsTheLayoutForms) {
  const struct {
    const char* text;
    Argb expected;
  } cases[] = {
      {"#FF227EFA", 0xFF227EFA}, {"#26003b76", 0x26003B76}, {"0x801675FE", 0x801675FE},
      {"0XffFFffFF", 0xFFFFFFFF}, {"#00000000", 0x00000000}, {"#FF0000", 0xFFFF0000},
      {"0x00ff00", 0xFF00FF00},
  };
  for (const auto& c : cases) {
    Argb out = 0x12345678;
    EXPECT_TRUE(ParseColor(c.text, &out)) << c.text;
    EXPECT_EQ(out, c.expected) << c.text;
  }
}

TEST(ParseColor, RejectsEverythingElseAndKeepsTheOutput) {
  for (const char* text : {"", "#", "0x", "FF227EFA", "#FF227EF", "#FF227EFA0", "#GG227EFA",
                           " #FF227EFA", "#FF227EFA ", "#FF 27EFA", "0y00FF00", "#-1",
                           "#12345", "x00FF00"}) {
    Argb out = 0x12345678;
    EXPECT_FALSE(ParseColor(text, &out)) << text;
    EXPECT_EQ(out, 0x12345678u) << text;
  }
}

}  // namespace
}  // namespace skinui

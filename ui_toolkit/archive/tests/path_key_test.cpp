// Path splitting and case folding shared by both sources.
#include <gtest/gtest.h>

#include "path_key.h"

namespace skinui::detail {
namespace {

TEST(PathKeyTest, SplitsAndClassifiesPaths) {
  struct Case {
    const char* path;
    PathShape shape;
    const char* joined;
  };
  const Case cases[] = {
      {"res\\mainWnd\\bg1.png", PathShape::kRelative, "res/mainWnd/bg1.png"},
      {"res//a/.\\b/", PathShape::kRelative, "res/a/b"},
      {"a..b/..c", PathShape::kRelative, "a..b/..c"},
      {"", PathShape::kEmpty, ""},
      {"./.", PathShape::kEmpty, ""},
      {"/a", PathShape::kAbsolute, ""},
      {"\\\\host\\a", PathShape::kAbsolute, ""},
      {"C:\\a", PathShape::kAbsolute, ""},
      {"z:a", PathShape::kAbsolute, ""},
      {"a/../b", PathShape::kParent, ""},
      {"..", PathShape::kParent, ""},
      {"a/b:c", PathShape::kColon, ""},
  };
  for (const Case& c : cases) {
    const SplitPath split = SplitSkinPath(c.path);
    EXPECT_EQ(split.shape, c.shape) << c.path;
    EXPECT_EQ(JoinSegments(split.segments), c.joined) << c.path;
  }
}

TEST(PathKeyTest, FoldsLettersOfSeveralScriptsAndKeepsOthers) {
  const std::pair<const char*, const char*> cases[] = {
      {"MainWnd.XML", "mainwnd.xml"},
      {"ÄÖÜ ÀÞ × Ÿ", "äöü àþ × ÿ"},
      {"ĀĂĹŁŽ", "āăĺłž"},
      {"ΑΒΓ Ω Ά Ύ", "αβγ ω ά ύ"},
      {"ЁЖЯ", "ёжя"},
      {"ＡＢＣ", "ａｂｃ"},
      {"中文/图标.PNG", "中文/图标.png"},
      {"bad\xFF\xC3" "byte", "bad\xFF\xC3" "byte"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(FoldUtf8(in), out) << in;
}

TEST(PathKeyTest, ConvertsUtf16NamesIncludingSurrogatePairs) {
  const std::uint16_t units[] = {u'r', u'/', 0x4E2D, 0xD83D, 0xDE00, 0xDC00};
  EXPECT_EQ(Utf16ToUtf8(units, 6), "r/中\xF0\x9F\x98\x80\xEF\xBF\xBD");
}

}  // namespace
}  // namespace skinui::detail

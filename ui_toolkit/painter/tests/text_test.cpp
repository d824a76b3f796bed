#include <gtest/gtest.h>

#include <fstream>

#include "font_internal.h"
#include "skinui/painter/canvas.h"
#include "skinui/painter/text.h"
#include "test_support.h"

namespace skinui {
namespace {

constexpr Argb kInk = 0xFF000000;

// The box of every pixel that was drawn on (surfaces start transparent).
Rect InkBounds(const Surface& s) {
  Rect r{s.Width(), s.Height(), 0, 0};
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x)
      if (s.At(x, y) != 0) r = Rect{std::min(r.left, x), std::min(r.top, y),
                                    std::max(r.right, x + 1), std::max(r.bottom, y + 1)};
  return r.IsEmpty() ? Rect{} : r;
}

int InkCount(const Surface& s) {
  int n = 0;
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x) n += s.At(x, y) != 0;
  return n;
}

class Text : public ::testing::Test {
 protected:
  void SetUp() override {
    file_ = test::TestFontFile();
    if (file_.empty()) GTEST_SKIP() << "no WenQuanYi Micro Hei font on this machine";
    library_.SetFallbackFile(file_);
  }
  std::shared_ptr<const Font> Get(int size, bool bold = false, bool underline = false) {
    FontSpec spec;
    spec.name = L"微软雅黑";
    spec.size = size;
    spec.bold = bold;
    spec.underline = underline;
    auto font = library_.Get(spec);
    EXPECT_TRUE(font->IsValid()) << file_;
    return font;
  }
  Surface Draw(const Font& font, const std::wstring& text, unsigned format,
               Rect box = Rect{10, 10, 190, 70}) {
    Surface s(200, 80);
    Canvas canvas(&s, s.Bounds());
    canvas.DrawText(box, text, font, kInk, format);
    return s;
  }
  std::string file_;
  FontLibrary library_;
};

TEST_F(Text, MetricsFollowTheCharacterHeight) {
  auto small = Get(14);
  auto large = Get(40);
  EXPECT_EQ(small->Ascent() + small->Descent(), small->LineHeight());
  EXPECT_GE(small->LineHeight(), 14);
  EXPECT_LE(small->LineHeight(), 24);
  EXPECT_GT(large->LineHeight(), 2 * small->LineHeight());
  EXPECT_EQ(library_.Get(FontSpec{L"微软雅黑", 14}).get(), small.get());  // shared
  EXPECT_EQ(library_.ResolvedFile(L"微软雅黑"), file_);
}

TEST_F(Text, ChineseTextRendersAndWidensWithLength) {
  auto font = Get(22);
  const Surface s = Draw(*font, L"立即安装", kTextLeft);
  EXPECT_GT(InkCount(s), 100);
  const int two = MeasureText(*font, L"立即", 0, kTextSingleLine).width;
  const int four = MeasureText(*font, L"立即安装", 0, kTextSingleLine).width;
  EXPECT_GT(two, 0);
  EXPECT_GT(four, two + two / 2);
  EXPECT_EQ(MeasureText(*font, L"立即安装", 0, kTextSingleLine).height, font->LineHeight());
  EXPECT_GT(InkBounds(s).Width(), four * 3 / 4);
}

TEST_F(Text, AlignmentPlacesTheInk) {
  auto font = Get(14);
  const Rect box{10, 10, 190, 70};
  const Size size = MeasureText(*font, L"安装", 0, kTextSingleLine);
  const struct {
    unsigned format;
    int expect_left;  // where the text's advance box starts
    int expect_top;
  } cases[] = {
      {kTextLeft | kTextTop | kTextSingleLine, box.left, box.top},
      {kTextCenter | kTextSingleLine, box.left + (box.Width() - size.width) / 2, box.top},
      {kTextRight | kTextSingleLine, box.right - size.width, box.top},
      {kTextVCenter | kTextSingleLine, box.left, box.top + (box.Height() - size.height) / 2},
      {kTextBottom | kTextRight | kTextSingleLine, box.right - size.width, box.bottom - size.height},
  };
  for (const auto& c : cases) {
    const Rect ink = InkBounds(Draw(*font, L"安装", c.format, box));
    // Ink sits inside the advance box, a bearing's worth from its sides.
    EXPECT_GE(ink.left, c.expect_left) << c.format;
    EXPECT_LE(ink.left, c.expect_left + 3) << c.format;
    EXPECT_LE(ink.right, c.expect_left + size.width + 1) << c.format;
    EXPECT_GE(ink.top, c.expect_top) << c.format;
    EXPECT_LE(ink.bottom, c.expect_top + size.height) << c.format;
    EXPECT_GT(ink.bottom, c.expect_top + size.height / 2) << c.format;
  }
}

TEST_F(Text, LinesBreakAtLineFeedsAndAtTheBoxWidth) {
  auto font = Get(14);
  const int lh = font->LineHeight();
  const std::wstring sentence = L"当前网络环境较差，请在网络通畅时进行重试";
  const int full = MeasureText(*font, sentence, 0, 0).width;
  const struct {
    std::wstring text;
    int max_width;
    unsigned format;
    int lines;
  } cases[] = {
      {L"a\nb", 0, 0, 2},
      {L"a\r\nb\nc", 0, 0, 3},
      {L"a\nb", 0, kTextSingleLine, 1},
      {sentence, full / 2 + 20, kTextWordBreak, 2},
      {sentence, full / 3 + 10, kTextWordBreak, 3},
      {sentence, full / 2, 0, 1},  // no word break: one long line
      {L"installer setup wizard", 0, kTextWordBreak, 1},
  };
  for (const auto& c : cases) {
    const Size size = MeasureText(*font, c.text, c.max_width, c.format);
    EXPECT_EQ(size.height, c.lines * lh) << c.max_width;
    if (c.format & kTextWordBreak && c.max_width > 0) {
      EXPECT_LE(size.width, c.max_width);
    }
  }
  // Latin words wrap at spaces: "setup" never splits.
  const int word = MeasureText(*font, L"installer setup", 0, 0).width;
  const Size wrapped = MeasureText(*font, L"installer setup wizard", word + 2, kTextWordBreak);
  EXPECT_EQ(wrapped.height, 2 * lh);
  EXPECT_EQ(wrapped.width, word);

  // Drawn word-broken text covers several line bands of the box.
  const Surface s = Draw(*font, sentence, kTextWordBreak, Rect{0, 0, full / 3 + 10, 80});
  const Rect ink = InkBounds(s);
  EXPECT_GT(ink.Height(), 2 * lh);
  EXPECT_LE(ink.right, full / 3 + 10);
}

TEST_F(Text, EndEllipsisShortensWhatDoesNotFit) {
  auto font = Get(14);
  const std::wstring text = L"检测到计算机中已存在此软件，是否为您更新为最新版本？";
  const int box_width = 120;
  const Size size = MeasureText(*font, text, box_width, kTextSingleLine | kTextEndEllipsis);
  EXPECT_LE(size.width, box_width);
  EXPECT_GT(size.width, box_width - 20);
  const int dots = MeasureText(*font, L"...", 0, 0).width;
  const Surface s = Draw(*font, text, kTextSingleLine | kTextEndEllipsis, Rect{0, 0, box_width, 30});
  const Rect ink = InkBounds(s);
  EXPECT_LE(ink.right, box_width);
  // The dots are the last ink: a small mark at the baseline.
  const int dot_column = ink.right - 1;
  int inked_rows = 0;
  for (int y = 0; y < 30; ++y) inked_rows += s.At(dot_column, y) != 0;
  EXPECT_LE(inked_rows, 4);
  EXPECT_GT(dots, 0);
  // Too many lines for the box: the last line that fits ends in dots too.
  const Size two = MeasureText(*font, L"第一行\n第二行\n第三行", 0, 0);
  EXPECT_EQ(two.height, 3 * font->LineHeight());
  const Surface clipped = Draw(*font, L"第一行\n第二行\n第三行", kTextEndEllipsis,
                               Rect{0, 0, 150, 2 * font->LineHeight()});
  EXPECT_GT(InkBounds(clipped).right,
            MeasureText(*font, L"第二行", 0, 0).width + dots / 2);
}

TEST_F(Text, BoldAndUnderlineAddInk) {
  auto plain = Get(16);
  auto bold = Get(16, true);
  auto underline = Get(16, false, true);
  const Surface p = Draw(*plain, L"安装完成", kTextLeft);
  const Surface b = Draw(*bold, L"安装完成", kTextLeft);
  const Surface u = Draw(*underline, L"安装完成", kTextLeft);
  EXPECT_GT(InkCount(b), InkCount(p) * 11 / 10);
  EXPECT_GT(MeasureText(*bold, L"安装完成", 0, 0).width, MeasureText(*plain, L"安装完成", 0, 0).width);
  const Rect pi = InkBounds(p);
  const Rect ui = InkBounds(u);
  EXPECT_GT(InkCount(u), InkCount(p));
  // The underline is one unbroken row below the baseline across the text.
  int row = -1;
  for (int y = pi.top; y < 80 && row < 0; ++y) {
    bool full = true;
    for (int x = pi.left + 1; x < pi.right - 1 && full; ++x) full = u.At(x, y) != 0;
    if (full) row = y;
  }
  EXPECT_GT(row, pi.top + (pi.bottom - pi.top) / 2);
  EXPECT_GE(ui.bottom, row + 1);
}

TEST_F(Text, ColourAndClipAreHonoured) {
  auto font = Get(14);
  Surface s(100, 30);
  Canvas canvas(&s, Rect{0, 0, 20, 30});
  canvas.DrawText(Rect{0, 0, 100, 30}, L"安装安装安装", *font, 0xFF227EFA, kTextSingleLine);
  const Rect ink = InkBounds(s);
  EXPECT_LE(ink.right, 20);
  bool found_solid = false;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 20; ++x) {
      const std::uint32_t p = s.At(x, y);
      if (p == 0xFF227EFA) found_solid = true;
      if (p != 0) {
        EXPECT_LE(p & 0xFF, p >> 24);  // stays premultiplied
      }
    }
  EXPECT_TRUE(found_solid);
}

TEST(FontLibrary, AnUnreadableFontDrawsNothing) {
  if (!test::TestFontFile().empty() && std::getenv("TARNVELL_SKIN_FONT"))
    GTEST_SKIP() << "TARNVELL_SKIN_FONT overrides the file under test";
  const std::string path = test::TestOutputFolder() + "/painter-not-a-font.ttf";
  std::ofstream(path, std::ios::binary) << "this is not a font";
  FontLibrary library;
  library.SetFallbackFile(path);
  auto font = library.Get(FontSpec{L"x", 14});
  EXPECT_FALSE(font->IsValid());
  EXPECT_EQ(MeasureText(*font, L"abc", 0, 0), (Size{0, 0}));
  Surface s(10, 10);
  Canvas(&s, s.Bounds()).DrawText(s.Bounds(), L"abc", *font, kInk, 0);
  EXPECT_EQ(InkCount(s), 0);
}

TEST(FontLibrary, FindsAFontOnThisSystem) {
  FontLibrary library;
  EXPECT_FALSE(library.ResolvedFile(L"微软雅黑").empty());
}

TEST(CodePoints, SurrogatePairsJoinWhereWideCharactersAreSixteenBits) {
  const std::wstring text = L"a\U00020000\u4E2D";
  std::vector<char32_t> decoded;
  for (std::size_t i = 0; i < text.size();) decoded.push_back(NextCodePoint(text, &i));
  EXPECT_EQ(decoded, (std::vector<char32_t>{U'a', 0x20000, 0x4E2D}));
  if constexpr (sizeof(wchar_t) == 2) {
    const std::wstring lone(1, static_cast<wchar_t>(0xD800));
    std::size_t i = 0;
    EXPECT_EQ(NextCodePoint(lone, &i), 0xFFFDu);
    EXPECT_EQ(i, 1u);
  }
}

}  // namespace
}  // namespace skinui

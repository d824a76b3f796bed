#include <gtest/gtest.h>

#include "utils/text.h"

namespace {

using Utils::MultiByteToWide;
using Utils::WideToMultiByte;

TEST(CodePage, Utf8AndAnsiRoundTrip) {
  const std::string utf8 = "Tarnvell 录屏 \xF0\x9F\x8E\xA5";  // includes a character beyond the BMP
  const std::wstring wide = MultiByteToWide(utf8, Utils::kCodePageUtf8);
  EXPECT_EQ(WideToMultiByte(wide, Utils::kCodePageUtf8), utf8);
  EXPECT_EQ(MultiByteToWide("plain", Utils::kCodePageAnsi), L"plain");
}

TEST(CodePage, Gbk936DecodesAndEncodes) {
  const std::string gbk = "\xD6\xD0\xCE\xC4";  // 中文 in code page 936
  EXPECT_EQ(MultiByteToWide(gbk, 936), L"中文");
  EXPECT_EQ(WideToMultiByte(L"中文", 936), gbk);
}

TEST(CodePage, InputStopsAtFirstZero) {
  EXPECT_EQ(MultiByteToWide(std::string("ab\0cd", 5), Utils::kCodePageUtf8), L"ab");
  EXPECT_EQ(WideToMultiByte(std::wstring(L"ab\0cd", 5), Utils::kCodePageUtf8), "ab");
}

TEST(CodePage, InvalidUtf8BecomesReplacementCharacters) {
  EXPECT_EQ(MultiByteToWide("a\xFF" "b", Utils::kCodePageUtf8), L"a\xFFFD" L"b");
  // A character cut short at the end of the input.
  EXPECT_EQ(MultiByteToWide("a\xE4\xB8", Utils::kCodePageUtf8).substr(0, 1), L"a");
  EXPECT_NE(MultiByteToWide("a\xE4\xB8", Utils::kCodePageUtf8).find(L'\xFFFD'), std::wstring::npos);
}

TEST(CodePage, EmptyAndUnknownGiveEmpty) {
  EXPECT_EQ(MultiByteToWide("", 936), L"");
  EXPECT_EQ(MultiByteToWide("abc", 4242424), L"");
}

struct TrimCase {
  const wchar_t* in;
  const wchar_t* left;
  const wchar_t* right;
  const wchar_t* both;
};

class Trim : public ::testing::TestWithParam<TrimCase> {};

TEST_P(Trim, RemovesExactlyTheSixBlanks) {
  const TrimCase& c = GetParam();
  EXPECT_EQ(Utils::TrimLeft(c.in), c.left);
  EXPECT_EQ(Utils::TrimRight(c.in), c.right);
  EXPECT_EQ(Utils::Trim(c.in), c.both);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Trim,
    ::testing::Values(TrimCase{L"", L"", L"", L""},
                      TrimCase{L" \t\n\v\f\r", L"", L"", L""},
                      TrimCase{L"  a b  ", L"a b  ", L"  a b", L"a b"},
                      TrimCase{L"\r\nSuccess\r", L"Success\r", L"\r\nSuccess", L"Success"},
                      // No-break space and ideographic space are not blanks here.
                      TrimCase{L"\x00A0x\x3000", L"\x00A0x\x3000", L"\x00A0x\x3000", L"\x00A0x\x3000"}));

TEST(ToWString, DecimalDigits) {
  EXPECT_EQ(Utils::ToWString(0), L"0");
  EXPECT_EQ(Utils::ToWString(4294967295u), L"4294967295");
}

TEST(ReplaceAll, ReplacesEveryOccurrenceSearchingFromTheStart) {
  EXPECT_EQ(Utils::ReplaceAll(L"http://h/${ROUTE}/x/${ROUTE}", L"${ROUTE}", L"download_silent"),
            L"http://h/download_silent/x/download_silent");
  // A replacement that forms the pattern again with its neighbours is
  // replaced again, because the search restarts at the beginning.
  EXPECT_EQ(Utils::ReplaceAll(L"aab", L"ab", L"b"), L"b");
  EXPECT_EQ(Utils::ReplaceAll(L"none", L"${ROUTE}", L"x"), L"none");
}

TEST(ReplaceAll, RefusesPatternsThatWouldNeverEnd) {
  EXPECT_EQ(Utils::ReplaceAll(L"abc", L"", L"x"), L"abc");
  EXPECT_EQ(Utils::ReplaceAll(L"abc", L"b", L"bb"), L"abc");
}

}  // namespace

// The shared value rules and the byte-level line buffer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "output_protocol.h"

namespace {

using namespace PackageProtocol;

TEST(ValueRules, MatchKeyKeepsTheRestUpTo771Characters) {
  std::wstring value = L"unchanged";
  EXPECT_FALSE(MatchKey(L"Instpath=x", L"InstPath=", &value));
  EXPECT_EQ(value, L"unchanged");
  ASSERT_TRUE(MatchKey(L"InstPath= a b\r", L"InstPath=", &value));
  EXPECT_EQ(value, L" a b\r");
  ASSERT_TRUE(MatchKey(L"InstPath=" + std::wstring(771, L'x'), L"InstPath=", &value));
  EXPECT_EQ(value, std::wstring(771, L'x'));
  ASSERT_TRUE(MatchKey(L"InstPath=" + std::wstring(772, L'x'), L"InstPath=", &value));
  EXPECT_EQ(value, L"");
  ASSERT_TRUE(MatchKey(L"InstPath=", L"InstPath=", &value));
  EXPECT_EQ(value, L"");
}

TEST(ValueRules, Numbers) {
  struct Case {
    const wchar_t* text;
    double number;
    int32_t integer;
    int32_t codePage;
  };
  const Case cases[] = {
      {L"0.25", 0.25, 0, 0},
      {L"  42xyz", 42.0, 42, 42},
      {L"-7", -7.0, -7, -7},
      {L"+936", 936.0, 936, 936},
      {L"abc", 0.0, 0, 0},
      {L"", 0.0, 0, 0},
      {L"2147483647", 2147483647.0, 2147483647, 2147483647},
      {L"2147483648", 2147483648.0, INT32_MIN, 0},
      {L"-2147483648", -2147483648.0, INT32_MIN, INT32_MIN},
      {L"4294967295", 4294967295.0, -1, 0},
      {L"99999999999999999999", 1e20, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "value " << std::string(c.text, c.text + wcslen(c.text)));
    EXPECT_DOUBLE_EQ(ParseNumber(c.text), c.number);
    EXPECT_EQ(ParseCodePageNumber(c.text), c.codePage);
    if (std::wstring(c.text) != L"99999999999999999999") {
      EXPECT_EQ(ParseInteger(c.text), c.integer);
    }
  }
}

TEST(ValueRules, ChunkLines) {
  std::vector<std::wstring> lines;
  ForEachLine(L"a\r\n\nb\nc", [&](std::wstring_view l) { lines.emplace_back(l); });
  EXPECT_EQ(lines, (std::vector<std::wstring>{L"a\r", L"", L"b", L"c"}));
  lines.clear();
  ForEachLine(L"a\n", [&](std::wstring_view l) { lines.emplace_back(l); });
  EXPECT_EQ(lines, (std::vector<std::wstring>{L"a"}));
}

std::vector<std::string> FeedAll(OutputLineBuffer& buffer, const std::vector<std::string>& reads) {
  std::vector<std::string> lines;
  for (const std::string& r : reads) {
    buffer.Feed(r.data(), r.size(), [&](std::string_view l) {
      lines.emplace_back(l);
      return true;
    });
  }
  buffer.Finish([&](std::string_view l) { lines.emplace_back(l); });
  return lines;
}

TEST(OutputLineBuffer, JoinsLinesAcrossReadsAndKeepsTheFinalUnterminatedLine) {
  OutputLineBuffer buffer;
  EXPECT_EQ(FeedAll(buffer, {"State=Su", "ccess\r\nProg", "ress=1\nlast"}),
            (std::vector<std::string>{"State=Success\r", "Progress=1", "last"}));
  EXPECT_EQ(buffer.PendingBytes(), 0u);
}

TEST(OutputLineBuffer, StopsWhenAskedAndKeepsTheRest) {
  OutputLineBuffer buffer;
  std::vector<std::string> lines;
  const std::string read = "one\ntwo\nthr";
  buffer.Feed(read.data(), read.size(), [&](std::string_view l) {
    lines.emplace_back(l);
    return false;
  });
  EXPECT_EQ(lines, std::vector<std::string>{"one"});
  EXPECT_EQ(buffer.PendingBytes(), std::string("two\nthr").size());
}

TEST(OutputLineBuffer, BoundsAnOverlongLine) {
  OutputLineBuffer buffer;
  const std::string huge(OutputLineBuffer::kMaxLineBytes * 3, 'x');
  const std::vector<std::string> lines = FeedAll(buffer, {"Message=", huge, "\nnext\n"});
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].size(), OutputLineBuffer::kMaxLineBytes);
  EXPECT_EQ(lines[1], "next");
}

}  // namespace

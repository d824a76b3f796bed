#include <gtest/gtest.h>

#include "cmdline_cases.h"
#include "test_support.h"
#include "utils/cmdline.h"

namespace {

TEST(SplitWindowsCommandLine, FollowsTheWindowsRules) {
  for (const auto& c : test::CommandLineCases()) {
    EXPECT_EQ(Utils::SplitWindowsCommandLine(c.line), c.args) << Utils::WideToUtf8(c.line);
  }
}

TEST(SplitWindowsCommandLine, EmptyLineGivesNoArguments) {
  EXPECT_TRUE(Utils::SplitWindowsCommandLine(L"").empty());
}

TEST(QuoteWindowsArgument, SplitsBackUnchanged) {
  const std::vector<std::wstring> args = {L"plain", L"", L"a b", L"tail\\", L"q\"uote",
                                          L"\\\\\"", L"C:\\Program Files\\", L"中 文"};
  std::wstring line = L"prog";
  for (const auto& a : args) line += L" " + Utils::QuoteWindowsArgument(a);
  std::vector<std::wstring> expected = {L"prog"};
  expected.insert(expected.end(), args.begin(), args.end());
  EXPECT_EQ(Utils::SplitWindowsCommandLine(line), expected);
}

// The child sees the same arguments on every platform: Windows splits the
// line in the child, POSIX splits it here before spawning.
TEST(SplitWindowsCommandLine, ChildReceivesTheSplitArguments) {
  const std::wstring rest = L"args \"a b\" c\\\\\"d e\" \\\"q \"\" 中文";
  const test::ChildResult r = test::RunChild(rest);
  EXPECT_EQ(r.exitCode, 0u);
  EXPECT_EQ(r.output, "[args]\n[a b]\n[c\\d e]\n[\"q]\n[]\n[中文]\n");
}

}  // namespace

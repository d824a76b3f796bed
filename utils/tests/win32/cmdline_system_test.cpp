// The portable splitter against the system's own CommandLineToArgvW.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "cmdline_cases.h"
#include "utils/cmdline.h"
#include "utils/text.h"

namespace {

std::vector<std::wstring> SystemSplit(const std::wstring& line) {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(line.c_str(), &count);
  std::vector<std::wstring> out;
  for (int i = 0; argv && i < count; ++i) out.emplace_back(argv[i]);
  LocalFree(argv);
  return out;
}

TEST(CommandLineToArgvW, AgreesWithTheSharedTable) {
  for (const auto& c : test::CommandLineCases()) {
    EXPECT_EQ(SystemSplit(c.line), c.args) << Utils::WideToUtf8(c.line);
  }
}

TEST(CommandLineToArgvW, AgreesWithThePortableSplitterOnQuotingMixtures) {
  const wchar_t* pieces[] = {L"a", L"\"", L"\\", L" ", L"\t", L"b"};
  // Every line of up to five pieces after a fixed program name.
  std::vector<std::wstring> lines = {L""};
  for (int len = 0; len < 5; ++len) {
    std::vector<std::wstring> next;
    for (const auto& l : lines) {
      for (const wchar_t* p : pieces) next.push_back(l + p);
    }
    lines.insert(lines.end(), next.begin(), next.end());
    if (lines.size() > 20000) break;
  }
  for (const auto& rest : lines) {
    const std::wstring line = L"prog " + rest;
    ASSERT_EQ(Utils::SplitWindowsCommandLine(line), SystemSplit(line)) << Utils::WideToUtf8(line);
  }
}

}  // namespace

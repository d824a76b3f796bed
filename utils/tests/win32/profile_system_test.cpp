// The portable profile reader against the Win32 profile functions, on the
// same files.
#include <windows.h>

#include <gtest/gtest.h>

#include "profile_cases.h"
#include "test_support.h"
#include "utils/file.h"
#include "utils/profile.h"

namespace {

TEST(Win32Profile, AgreesWithTheSharedTable) {
  const std::wstring dir = test::MakeTempDir(L"w32profile");
  int i = 0;
  for (const auto& c : test::ProfileReadCases()) {
    // The system reads 8-bit files in the ANSI code page; leave the UTF-8 case to the portable test.
    if (std::string(c.content).find('\xE4') != std::string::npos) continue;
    const std::wstring file = test::Join(dir, L"c" + std::to_wstring(i++) + L".ini");
    ASSERT_TRUE(Utils::WriteFileAtomically(file, c.content));
    EXPECT_EQ(Utils::Profile::GetString(c.section, c.key, c.fallback, c.bufferChars, file), c.expected)
        << c.content;
  }
}

TEST(Win32Profile, IntegersAgreeWithTheSharedTable) {
  // A new file per case: the system caches a profile file it has read.
  const std::wstring dir = test::MakeTempDir(L"w32int");
  int i = 0;
  for (const auto& c : test::ProfileIntCases()) {
    const std::wstring file = test::Join(dir, L"int" + std::to_wstring(i++) + L".ini");
    ASSERT_TRUE(Utils::WriteFileAtomically(
        file, c.value ? std::string("[S]\r\nK=") + c.value + "\r\n" : std::string("[S]\r\n")));
    EXPECT_EQ(Utils::Profile::GetInt(L"S", L"K", c.fallback, file), c.expected)
        << (c.value ? c.value : "(absent)");
  }
}

}  // namespace

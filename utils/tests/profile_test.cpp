#include <gtest/gtest.h>

#include <fstream>

#include "profile_cases.h"
#include "test_support.h"
#include "utils/file.h"
#include "utils/profile.h"

namespace {

class PortableProfileTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = test::MakeTempDir(L"profile"); }
  std::wstring File(const std::wstring& name) { return test::Join(dir_, name); }
  void Write(const std::wstring& path, const std::string& bytes) {
    ASSERT_TRUE(Utils::WriteFileAtomically(path, bytes));
  }
  std::wstring dir_;
};

TEST_F(PortableProfileTest, ReadsLikeTheWin32ProfileFunctions) {
  int i = 0;
  for (const auto& c : test::ProfileReadCases()) {
    const std::wstring file = File(L"read" + std::to_wstring(i++) + L".ini");
    Write(file, c.content);
    EXPECT_EQ(Utils::PortableProfile::GetString(c.section, c.key, c.fallback, c.bufferChars, file),
              c.expected)
        << c.content;
  }
}

TEST_F(PortableProfileTest, MissingFileGivesTheFallback) {
  EXPECT_EQ(Utils::PortableProfile::GetString(L"S", L"K", L"fb", 260, File(L"none.ini")), L"fb");
  EXPECT_EQ(Utils::PortableProfile::GetInt(L"S", L"K", 9, File(L"none.ini")), 9);
}

TEST_F(PortableProfileTest, IntegersConvertLikeGetPrivateProfileInt) {
  for (const auto& c : test::ProfileIntCases()) {
    const std::wstring file = File(L"int.ini");
    Write(file, c.value ? std::string("[S]\r\nK=") + c.value + "\r\n" : std::string("[S]\r\n"));
    EXPECT_EQ(Utils::PortableProfile::GetInt(L"S", L"K", c.fallback, file), c.expected)
        << (c.value ? c.value : "(absent)");
  }
}

TEST_F(PortableProfileTest, Utf16FileWithByteOrderMarkIsRead) {
  const std::wstring text = L"[Install]\r\nName=\x4E2D\x6587\r\n";
  std::string bytes = "\xFF\xFE";
  for (wchar_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>((c >> 8) & 0xFF));
  }
  Write(File(L"u16.ini"), bytes);
  EXPECT_EQ(Utils::PortableProfile::GetString(L"Install", L"Name", L"", 260, File(L"u16.ini")), L"\x4E2D\x6587");
}

TEST_F(PortableProfileTest, WritesCreateReplaceAndKeepOtherLines) {
  const std::wstring file = File(L"w.ini");
  Write(file, "; comment\r\n[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
  ASSERT_TRUE(Utils::PortableProfile::WriteString(L"a", L"X", L"10", file));
  ASSERT_TRUE(Utils::PortableProfile::WriteString(L"A", L"z", L"3", file));
  ASSERT_TRUE(Utils::PortableProfile::WriteString(L"C", L"w", L"4", file));
  std::string bytes;
  ASSERT_TRUE(Utils::ReadWholeFile(file, bytes));
  EXPECT_EQ(bytes, "; comment\r\n[A]\r\nX=10\r\nz=3\r\n\r\n[B]\r\ny=2\r\n\r\n[C]\r\nw=4\r\n");
  EXPECT_EQ(Utils::PortableProfile::GetString(L"A", L"x", L"", 260, file), L"10");
}

TEST_F(PortableProfileTest, WriteRefusesLineBreaksAndLeavesFileAlone) {
  const std::wstring file = File(L"nl.ini");
  Write(file, "[A]\r\nx=1\r\n");
  EXPECT_FALSE(Utils::PortableProfile::WriteString(L"A", L"x", L"two\nlines", file));
  EXPECT_EQ(Utils::PortableProfile::GetString(L"A", L"x", L"", 260, file), L"1");
}

TEST_F(PortableProfileTest, WriteIntoMissingFolderFails) {
  EXPECT_FALSE(Utils::PortableProfile::WriteString(L"A", L"x", L"1", File(L"no/such/dir.ini")));
}

// The system's writer stores new files in the ANSI code page, so the
// round trip through the platform functions keeps to ASCII.
TEST_F(PortableProfileTest, PlatformProfileAgreesOnRoundTrip) {
  const std::wstring file = File(L"platform.ini");
  ASSERT_TRUE(Utils::Profile::WriteString(L"Install", L"InstallPath", L"C:\\x y\\Tarnvell", file));
  EXPECT_EQ(Utils::Profile::GetString(L"Install", L"InstallPath", L"", 260, file), L"C:\\x y\\Tarnvell");
  EXPECT_EQ(Utils::Profile::GetInt(L"Install", L"Missing", 5, file), 5);
}

}  // namespace

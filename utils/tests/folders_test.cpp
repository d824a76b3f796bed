#include <gtest/gtest.h>

#include "test_support.h"
#include "utils/file.h"
#include "utils/folders.h"

namespace {

using Utils::kPathSeparator;

std::wstring Repeat(wchar_t c, size_t n) { return std::wstring(n, c); }

TEST(JoinPath, OneSeparatorBetweenTheParts) {
  std::wstring out;
  ASSERT_TRUE(Utils::JoinPath(L"base", L"leaf", &out));
  EXPECT_EQ(out, std::wstring(L"base") + kPathSeparator + L"leaf");
  ASSERT_TRUE(Utils::JoinPath(std::wstring(L"base") + kPathSeparator, std::wstring(1, kPathSeparator) + L"leaf", &out));
  EXPECT_EQ(out, std::wstring(L"base") + kPathSeparator + L"leaf");
}

TEST(JoinPath, ResultLongerThan259CharactersIsRefused) {
  std::wstring out = L"untouched";
  const std::wstring base = Repeat(L'b', 200);
  ASSERT_TRUE(Utils::JoinPath(base, Repeat(L'l', 58), &out));  // 200 + 1 + 58 = 259
  EXPECT_EQ(out.size(), 259u);
  out = L"untouched";
  EXPECT_FALSE(Utils::JoinPath(base, Repeat(L'l', 59), &out));  // 260
  EXPECT_EQ(out, L"untouched");
}

TEST(PathParts, DirectoryAndFileName) {
  const std::wstring sep(1, kPathSeparator);
  EXPECT_EQ(Utils::PathDirectory(L"a" + sep + L"b" + sep + L"c.exe"), L"a" + sep + L"b");
  EXPECT_EQ(Utils::PathFileName(L"a" + sep + L"b" + sep + L"c.exe"), L"c.exe");
  EXPECT_EQ(Utils::PathFileName(L"c.exe"), L"c.exe");
  EXPECT_EQ(Utils::PathDirectory(L"c.exe"), L"");
}

class CreateDirectoriesTest : public ::testing::Test {
 protected:
  void SetUp() override { root_ = test::MakeTempDir(L"dirs"); }
  std::wstring root_;
};

TEST_F(CreateDirectoriesTest, CreatesEveryLevel) {
  const std::wstring path = test::Join(test::Join(test::Join(root_, L"a"), L"b"), L"c");
  ASSERT_TRUE(Utils::CreateDirectories(path));
  EXPECT_TRUE(Utils::IsDirectory(path));
  EXPECT_TRUE(Utils::CreateDirectories(path));  // existing: still true
}

TEST_F(CreateDirectoriesTest, TrailingSeparatorCreatesTheLastFolderToo) {
  const std::wstring path = test::Join(test::Join(root_, L"x"), L"y") + kPathSeparator;
  ASSERT_TRUE(Utils::CreateDirectories(path));
  EXPECT_TRUE(Utils::IsDirectory(test::Join(test::Join(root_, L"x"), L"y")));
}

TEST_F(CreateDirectoriesTest, PathOver260CharactersCreatesNothing) {
  const std::wstring first = test::Join(root_, L"long");
  std::wstring path = test::Join(first, Repeat(L'd', 261 - first.size() - 1));
  ASSERT_EQ(path.size(), 261u);
  EXPECT_FALSE(Utils::CreateDirectories(path));
  EXPECT_FALSE(Utils::PathExists(first));
}

TEST_F(CreateDirectoriesTest, AFileInTheWayFails) {
  const std::wstring file = test::Join(root_, L"file");
  ASSERT_TRUE(Utils::WriteFileAtomically(file, "x"));
  EXPECT_FALSE(Utils::CreateDirectories(test::Join(file, L"sub")));
}

TEST(TempFolder, EndsWithTheInstallersFolderAndExists) {
  const std::wstring folder = Utils::GetTempFolder();
  ASSERT_FALSE(folder.empty());
  const std::wstring tail = std::wstring(L"~KelVoTemp.92482B06FB471E17") + kPathSeparator;
  ASSERT_GE(folder.size(), tail.size());
  EXPECT_EQ(folder.substr(folder.size() - tail.size()), tail);
  EXPECT_TRUE(Utils::IsDirectory(folder));
}

TEST(ModulePath, NamesTheTestExecutable) {
  EXPECT_NE(Utils::PathFileName(Utils::GetModulePath()).find(L"utils_tests"), std::wstring::npos);
}

TEST(AtomicWrite, ReplacesContentAndLeavesNoTemporaryFile) {
  const std::wstring dir = test::MakeTempDir(L"atomic");
  const std::wstring file = test::Join(dir, L"f.bin");
  ASSERT_TRUE(Utils::WriteFileAtomically(file, "old"));
  ASSERT_TRUE(Utils::WriteFileAtomically(file, std::string("new\0bytes", 9)));
  std::string bytes;
  ASSERT_TRUE(Utils::ReadWholeFile(file, bytes));
  EXPECT_EQ(bytes, std::string("new\0bytes", 9));
  EXPECT_FALSE(Utils::WriteFileAtomically(test::Join(test::Join(dir, L"missing"), L"f"), "x"));
}

}  // namespace

#include <gtest/gtest.h>

#include <cctype>
#include <set>

#include "test_support.h"
#include "utils/accounts.h"
#include "utils/disk.h"
#include "utils/file.h"
#include "utils/identity.h"
#include "utils/md5.h"
#include "utils/network.h"
#include "utils/registry.h"
#include "utils/stopwatch.h"

namespace {

TEST(NewGuidString, ThirtyTwoHexCharactersOnlyThirdGroupLowerCase) {
  std::set<std::wstring> seen;
  for (int i = 0; i < 200; ++i) {
    const std::wstring g = Utils::NewGuidString();
    ASSERT_EQ(g.size(), 32u);
    for (size_t k = 0; k < g.size(); ++k) {
      const wchar_t c = g[k];
      ASSERT_TRUE(std::isxdigit(static_cast<int>(c))) << k;
      // Characters 13 to 16 (index 12..15) may be lower case; no other.
      if (k < 12 || k > 15) {
        ASSERT_FALSE(c >= L'a' && c <= L'f') << Utils::WideToUtf8(g);
      } else {
        ASSERT_FALSE(c >= L'A' && c <= L'F') << Utils::WideToUtf8(g);
      }
    }
    seen.insert(g);
  }
  EXPECT_EQ(seen.size(), 200u);
}

struct VersionCase {
  unsigned major, minor, build;
  bool r2;
  const wchar_t* name;
};

TEST(WindowsVersionName, Table) {
  const VersionCase cases[] = {
      {0, 0, 0, false, L"XP-"},      {4, 10, 1, false, L"XP-"},     {5, 0, 2195, false, L"2K"},
      {5, 1, 2600, false, L"XP"},    {5, 2, 3790, false, L"Server 2003"},
      {5, 2, 3790, true, L"Server 2003 R2"},                        {5, 3, 0, false, L"XP+"},
      {6, 0, 6000, false, L"Vista"}, {6, 1, 7601, false, L"7"},     {6, 2, 9200, false, L"8"},
      {6, 3, 9600, false, L"8.1"},   {6, 4, 0, false, L"8.1+"},     {10, 0, 22000, false, L"10"},
      {10, 1, 0, false, L"10+"},     {7, 0, 100, false, L"7.0.100"},
      {11, 0, 22000, false, L"11.0.22000"}, {9, 2, 0x12345, false, L"9.2.9029"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utils::WindowsVersionName(c.major, c.minor, c.build, c.r2), c.name)
        << c.major << "." << c.minor << "." << c.build;
  }
}

TEST(GetOsVersion, NamesThePlatform) {
  std::wstring platform, version;
  Utils::GetOsVersion(platform, version);
  EXPECT_TRUE(platform == L"Windows" || platform == L"Linux") << Utils::WideToUtf8(platform);
  EXPECT_FALSE(version.empty());
}

TEST(IsWow64, NativeWordSizeAnswersConsistently) {
  // A 32-bit build may run on either kind of system; a 64-bit one never
  // runs under WOW64.
  const bool wow64 = Utils::IsWow64();
  if (sizeof(void*) == 8) {
    EXPECT_FALSE(wow64);
  }
}

TEST(Md5, KnownDigests) {
  Utils::Md5 md5;
  EXPECT_EQ(md5.HexDigest(), "d41d8cd98f00b204e9800998ecf8427e");
  md5.Reset();
  md5.Update("a", 1);
  md5.Update("bc", 2);
  EXPECT_EQ(md5.HexDigest(), "900150983cd24fb0d6963f7d28e17f72");
}

TEST(FileMd5, FilesEmptyMissingAndLarge) {
  const std::wstring dir = test::MakeTempDir(L"md5");
  const std::wstring empty = test::Join(dir, L"empty"), big = test::Join(dir, L"big");
  ASSERT_TRUE(Utils::WriteFileAtomically(empty, ""));
  std::string bytes(3 * 1024 * 1024 + 17, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 131 + (i >> 9));
  ASSERT_TRUE(Utils::WriteFileAtomically(big, bytes));
  EXPECT_EQ(Utils::FileMd5W(empty), "d41d8cd98f00b204e9800998ecf8427e");
  Utils::Md5 whole;
  whole.Update(bytes.data(), bytes.size());
  EXPECT_EQ(Utils::FileMd5W(big), whole.HexDigest());
  EXPECT_EQ(Utils::FileMd5(Utils::WideToMultiByte(big, Utils::kCodePageAnsi)), Utils::FileMd5W(big));
  EXPECT_EQ(Utils::FileMd5W(test::Join(dir, L"missing")), "");
  EXPECT_EQ(Utils::FileMd5(""), "");
}

TEST(Stopwatch, SecondsSinceStartAcrossTickWrap) {
  Utils::Stopwatch w;
  EXPECT_EQ(w.ElapsedAt(5000), 0.0f);  // not running
  w.startTick = 0xFFFFFC18u;           // 1000 ms before the wrap
  w.running = true;
  EXPECT_FLOAT_EQ(w.ElapsedAt(500), 1.5f);
  w.Start();
  EXPECT_GE(w.Elapsed(), 0.0f);
  EXPECT_LT(w.Elapsed(), 5.0f);
}

TEST(HardDiskManager, FillsCountsOrFails) {
  Utils::HardDiskManager disk;
  ASSERT_TRUE(disk.CheckFreeSpace(Utils::GetTempFolder()));
  EXPECT_GT(disk.totalBytes, 0u);
  EXPECT_LE(disk.freeBytesAvailableToCaller, disk.totalBytes);
  EXPECT_LE(disk.totalFreeBytes, disk.totalBytes);
  Utils::HardDiskManager missing;
  EXPECT_FALSE(missing.CheckFreeSpace(test::Join(Utils::GetTempFolder(), L"no-such-dir-" + Utils::NewGuidString())));
  EXPECT_EQ(missing.totalBytes, 0u);
}

TEST(Registry, WriteThenReadAndMissingValueLeavesStringAlone) {
  const std::wstring name = L"TestValue_" + Utils::NewGuidString();
  ASSERT_TRUE(Utils::WriteRegString(name, L"C:\\Program Files\\Tarnvell 中文"));
  std::wstring read = L"before";
  ASSERT_TRUE(Utils::ReadRegString(name, read));
  EXPECT_EQ(read, L"C:\\Program Files\\Tarnvell 中文");
  ASSERT_TRUE(Utils::WriteRegString(name, L""));
  ASSERT_TRUE(Utils::ReadRegString(name, read));
  EXPECT_EQ(read, L"");
  std::wstring untouched = L"before";
  EXPECT_FALSE(Utils::ReadRegString(L"Missing_" + Utils::NewGuidString(), untouched));
  EXPECT_EQ(untouched, L"before");
}

TEST(ConnectivityFlags, FactsFoldIntoServiceFlags) {
  using Utils::detail::NetworkFacts;
  EXPECT_EQ(Utils::detail::ConnectivityFlagsFromFacts(NetworkFacts{}), 0u);
  EXPECT_EQ(Utils::detail::ConnectivityFlagsFromFacts(NetworkFacts{true, false, false, false, false}), 0x3u);
  EXPECT_EQ(Utils::detail::ConnectivityFlagsFromFacts(NetworkFacts{true, true, false, false, false}), 0x22u);
  EXPECT_EQ(Utils::detail::ConnectivityFlagsFromFacts(NetworkFacts{true, true, false, true, false}), 0x42u);
  EXPECT_EQ(Utils::detail::ConnectivityFlagsFromFacts(NetworkFacts{true, true, true, true, true}), 0x440u);
}

TEST(CheckNetwork, AnswerHasAKnownFinding) {
  const uint32_t answer = Utils::CheckNetwork();
  EXPECT_LE(Utils::NetworkFindingOf(answer), 2u);
  if (Utils::NetworkFindingOf(answer) == Utils::kNetworkNoConnectivity) {
    EXPECT_EQ(Utils::ConnectivityFlagsOf(answer), 0u);
  }
}

TEST(Accounts, AnswersWithoutFailing) {
  EXPECT_FALSE(Utils::IsAdminAccount(L""));
  EXPECT_FALSE(Utils::IsAdminAccount(L"no-such-user-" + Utils::NewGuidString()));
  std::wstring user = L"unchanged";
  if (Utils::GetConsoleUserName(user)) {
    EXPECT_FALSE(user.empty());
  }
  (void)Utils::IsAdministrator();
}

}  // namespace

// Download layer parts that need no server: URL routines, the choice of
// downloader, range splitting, the bind callback's progress rule and the
// 64-bit file helpers.
#include <algorithm>
#include <filesystem>
#include <vector>

#include <gtest/gtest.h>

#include "background_md5.h"
#include "curl_downloader.h"
#include "download_test_support.h"
#include "downloader.h"
#include "local_file.h"
#include "mt_curl_downloader.h"
#include "utils/md5.h"
#include "win_downloader.h"

namespace {

TEST(UrlTools, Md5FromUrlIsTheSegmentAboveTheFileName) {
  const struct {
    const char* url;
    const char* md5;
  } cases[] = {
      {"a/b/c.exe", "b"},
      {"c.exe", ""},
      {"/c.exe", ""},
      {"http://h/0123456789abcdef0123456789abcdef/p.exe", "0123456789abcdef0123456789abcdef"},
      {"http://h/software/236", "software"},
  };
  for (const auto& c : cases) EXPECT_EQ(GetMd5FromUrl(c.url), c.md5) << c.url;
}

TEST(UrlTools, UrlEncodeEscapesBytesOutsidePrintableAscii) {
  EXPECT_EQ(UrlEncode(L"http://h/a b/\u5b89\u88c5.exe"), L"http://h/a+b/%E5%AE%89%E8%A3%85.exe");
  const std::wstring escaped = L"http://h/x%20y?a=1&b=2:3";
  EXPECT_EQ(UrlEncode(escaped), escaped);
}

TEST(DownloaderChoice, DownloadTypeSelectsTheDownloader) {
  dltest::ScratchFolder folder;
  const struct {
    int32_t type;
    const char* kind;
  } cases[] = {{0, "curl"}, {1, "curl"}, {4, "curl"}, {-7, "curl"}, {2, "win"}, {3, "mt"}};
  for (const auto& c : cases) {
    auto downloader = CreateDownloader(c.type, [](int32_t, double, const wchar_t*) {}, L"http://127.0.0.1:9/x",
                                       folder.Path(L"out.bin"));
    const char* kind = dynamic_cast<CCurlDownloader*>(downloader.get())     ? "curl"
                       : dynamic_cast<CWinDownloader*>(downloader.get())    ? "win"
                       : dynamic_cast<CMTCurlDownloader*>(downloader.get()) ? "mt"
                                                                            : "none";
    EXPECT_STREQ(kind, c.kind) << c.type;
  }
}

TEST(RangeSplit, AtMostTwoRangesAtTenMebibyteGranularity) {
  using Ranges = std::vector<std::pair<int64_t, int64_t>>;
  EXPECT_EQ(CMTCurlDownloader::SplitRanges(15000000), (Ranges{{0, 14999999}}));
  EXPECT_EQ(CMTCurlDownloader::SplitRanges(25000001), (Ranges{{0, 12499999}, {12500000, 25000000}}));
  EXPECT_EQ(CMTCurlDownloader::SplitRanges(100 * 1048576LL),
            (Ranges{{0, 50 * 1048576LL - 1}, {50 * 1048576LL, 100 * 1048576LL - 1}}));
  EXPECT_EQ(CMTCurlDownloader::SplitRanges(20971519), (Ranges{{0, 20971518}}));
  // Packages of 2 GiB and more keep exact 64-bit offsets.
  const int64_t big = 5LL * 1024 * 1024 * 1024 + 1;
  EXPECT_EQ(CMTCurlDownloader::SplitRanges(big), (Ranges{{0, big / 2 - 1}, {big / 2, big - 1}}));
}

TEST(BindCallback, ReportsEveryNoticeWithAKnownTotal) {
  std::vector<dltest::Report> reports;
  DownloadCallback callback = [&](int32_t code, double value, const wchar_t* text) {
    reports.push_back({code, value, text});
  };
  EXPECT_TRUE(CWinDownloader::ReportProgress(callback, 100, 0, false));
  EXPECT_TRUE(reports.empty());
  EXPECT_TRUE(CWinDownloader::ReportProgress(callback, 512, 1024, false));
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].code, DL_CODE_PROGRESS);
  EXPECT_DOUBLE_EQ(reports[0].value, 0.5);
  EXPECT_FALSE(CWinDownloader::ReportProgress(callback, 512, 1024, true));  // cancel
  EXPECT_EQ(reports.size(), 1u);
}

TEST(WinDownloader, EmptyDestinationFailsAtOnce) {
  dltest::Recorder recorder;
  CWinDownloader downloader(recorder.Callback(), L"http://127.0.0.1:9/x", L"");
  downloader.Start();
  const auto reports = recorder.WaitForEnd();
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0].code, DL_CODE_START);
  EXPECT_EQ(reports[1].code, DL_CODE_FAIL);
  EXPECT_EQ(reports[1].value, 1.0);
  EXPECT_EQ(reports[1].text, L"");
}

TEST(CurlDownloader, EmptyDestinationFailsAtOnce) {
  dltest::Recorder recorder;
  CCurlDownloader downloader(recorder.Callback(), L"http://127.0.0.1:9/x", L"");
  downloader.Start();
  const auto reports = recorder.WaitForEnd();
  EXPECT_EQ(dltest::Recorder::Milestones(reports), (std::vector<int32_t>{DL_CODE_START, DL_CODE_FAIL}));
  EXPECT_EQ(reports.back().value, 1.0);
}

class LocalFileTest : public ::testing::Test {
 protected:
  dltest::ScratchFolder folder_;
};

TEST_F(LocalFileTest, SizesBeyondFourGibibytesAreExact) {
  const std::wstring path = folder_.Path(L"sparse.bin");
  dltest::WriteFileBytes(path, "x");
  const uintmax_t size = 5ULL * 1024 * 1024 * 1024 + 3;
  std::filesystem::resize_file(std::filesystem::path(path), size);
  EXPECT_EQ(FileSize64(path), static_cast<int64_t>(size));
  EXPECT_EQ(FileSize64(folder_.Path(L"missing.bin")), -1);
  EXPECT_EQ(FileSize64(folder_.Root()), -1);  // a folder is no file
}

TEST_F(LocalFileTest, RenameReplacesAndReportsWhatHappened) {
  const std::wstring from = folder_.Path(L"a.part");
  const std::wstring to = folder_.Path(L"a.bin");
  dltest::WriteFileBytes(from, "new");
  dltest::WriteFileBytes(to, "old");
  EXPECT_TRUE(RenameReplacing(from, to));
  EXPECT_EQ(dltest::ReadFileBytes(to), "new");
  EXPECT_FALSE(RenameReplacing(folder_.Path(L"missing"), to));
  EXPECT_TRUE(RemovePath(to));
  EXPECT_TRUE(RemovePath(to));  // already gone counts as removed
  // A folder that still holds a file cannot be removed: that is reported.
  std::filesystem::create_directories(std::filesystem::path(folder_.Path(L"dir")));
  dltest::WriteFileBytes(folder_.Path(L"dir/inner"), "x");
  EXPECT_FALSE(RemovePath(folder_.Path(L"dir")));
}

TEST_F(LocalFileTest, AppendCopiesEveryByteAndDigestsThem) {
  std::string a(3 * 1024 * 1024 + 17, 'a');
  std::string b(1024 * 1024 + 5, 'b');
  b[7] = 'z';
  dltest::WriteFileBytes(folder_.Path(L"a"), a);
  dltest::WriteFileBytes(folder_.Path(L"b"), b);
  BackgroundMd5 digest;
  ASSERT_TRUE(HashFilePrefix(folder_.Path(L"a"), static_cast<int64_t>(a.size()), digest));
  OutputFile out;
  ASSERT_TRUE(out.OpenForAppend(folder_.Path(L"a")));
  EXPECT_EQ(AppendFile(folder_.Path(L"b"), out, &digest), static_cast<int64_t>(b.size()));
  EXPECT_EQ(AppendFile(folder_.Path(L"missing"), out, nullptr), -1);
  ASSERT_TRUE(out.Close());
  EXPECT_EQ(dltest::ReadFileBytes(folder_.Path(L"a")), a + b);
  EXPECT_EQ(digest.HexDigest(), Utils::FileMd5W(folder_.Path(L"a")));
  BackgroundMd5 shortRead;
  EXPECT_FALSE(HashFilePrefix(folder_.Path(L"b"), static_cast<int64_t>(b.size()) + 1, shortRead));
}

// The hashing thread must see every byte once, in order, whatever the chunk
// sizes the writer hands over (slot edges especially), and a Reset must
// start a fresh digest even with bytes still queued.
TEST(BackgroundMd5Test, SameDigestAsOnePassForEveryChunkPattern) {
  const size_t slot = BackgroundMd5::kSlotBytes;
  std::string data(9 * slot + 12345, '\0');
  uint32_t x = 2463534242u;
  for (char& c : data) {
    x ^= x << 13; x ^= x >> 17; x ^= x << 5;
    c = static_cast<char>(x);
  }
  struct Case { const char* name; size_t size; std::vector<size_t> chunks; };
  const Case cases[] = {
      {"empty", 0, {1}},
      {"one byte", 1, {1}},
      {"a slot less one", slot - 1, {4096}},
      {"exactly one slot", slot, {slot}},
      {"a slot and one byte", slot + 1, {slot, 1}},
      {"odd chunks across many slots", data.size(), {1, 511 * 1024, 3, slot + 7, 16384}},
      {"one call bigger than all slots", data.size(), {data.size()}},
  };
  BackgroundMd5 digest;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    digest.Reset();
    size_t at = 0, i = 0;
    while (at < c.size) {
      const size_t n = std::min(c.chunks[i++ % c.chunks.size()], c.size - at);
      ASSERT_TRUE(digest.Update(data.data() + at, n));
      at += n;
    }
    Utils::Md5 reference;
    reference.Update(data.data(), c.size);
    EXPECT_EQ(digest.HexDigest(), reference.HexDigest());
  }
  // Reset with queued bytes: they do not leak into the next digest.
  digest.Reset();
  ASSERT_TRUE(digest.Update(data.data(), 3 * slot + 5));
  digest.Reset();
  ASSERT_TRUE(digest.Update("abc", 3));
  EXPECT_EQ(digest.HexDigest(), "900150983cd24fb0d6963f7d28e17f72");
}

}  // namespace

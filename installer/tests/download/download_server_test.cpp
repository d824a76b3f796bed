// The three downloaders against the scripted fault server on 127.0.0.1:
// what they ask for, what they report, and the file they leave.
#include <filesystem>

#include <gtest/gtest.h>

#include "curl_downloader.h"
#include "download_test_support.h"
#include "mt_curl_downloader.h"
#include "utils/format.h"
#include "utils/md5.h"
#include "utils/sysinfo.h"
#include "win_downloader.h"

namespace {

using dltest::Recorder;
using Codes = std::vector<int32_t>;

constexpr int32_t S = DL_CODE_START, OK = DL_CODE_SUCCESS, F = DL_CODE_FAIL, R = DL_CODE_RETRY,
                  M = DL_CODE_MD5_ERROR;

class FaultServerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    files_ = new dltest::ScratchFolder();
    server_ = new dltest::FaultServer(files_->Path(L"root"), {"package.bin:2000000:7", "big.bin:25000001:9"});
    package_ = dltest::ReadFileBytes(files_->Path(L"root/package.bin"));
    big_ = dltest::ReadFileBytes(files_->Path(L"root/big.bin"));
  }
  static void TearDownTestSuite() {
    delete server_;
    delete files_;
  }
  void SetUp() override { server_->Script("{}"); }

  static std::wstring Url(const std::string& path) { return Utils::Utf8ToWide(server_->Base() + path); }
  static std::wstring BigUrl() {
    return Url("/" + Utils::FileMd5W(files_->Path(L"root/big.bin")) + "/big.bin");
  }

  // Runs one downloader to its end, answering DL_CODE_RETRY like the owner.
  template <class Downloader>
  std::vector<dltest::Report> Run(const std::wstring& url, const std::wstring& path) {
    Recorder recorder;
    Downloader downloader(recorder.Callback(), url, path);
    recorder.Attach(&downloader);
    downloader.Start();
    return recorder.WaitForEnd();
  }

  static dltest::ScratchFolder* files_;
  static dltest::FaultServer* server_;
  static std::string package_;
  static std::string big_;
  dltest::ScratchFolder out_;
};

dltest::ScratchFolder* FaultServerTest::files_ = nullptr;
dltest::FaultServer* FaultServerTest::server_ = nullptr;
std::string FaultServerTest::package_;
std::string FaultServerTest::big_;

// --- single stream ---------------------------------------------------------

TEST_F(FaultServerTest, SingleStreamResumesAfterADroppedConnection) {
  server_->Script(R"({"queue": [{"method": "GET", "close_after": 300000}]})");
  const std::wstring dest = out_.Path(L"p.exe");
  const auto reports = Run<CCurlDownloader>(Url("/software/236"), dest);
  EXPECT_EQ(Recorder::Milestones(reports), (Codes{S, OK}));
  EXPECT_EQ(reports.back().text, L"LibCurl");
  EXPECT_EQ(server_->Count(R"("range": "bytes=300000-")"), 1u) << server_->Log();
  EXPECT_TRUE(dltest::ReadFileBytes(dest) == package_);
  EXPECT_FALSE(dltest::FileExists(dest + L".part"));
}

TEST_F(FaultServerTest, SingleStreamUpperCaseMd5RetriesOnceThenFails) {
  server_->Script(R"({"default": {"upper_md5": true}})");
  const auto reports = Run<CCurlDownloader>(Url("/software/236"), out_.Path(L"p.exe"));
  EXPECT_EQ(Recorder::Milestones(reports), (Codes{S, M, R, S, M, F}));
  EXPECT_EQ(reports.back().value, 0.0);
  EXPECT_EQ(server_->Count(R"("method": "GET")"), 2u);  // the retry downloads the whole file again
}

TEST_F(FaultServerTest, SingleStreamShortBodyIsResumedNotTakenForTheFile) {
  // The transfer announces fewer bytes than the probe found; without an MD5
  // in the URL only the length can tell the file is short.
  server_->Script(R"({"queue": [{"method": "GET", "length": 1500000}]})");
  const std::wstring dest = out_.Path(L"p.exe");
  const auto reports = Run<CCurlDownloader>(Url("/files/package.bin"), dest);
  EXPECT_EQ(Recorder::Milestones(reports), (Codes{S, M, OK}));
  EXPECT_EQ(reports[reports.size() - 2].text, L"curl获取url-md5失败");
  EXPECT_EQ(server_->Count(R"("range": "bytes=1500000-")"), 1u) << server_->Log();
  EXPECT_TRUE(dltest::ReadFileBytes(dest) == package_);
}

TEST_F(FaultServerTest, SingleStreamChangedBytesAreCaughtByTheMd5) {
  server_->Script(R"({"queue": [{"method": "GET", "close_after": 300000}, {"method": "GET", "alter": true}]})");
  const std::wstring dest = out_.Path(L"p.exe");
  const auto reports = Run<CCurlDownloader>(Url("/software/236"), dest);
  EXPECT_EQ(Recorder::Milestones(reports), (Codes{S, M, R, S, OK}));
  EXPECT_TRUE(dltest::ReadFileBytes(dest) == package_);
}

TEST_F(FaultServerTest, SingleStreamFailures) {
  const struct {
    const char* script;
    const char* path;
    double value;
    size_t gets;
  } cases[] = {
      {R"({"queue": [{"method": "GET", "status": 404, "count": 100}]})", "/software/236", 22.0, 6},
      {R"({"default": {"no_length": true}})", "/software/236", -998.0, 0},
      {R"({"default": {"redirect_loop": true}})", "/software/236", -998.0, 0},
  };
  for (const auto& c : cases) {
    server_->Script(c.script);
    const std::wstring dest = out_.Path(L"p.exe");
    const auto reports = Run<CCurlDownloader>(Url(c.path), dest);
    EXPECT_EQ(Recorder::Milestones(reports), (Codes{S, F})) << c.script;
    EXPECT_EQ(reports.back().value, c.value) << c.script;
    EXPECT_EQ(server_->Count(R"("method": "GET")"), c.gets) << c.script;
    EXPECT_FALSE(dltest::FileExists(dest)) << c.script;
  }
}

TEST_F(FaultServerTest, SingleStreamNeverSucceedsWithoutTheDestination) {
  // A destination that cannot be replaced (a folder holding a file): the
  // download is complete, but the file is not where it must be.
  const std::wstring dest = out_.Path(L"p.exe");
  std::filesystem::create_directories(std::filesystem::path(dest));
  dltest::WriteFileBytes(dest + L"/keep", "x");
  const auto reports = Run<CCurlDownloader>(Url("/software/236"), dest);
  EXPECT_EQ(Recorder::Milestones(reports), (Codes{S, F}));
  EXPECT_EQ(reports.back().value, CurlClient::kFinishFailed);
  EXPECT_EQ(server_->Count(R"("method": "GET")"), 1u);  // the complete part file is not fetched again
}

TEST_F(FaultServerTest, SingleStreamIgnoresAPartialFileOfAnEarlierProcess) {
  const std::wstring dest = out_.Path(L"p.exe");
  dltest::WriteFileBytes(dest + L".part", std::string(300000, 'x'));
  const auto reports = Run<CCurlDownloader>(Url("/files/package.bin"), dest);
  EXPECT_EQ(reports.back().code, OK);
  EXPECT_EQ(server_->Count(R"("range": "bytes)"), 0u);
  EXPECT_TRUE(dltest::ReadFileBytes(dest) == package_);
}

// --- two ranges --------------------------------------------------------------

TEST_F(FaultServerTest, TwoRangesOfAnOddLengthFile) {
  const std::wstring dest = out_.Path(L"big.exe");
  const auto reports = Run<CMTCurlDownloader>(BigUrl(), dest);
  EXPECT_EQ(Recorder::Milestones(reports), (Codes{S, OK}));
  EXPECT_EQ(server_->Count(R"("range": "bytes=0-12499999")"), 1u) << server_->Log();
  EXPECT_EQ(server_->Count(R"("range": "bytes=12500000-25000000")"), 1u);
  EXPECT_TRUE(dltest::ReadFileBytes(dest) == big_);
  EXPECT_FALSE(dltest::FileExists(dest + L"_0"));
  EXPECT_FALSE(dltest::FileExists(dest + L"_1"));
  for (const auto& r : reports) {
    if (r.code == DL_CODE_PROGRESS) {
      EXPECT_GT(r.value, 0.0);
      EXPECT_LE(r.value, 1.0);
    }
  }
}

TEST_F(FaultServerTest, TwoRangesResumeADroppedRange) {
  server_->Script(R"({"queue": [{"method": "GET", "close_after": 1000000}]})");
  const std::wstring dest = out_.Path(L"big.exe");
  const auto reports = Run<CMTCurlDownloader>(BigUrl(), dest);
  EXPECT_EQ(Recorder::Milestones(reports), (Codes{S, OK}));
  const size_t resumed = server_->Count(R"("range": "bytes=1000000-12499999")") +
                         server_->Count(R"("range": "bytes=13500000-25000000")");
  EXPECT_EQ(resumed, 1u) << server_->Log();
  EXPECT_TRUE(dltest::ReadFileBytes(dest) == big_);
}

TEST_F(FaultServerTest, TwoRangesUpperCaseMd5RetriesOnceThenFails) {
  server_->Script(R"({"default": {"upper_md5": true}})");
  const std::wstring dest = out_.Path(L"big.exe");
  const auto reports = Run<CMTCurlDownloader>(Url("/software/236"), dest);
  EXPECT_EQ(Recorder::Milestones(reports), (Codes{S, M, R, S, M, F}));
  EXPECT_EQ(reports[1].text, L"mtcurl文件md5校验失败");
  EXPECT_FALSE(dltest::FileExists(dest));
}

TEST_F(FaultServerTest, TwoRangesRefuseAServerThatIgnoresRanges) {
  // A 200 with the whole file would put the file's first bytes where the
  // second range belongs; without an MD5 nothing else would notice.
  server_->Script(R"({"default": {"ignore_range": true}})");
  const std::wstring dest = out_.Path(L"big.exe");
  const auto reports = Run<CMTCurlDownloader>(Url("/files/big.bin"), dest);
  EXPECT_EQ(Recorder::Milestones(reports), (Codes{S, R, S, F}));
  EXPECT_FALSE(dltest::FileExists(dest));
}

TEST_F(FaultServerTest, TwoRangesNeverSucceedWithoutTheDestination) {
  const std::wstring dest = out_.Path(L"big.exe");
  std::filesystem::create_directories(std::filesystem::path(dest));
  dltest::WriteFileBytes(dest + L"/keep", "x");
  const auto reports = Run<CMTCurlDownloader>(Url("/files/big.bin"), dest);
  EXPECT_EQ(Recorder::Milestones(reports), (Codes{S, R, S, F}));
  EXPECT_EQ(reports.back().value, CMTCurlDownloader::kJoinFailed);
}

TEST_F(FaultServerTest, TwoRangesProbeWithoutLengthFailsAtOnce) {
  server_->Script(R"({"default": {"no_length": true}})");
  const auto reports = Run<CMTCurlDownloader>(Url("/software/236"), out_.Path(L"big.exe"));
  EXPECT_EQ(Recorder::Milestones(reports), (Codes{S, F}));
  EXPECT_EQ(reports.back().value, 0.0);
  EXPECT_EQ(server_->Count(R"("method": "GET")"), 0u);
}

// --- destruction mid-run -------------------------------------------------------

template <class Downloader>
void DestroyWhileTransferring(dltest::FaultServer& server, const std::wstring& url, const std::wstring& dest) {
  server.Script(R"({"default": {"slow": 0.2}})");
  Recorder recorder;
  size_t reportsAtDestruction = 0;
  {
    Downloader downloader(recorder.Callback(), url, dest);
    recorder.Attach(&downloader);
    downloader.Start();
    recorder.WaitFor(DL_CODE_START);
    while (server.Count(R"("method": "GET")") == 0) Utils::SleepMilliseconds(20);
    reportsAtDestruction = recorder.Snapshot().size();
  }  // aborts the transfers and waits for every thread
  const auto after = recorder.Snapshot();
  for (size_t i = reportsAtDestruction; i < after.size(); ++i) EXPECT_EQ(after[i].code, DL_CODE_PROGRESS);
}

TEST_F(FaultServerTest, DestroyingDownloadersMidRunStopsTheirThreads) {
  DestroyWhileTransferring<CMTCurlDownloader>(*server_, BigUrl(), out_.Path(L"mt.exe"));
  DestroyWhileTransferring<CCurlDownloader>(*server_, Url("/software/236"), out_.Path(L"one.exe"));
  DestroyWhileTransferring<CWinDownloader>(*server_, Url("/software/236"), out_.Path(L"win.exe"));
}

// --- system service stand-in ---------------------------------------------------

TEST_F(FaultServerTest, SystemServiceDownloaderRunsOnce) {
  const std::wstring dest = out_.Path(L"p.exe");
  Recorder recorder;
  {
    CWinDownloader downloader(recorder.Callback(), Url("/software/236"), dest);
    downloader.Start();
    recorder.WaitForEnd();
    downloader.Start();  // the worker has run: nothing happens
  }
  const auto reports = recorder.Snapshot();
  EXPECT_EQ(Recorder::Milestones(reports), (Codes{S, OK}));
  EXPECT_EQ(reports.back().text, L"URLDownloadToFile");
  EXPECT_EQ(server_->Count(R"("method": "GET", "path": "/software/236")"), 1u);
  EXPECT_TRUE(dltest::ReadFileBytes(dest) == package_);
}

TEST_F(FaultServerTest, SystemServiceDownloaderGivesUpAfterThreeAttempts) {
  server_->Script(R"({"default": {"status": 500}})");
  const auto reports = Run<CWinDownloader>(Url("/software/236"), out_.Path(L"p.exe"));
  EXPECT_EQ(Recorder::Milestones(reports), (Codes{S, F}));
  EXPECT_LT(reports.back().value, 0.0);  // an HRESULT
  EXPECT_EQ(reports.back().text, L"URLDownloadToFile");
  EXPECT_EQ(server_->Count(R"("method": "GET")"), 3u);
}

}  // namespace

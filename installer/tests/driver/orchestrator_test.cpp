// CDownloadInstaller end to end with the real downloader (a file: URL read
// by libcurl), the real sample package and the real sample uninstaller.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "download_installer.h"
#include "installer_config.h"
#include "notice_log.h"
#include "utils/file.h"
#include "utils/folders.h"
#include "utils/md5.h"

namespace {

const std::vector<int32_t> kFinalCodes = {1004, 2003, 2004, 5004, 5005};

// A file URL libcurl reads on both platforms: file:///C:/x on Windows.
std::wstring FileUrl(std::wstring path) {
  std::replace(path.begin(), path.end(), L'\\', L'/');
  return path.front() == L'/' ? L"file://" + path : L"file:///" + path;
}

// Codes without the repeated progress ones, for comparing whole runs.
std::vector<int32_t> Milestones(const std::vector<Notice>& notices) {
  std::vector<int32_t> codes;
  for (const Notice& n : notices) {
    if (n.code == 1002 || n.code == 2002 || n.code == 5002 || n.code == 1006) continue;
    if (n.code >= 3000 && n.code <= 3009) continue;
    codes.push_back(n.code);
  }
  return codes;
}

class Orchestrator : public testing::Test {
 protected:
  void SetUp() override {
    // The package served from a folder named by its MD5, as the package
    // server does, so the download is verified.
    const std::wstring sample = BesideTests(SAMPLE_PACKAGE_NAME);
    std::string bytes;
    ASSERT_TRUE(Utils::ReadWholeFile(sample, bytes));
    Utils::Md5 digest;
    digest.Update(bytes.data(), bytes.size());
    const std::wstring served = temp.File(Utils::Utf8ToWide(digest.HexDigest()).c_str());
    ASSERT_TRUE(Utils::CreateDirectories(served));
    packageUrl = FileUrl(served + Utils::kPathSeparator + L"TarnvellSetup.exe");
    ASSERT_TRUE(Utils::WriteFileAtomically(served + Utils::kPathSeparator + L"TarnvellSetup.exe", bytes));
    folder = temp.File(L"New Tarnvell");
    InstallerConfig.InstCmd.clear();
  }
  void TearDown() override {
    InstallerConfig.InstCmd = savedInstCmd_;
    InstallerConfig.DownloadType = savedType_;
  }

  // One start to its final notification; destroying the orchestrator then
  // waits for every phase thread.
  std::vector<Notice> Install(const std::wstring& url, const std::wstring& earlier) {
    NoticeLog log;
    {
      CDownloadInstaller orchestrator(log.Callback(), L"", L"", L"", true, true, true);
      orchestrator.Setup(url, earlier, folder, true, false, false, false);
      orchestrator.Start();
      EXPECT_EQ(orchestrator.PackagePath(),
                folder + Utils::kPathSeparator + L"__Package_Tarnvell.exe");
      log.WaitForAny(kFinalCodes);
    }
    return log.Take();
  }

  std::wstring Package() const { return folder + Utils::kPathSeparator + L"__Package_Tarnvell.exe"; }
  std::wstring Product(const std::wstring& in) const {
    return in + Utils::kPathSeparator + L"DovraneScreenRecorder.exe";
  }

  TempFolder temp;
  std::wstring packageUrl, folder;

 private:
  std::wstring savedInstCmd_ = InstallerConfig.InstCmd;
  int32_t savedType_ = InstallerConfig.DownloadType;
};

TEST_F(Orchestrator, DownloadThenInstallThenThePackageIsGone) {
  const std::vector<Notice> notices = Install(packageUrl, L"");
  EXPECT_EQ(Milestones(notices), (std::vector<int32_t>{1001, 1003, 2001, 2003}));
  EXPECT_EQ(notices.front(), (Notice{1001, 1.0, L""}));
  EXPECT_TRUE(Utils::PathExists(Product(folder)));
  EXPECT_FALSE(Utils::PathExists(Package()));
}

TEST_F(Orchestrator, EarlierVersionIsRemovedFirst) {
  const std::wstring earlier = temp.File(L"Old Tarnvell");
  ASSERT_EQ(Milestones(Install(packageUrl, L"")).back(), 2003);  // the earlier version
  ASSERT_TRUE(Utils::CreateDirectories(earlier));
  for (const wchar_t* name : {L"DovraneScreenRecorder.exe", L"uninst.ep"}) {
    std::filesystem::copy_file(Product(folder), earlier + Utils::kPathSeparator + name);
  }
  const std::vector<Notice> notices =
      Install(packageUrl, earlier + Utils::kPathSeparator + L"uninst.ep");
  EXPECT_EQ(Milestones(notices), (std::vector<int32_t>{5003, 1001, 1003, 2001, 2003}))
      << testing::PrintToString(notices);
  EXPECT_EQ(notices.front(), (Notice{5002, 0.0, L""}));
  EXPECT_FALSE(Utils::PathExists(earlier));
}

TEST_F(Orchestrator, MissingEarlierUninstallerMeansNoRemoval) {
  const std::vector<Notice> notices = Install(packageUrl, temp.File(L"gone\\uninst.ep"));
  EXPECT_EQ(Milestones(notices), (std::vector<int32_t>{1001, 1003, 2001, 2003}));
}

TEST_F(Orchestrator, FailedRemovalStopsEverything) {
  const std::wstring earlier = temp.File(L"Busy Tarnvell");
  ASSERT_TRUE(Utils::CreateDirectories(earlier));
  const std::wstring entry = earlier + Utils::kPathSeparator + L"uninst.ep";
  std::filesystem::copy_file(BesideTests(SAMPLE_PACKAGE_NAME), entry);
  ASSERT_TRUE(Utils::WriteFileAtomically(earlier + Utils::kPathSeparator + L"uninst.script",
                                         "out Error=running\nout Progress=1\n"));
  const std::vector<Notice> notices = Install(packageUrl, entry);
  EXPECT_EQ(notices, (std::vector<Notice>{{5002, 0.0, L""}, {5005, 0.0, L"running"},
                                          {5002, 1.0, L""}}));
  EXPECT_FALSE(Utils::PathExists(folder));
}

TEST_F(Orchestrator, FailedDownloadLeavesNoPackage) {
  const std::vector<Notice> notices = Install(FileUrl(temp.File(L"no\\such.exe")), L"");
  const std::vector<int32_t> codes = Milestones(notices);
  ASSERT_FALSE(codes.empty());
  EXPECT_EQ(codes.front(), 1001);
  EXPECT_EQ(codes.back(), 1004);
  EXPECT_FALSE(Utils::PathExists(Package()));
}

// The package reports its failure and keeps running for a while: it holds
// its own file then (on Windows it cannot be deleted); it is deleted once
// the package has ended.
TEST_F(Orchestrator, FailedPackageIsDeletedAfterItEnds) {
  const std::wstring script = temp.File(L"fail.txt");
  ASSERT_TRUE(Utils::WriteFileAtomically(script, "out State=Fail\nsleep 300\n"));
  InstallerConfig.InstCmd = L"-script=\"" + script + L"\"";
  const std::vector<Notice> notices = Install(packageUrl, L"");
  EXPECT_EQ(Milestones(notices), (std::vector<int32_t>{1001, 1003, 2001, 2004}));
  EXPECT_EQ(notices.back(), (Notice{2004, 0.0, L"安装包安装失败"}));
  EXPECT_FALSE(Utils::PathExists(Package()));
}

}  // namespace

// CPackageInstaller with real package processes: the sample package, run
// for real or scripted (tools/sample_package), found beside this test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "installer_config.h"
#include "notice_log.h"
#include "package_installer.h"
#include "utils/file.h"
#include "utils/folders.h"

namespace {

const Notice kStart{2001, 0.0, L""};
const Notice kBegin{2002, 0.0, L""};
const Notice kEndedQuietly{2003, 1.0, L""};
const Notice kSuccess{2003, 0.0, L""};
const Notice kFailState{2004, 0.0, L"安装包安装失败"};
const Notice kNotStarted{2004, 2.0, L""};

class PackageRun : public testing::Test {
 protected:
  void TearDown() override { InstallerConfig.InstCmd = savedInstCmd_; }

  // One run to its end; the script (if any) reaches the package through the
  // extra package arguments, as -instcmd would pass it.
  std::vector<Notice> Run(const std::string& script, const std::wstring& folder,
                          const std::wstring& package = BesideTests(SAMPLE_PACKAGE_NAME)) {
    InstallerConfig.InstCmd.clear();
    if (!script.empty()) {
      const std::wstring path = temp.File(L"script.txt");
      EXPECT_TRUE(Utils::WriteFileAtomically(path, script));
      InstallerConfig.InstCmd = L"-script=\"" + path + L"\"";
    }
    NoticeLog log;
    int endedAfter = -1;
    {
      CPackageInstaller installer(log.Callback(), L"\"" + package + L"\"", folder);
      installer.SetRunEndedHandler([&] { endedAfter = static_cast<int>(log.Take().size()); });
      installer.Start();
    }
    std::vector<Notice> notices = log.Take();
    EXPECT_EQ(endedAfter, static_cast<int>(notices.size())) << "end hook after the last notice";
    return notices;
  }

  TempFolder temp;

 private:
  std::wstring savedInstCmd_ = InstallerConfig.InstCmd;
};

TEST_F(PackageRun, RealInstallWritesTheProductAndReportsAsItGoes) {
  const std::wstring folder = temp.File(L"Dovrane Product");
  const std::wstring exe = folder + Utils::kPathSeparator + L"DovraneScreenRecorder.exe";
  const std::wstring entry = folder + Utils::kPathSeparator + L"uninst.ep";
  EXPECT_EQ(Run("", folder),
            (std::vector<Notice>{kStart, kBegin, {2002, 0.1, L""}, {2002, 0.5, L""},
                                 {2002, 0.8, L""}, {3000, 0.0, folder}, {3001, 0.0, exe},
                                 {3002, 0.0, entry}, {3003, 0.0, entry}, {3005, 2.0, L""},
                                 {2002, 1.0, L""}, kSuccess}));
  EXPECT_TRUE(Utils::PathExists(exe));
  EXPECT_TRUE(Utils::PathExists(entry));
}

struct ScriptCase {
  const char* name;
  const char* script;
  std::vector<Notice> tail;  // after 2001 and 2002 (0)
};

TEST_F(PackageRun, ScriptedOutputs) {
  const ScriptCase cases[] = {
      // The decisive line is still in the pipe when the package has ended.
      {"fail then exit at once", "out State=Fail\nexit 0\n", {kFailState}},
      {"state cut across two reads", "split 8 State=Fail\n", {kFailState}},
      {"character cut across two reads", "out Encode=UTF8\nsplit 10 InstPath=中文\nout State=Success\n",
       {{3000, 0.0, L"中文"}, kSuccess}},
      {"code page 936", "out Encode=936\nencode 936\nout Message=安装完成\nencode 0\nout State=Success\n",
       {{3009, 0.0, L"安装完成"}, kSuccess}},
      {"final line without line feed", "raw State=Fail\n", {kFailState}},
      {"exit without output", "exit 0\n", {kEndedQuietly}},
      {"non-zero exit code is not examined", "exit 3\n", {kEndedQuietly}},
      {"error line", "out Encode=UTF8\nout Error=磁盘已满\\r\nexit 1\n", {{2004, 1000.0, L"磁盘已满\r"}}},
      // More than any pipe holds after the outcome: drained, not blocked.
      {"flood after the outcome", "out State=Success\nfill 2000000\nout State=Fail\n", {kSuccess}},
      {"success and still running", "out State=Success\nsleep 400\nout State=Success\n", {kSuccess}},
      {"progress over time", "out Progress=0.5\nsleep 150\nout Progress=1\n",
       {{2002, 0.5, L""}, {2002, 1.0, L""}, kEndedQuietly}},
  };
  for (const ScriptCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<Notice> expected = {kStart, kBegin};
    expected.insert(expected.end(), c.tail.begin(), c.tail.end());
    EXPECT_EQ(Run(c.script, temp.File(L"target")), expected);
  }
}

TEST_F(PackageRun, PackageThatCannotStart) {
  EXPECT_EQ(Run("", temp.File(L"target"), temp.File(L"missing-package.exe")),
            (std::vector<Notice>{kStart, kBegin, kNotStarted}));
}

TEST_F(PackageRun, CommandLineThatDoesNotFitIsRefusedNotCut) {
  const std::wstring folder = temp.File(std::wstring(520, L'f').c_str());
  EXPECT_EQ(Run("", folder), (std::vector<Notice>{kStart, kBegin, kNotStarted}));
  EXPECT_FALSE(Utils::PathExists(folder));
}

TEST_F(PackageRun, ArgumentsArriveAsBuilt) {
  const std::wstring folder = temp.File(L"with space");
  const std::vector<Notice> notices = Run("args\n", folder);
  std::vector<std::wstring> args;
  for (const Notice& n : notices) {
    if (n.code == 3009) args.push_back(n.text);
  }
  ASSERT_GE(args.size(), 9u);
  EXPECT_EQ(std::vector<std::wstring>(args.begin(), args.begin() + 4),
            (std::vector<std::wstring>{L"/S", L"-console=show", L"-version=1.0.0",
                                       L"-adminact=false"}));
  EXPECT_EQ(args[args.size() - 3], L"-instdir=" + folder);
  EXPECT_EQ(args[args.size() - 2] + L" " + args.back(), L"/D=" + folder);
}

TEST_F(PackageRun, SecondStartRunsAgainAfterTheFirst) {
  const std::wstring path = temp.File(L"script.txt");
  ASSERT_TRUE(Utils::WriteFileAtomically(path, "sleep 200\nout State=Success\n"));
  InstallerConfig.InstCmd = L"-script=\"" + path + L"\"";
  NoticeLog log;
  {
    CPackageInstaller installer(log.Callback(), L"\"" + BesideTests(SAMPLE_PACKAGE_NAME) + L"\"",
                                temp.File(L"target"));
    installer.Start();
    installer.Start();  // waits for the first run, then runs again
  }
  EXPECT_EQ(log.Take(), (std::vector<Notice>{kStart, kBegin, kSuccess, kStart, kBegin, kSuccess}));
}

}  // namespace

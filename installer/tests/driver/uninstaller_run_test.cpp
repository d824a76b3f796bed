// CUnInstaller with the real sample uninstaller: preparation from the
// earlier folder, the removal itself and scripted outputs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "notice_log.h"
#include "uninstaller.h"
#include "utils/file.h"
#include "utils/folders.h"

namespace {

const Notice kBegin{5002, 0.0, L""};

class UninstallerRun : public testing::Test {
 protected:
  // An earlier installation as the sample package leaves it.
  void SetUp() override {
    folder = temp.File(L"Earlier Tarnvell");
    ASSERT_TRUE(Utils::CreateDirectories(folder));
    exe = folder + Utils::kPathSeparator + L"DovraneScreenRecorder.exe";
    entry = folder + Utils::kPathSeparator + L"uninst.ep";
    std::filesystem::copy_file(BesideTests(SAMPLE_PACKAGE_NAME), std::filesystem::path(exe));
    std::filesystem::copy_file(BesideTests(SAMPLE_PACKAGE_NAME), std::filesystem::path(entry));
  }

  std::vector<Notice> Remove(const std::string& script) {
    if (!script.empty()) {
      EXPECT_TRUE(Utils::WriteFileAtomically(
          folder + Utils::kPathSeparator + L"uninst.script", script));
    }
    const RemovalFiles files = PrepareRemoval(entry);
    EXPECT_EQ(files.earlierFolder, folder);
    EXPECT_EQ(files.copyPath, UninstallerCopyPath());
    NoticeLog log;
    {
      CUnInstaller removal(log.Callback(), files.copyPath, files.earlierFolder);
      removal.Start();
    }
    return log.Take();
  }

  TempFolder temp;
  std::wstring folder, exe, entry;
};

TEST_F(UninstallerRun, RealRemovalFromTheTemporaryCopy) {
  EXPECT_EQ(Remove(""), (std::vector<Notice>{kBegin, {5002, 0.2, L""}, {5002, 0.6, L""},
                                             {5002, 1.0, L""}, {5003, 0.0, L""}}));
  EXPECT_FALSE(Utils::PathExists(exe));
  EXPECT_FALSE(Utils::PathExists(entry));
  EXPECT_FALSE(Utils::PathExists(folder));
  EXPECT_TRUE(Utils::PathExists(UninstallerCopyPath()));
  EXPECT_NE(UninstallerCopyPath().find(L"Tarnvell_un_asa.exe"), std::wstring::npos);
}

TEST_F(UninstallerRun, ScriptedOutputs) {
  struct Case {
    const char* name;
    const char* script;
    std::vector<Notice> tail;
  };
  const Case cases[] = {
      {"lines after an error are still parsed",
       "out Error=busy\nout Progress=0.7\nout State=Success\n",
       {{5005, 0.0, L"busy"}, {5002, 0.7, L""}, {5003, 0.0, L""}}},
      {"nothing printed", "exit 0\n", {{5003, 1.0, L""}}},
      {"fail then a flood, all read", "out State=Fail\nfill 2000000\nsplit 3 Progress=0.9\n",
       {{5005, 0.0, L"安装包卸载失败"}, {5002, 0.9, L""}}},
      {"success cut across reads, then exit", "split 9 State=Success\nexit 4\n", {{5003, 0.0, L""}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<Notice> expected = {kBegin};
    expected.insert(expected.end(), c.tail.begin(), c.tail.end());
    EXPECT_EQ(Remove(c.script), expected);
  }
}

TEST(UninstallerFailures, MissingCopyAndCommandLineThatDoesNotFit) {
  TempFolder temp;
  NoticeLog missing;
  {
    CUnInstaller removal(missing.Callback(), temp.File(L"absent.exe"), temp.Path());
    removal.Start();
  }
  EXPECT_EQ(missing.Take(), (std::vector<Notice>{{5004, 1.0, L"可执行卸载文件不存在"}}));

  NoticeLog empty;
  {
    CUnInstaller removal(empty.Callback(), L"", temp.Path());
    removal.Start();
  }
  EXPECT_EQ(empty.Take(), (std::vector<Notice>{{5004, 1.0, L"可执行卸载文件不存在"}}));

  NoticeLog tooLong;
  {
    CUnInstaller removal(tooLong.Callback(), BesideTests(SAMPLE_PACKAGE_NAME),
                         temp.File(std::wstring(1030, L'd').c_str()));
    removal.Start();
  }
  EXPECT_EQ(tooLong.Take(), (std::vector<Notice>{kBegin, {5004, 2.0, L""}}));
}

}  // namespace

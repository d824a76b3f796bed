// CPackageInstaller's parsing and command line, without a process: every
// key, the value rules, and the same notifications for every split of one
// transcript into reads.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "installer_config.h"
#include "notice_log.h"
#include "package_installer.h"
#include "utils/text.h"

namespace {

struct LineCase {
  std::wstring line;
  std::vector<Notice> notices;
  int result;
};

class PackageParse : public testing::Test {
 protected:
  NoticeLog log;
  CPackageInstaller installer{log.Callback(), L"\"pkg.exe\"", L"folder"};
};

TEST_F(PackageParse, EveryKey) {
  const std::wstring text771(771, L'v');
  const std::vector<LineCase> cases = {
      {L"Progress=0.25", {{2002, 0.25, L""}}, 0},
      {L"Progress=abc", {{2002, 0.0, L""}}, 0},
      {L"InstPath=C:\\Product\r", {{3000, 0.0, L"C:\\Product\r"}}, 0},
      {L"InstPath=" + text771, {{3000, 0.0, text771}}, 0},
      {L"InstPath=" + text771 + L"v", {{3000, 0.0, L""}}, 0},
      {L"State=Success", {{2003, 0.0, L""}}, 1},
      {L"State= Fail \r", {{2004, 0.0, L"安装包安装失败"}}, 1000},
      {L"State=success", {}, 0},
      {L"InstallVersion=1.2.3", {}, 0},
      {L"ExePath=a.exe", {{3001, 0.0, L"a.exe"}}, 0},
      {L"StartExe=b.exe", {{3001, 0.0, L"b.exe"}}, 0},
      {L"UninstExePath=u.exe", {{3002, 0.0, L"u.exe"}}, 0},
      {L"UninstExe=v.exe", {{3002, 0.0, L"v.exe"}}, 0},
      {L"UninstEp=uninst.ep", {{3003, 0.0, L"uninst.ep"}}, 0},
      {L"Error=disk full", {{2004, 1000.0, L"disk full"}}, 1000},
      {L"TopShowDetention=-1", {{3007, 4294967295.0, L""}}, 0},
      {L"TopShowDetention=x", {{3007, 0.0, L""}}, 0},
      {L"FinsihCloseDetention=5", {{3008, 5.0, L""}}, 0},
      {L"FinishCloseDetention=5", {}, 0},
      {L"StartUrl=http://127.0.0.1/", {{3004, 0.0, L"http://127.0.0.1/"}}, 0},
      {L"StartupStyle= AutoStartup ", {{3005, 1.0, L""}}, 0},
      {L"StartupStyle=UserStartup", {{3005, 2.0, L""}}, 0},
      {L"StartupStyle=autostartup", {{3005, 0.0, L""}}, 0},
      {L"Message=你好", {{3009, 0.0, L"你好"}}, 0},
      {L"Encode=UTF8", {}, 0},
      {L"Unknown=1", {}, 0},
      {L" Progress=1", {}, 0},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(Utils::WideToUtf8(c.line));
    NoticeLog one;
    CPackageInstaller fresh(one.Callback(), L"\"pkg.exe\"", L"");
    EXPECT_EQ(fresh.ParseOutput(c.line), c.result);
    EXPECT_EQ(one.Take(), c.notices);
  }
}

TEST_F(PackageParse, InstallVersionAndCodePages) {
  installer.ParseOutput(L"InstallVersion=1.7.12\n");
  EXPECT_EQ(installer.InstalledVersion().major, 1);
  EXPECT_EQ(installer.InstalledVersion().minor, 7);
  EXPECT_EQ(installer.InstalledVersion().patch, 12);
  const std::pair<const wchar_t*, int32_t> encodings[] = {
      {L"Encode=UTF8", 65001}, {L"Encode=ACP", 0},          {L"Encode= 936\r", 936},
      {L"Encode=utf8", 0},     {L"Encode=99999999999", 0}, {L"Encode=-5", -5},
  };
  for (const auto& [line, codePage] : encodings) {
    installer.ParseOutput(L"Encode=UTF8");
    installer.ParseOutput(line);
    EXPECT_EQ(installer.OutputCodePage(), codePage) << Utils::WideToUtf8(line);
  }
}

TEST_F(PackageParse, TheLastDecisiveLineOfAChunkDecides) {
  EXPECT_EQ(installer.ParseOutput(L"State=Success\nProgress=1\nError=late\n"), 1000);
  EXPECT_EQ(log.Codes(), (std::vector<int32_t>{2003, 2002, 2004}));
}

// The transcript switches code pages, carries multi-byte characters in UTF-8
// and in code page 936, ends its decisive line with CR LF and writes on
// after it.
std::string Transcript() {
  std::string t = "Encode=UTF8\nProgress=0.5\nInstPath=/opt/中文 目录\r\n";
  t += "Encode=936\nMessage=" + Utils::WideToMultiByte(L"安装完成", 936) + "\n";
  t += "Encode=UTF8\nStartupStyle=AutoStartup\nState=Fail\r\nMessage=after the outcome\n";
  return t;
}

const std::vector<Notice> kTranscriptNotices = {
    {2002, 0.5, L""},
    {3000, 0.0, L"/opt/中文 目录\r"},
    {3009, 0.0, L"安装完成"},
    {3005, 1.0, L""},
    {2004, 0.0, L"安装包安装失败"},
};

std::vector<Notice> Feed(const std::vector<std::string>& reads, bool* decided) {
  NoticeLog log;
  CPackageInstaller installer(log.Callback(), L"\"pkg.exe\"", L"");
  for (const std::string& read : reads) installer.FeedOutput(read.data(), read.size());
  *decided = installer.FinishOutput();
  return log.Take();
}

TEST(PackageTranscript, EverySplitIntoTwoReadsGivesTheSameNotifications) {
  const std::string t = Transcript();
  for (size_t cut = 0; cut <= t.size(); ++cut) {
    SCOPED_TRACE(testing::Message() << "cut at byte " << cut);
    bool decided = false;
    EXPECT_EQ(Feed({t.substr(0, cut), t.substr(cut)}, &decided), kTranscriptNotices);
    EXPECT_TRUE(decided);
  }
}

TEST(PackageTranscript, OneByteReadsAndThreeWaySplits) {
  const std::string t = Transcript();
  std::vector<std::string> bytes;
  for (char c : t) bytes.emplace_back(1, c);
  bool decided = false;
  EXPECT_EQ(Feed(bytes, &decided), kTranscriptNotices);
  for (size_t a = 0; a <= t.size(); a += 7) {
    for (size_t b = a; b <= t.size(); b += 5) {
      EXPECT_EQ(Feed({t.substr(0, a), t.substr(a, b - a), t.substr(b)}, &decided),
                kTranscriptNotices)
          << "cuts " << a << ", " << b;
    }
  }
}

TEST(PackageTranscript, AFinalLineWithoutLineFeedIsParsedAtTheEnd) {
  bool decided = false;
  EXPECT_EQ(Feed({"Progress=1\nState=Su", "ccess"}, &decided),
            (std::vector<Notice>{{2002, 1.0, L""}, {2003, 0.0, L""}}));
  EXPECT_TRUE(decided);
  EXPECT_EQ(Feed({"Progress=1\n\n"}, &decided), (std::vector<Notice>{{2002, 1.0, L""}}));
  EXPECT_FALSE(decided);
}

TEST(PackageTranscript, UndecodableLinesAreSkipped) {
  bool decided = false;
  // Code page -5 decodes nothing; the lines after it vanish silently.
  EXPECT_EQ(Feed({"Encode=-5\nProgress=1\nState=Success\n"}, &decided), std::vector<Notice>{});
  EXPECT_FALSE(decided);
}

struct CommandLineCase {
  const wchar_t* folder;
  const wchar_t* instCmd;
  bool flags;
  const wchar_t* expected;
};

TEST(PackageCommandLine, OrderAndFolderOptions) {
  const CommandLineCase cases[] = {
      {L"", L"", false,
       L"\"C:\\dl\\__Package_Tarnvell.exe\" /S -console=show -version=1.0.0 -adminact=false "
       L"-authorizationact=false -dsc=false -ssc=false"},
      {L"D:\\Program Files\\Tarnvell", L"-channel=7 -x", true,
       L"\"C:\\dl\\__Package_Tarnvell.exe\" /S -console=show -version=1.0.0 -adminact=true "
       L"-authorizationact=true -dsc=true -ssc=true -channel=7 -x "
       L"-instdir=\"D:\\Program Files\\Tarnvell\" /D=D:\\Program Files\\Tarnvell"},
  };
  const std::wstring savedInstCmd = InstallerConfig.InstCmd;
  for (const CommandLineCase& c : cases) {
    InstallerConfig.InstCmd = c.instCmd;
    NoticeLog log;
    CPackageInstaller installer(log.Callback(), L"\"C:\\dl\\__Package_Tarnvell.exe\"", L"x");
    installer.SetInstallFolder(c.folder);
    installer.SetAdminAccount(c.flags);
    installer.SetElevated(c.flags);
    installer.SetDesktopShortcut(c.flags);
    installer.SetQuickLaunchShortcut(c.flags);
    EXPECT_EQ(installer.BuildCommandLine(), c.expected);
  }
  InstallerConfig.InstCmd = savedInstCmd;
}

TEST(PackageCommandLine, DefaultsAtConstruction) {
  NoticeLog log;
  CPackageInstaller installer(log.Callback(), L"\"p\"", L"");
  EXPECT_EQ(installer.OutputCodePage(), 0);
  const std::wstring line = installer.BuildCommandLine();
  EXPECT_NE(line.find(L"-adminact=false -authorizationact=true -dsc=false -ssc=false"),
            std::wstring::npos);
  EXPECT_EQ(line.find(L"-instdir"), std::wstring::npos);
  EXPECT_EQ(line.find(L"/D="), std::wstring::npos);
}

}  // namespace

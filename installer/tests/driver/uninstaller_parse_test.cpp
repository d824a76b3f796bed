// CUnInstaller's parsing and command line, without a process.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "notice_log.h"
#include "uninstaller.h"
#include "utils/text.h"

namespace {

TEST(UninstallerParse, TheFourKeys) {
  struct Case {
    std::wstring line;
    std::vector<Notice> notices;
    int result;
  };
  const std::vector<Case> cases = {
      {L"Progress=0.4", {{5002, 0.4, L""}}, 0},
      {L"Progress=x", {{5002, 0.0, L""}}, 0},
      {L"Error=in use", {{5005, 0.0, L"in use"}}, 1000},
      {L"Error=" + std::wstring(772, L'e'), {{5005, 0.0, L""}}, 1000},
      {L"State= Success\r", {{5003, 0.0, L""}}, 1},
      {L"State=Fail", {{5005, 0.0, L"安装包卸载失败"}}, 1000},
      {L"State=Done", {}, 0},
      {L"InstPath=x", {}, 0},
      {L"Encode=UTF8", {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utils::WideToUtf8(c.line));
    NoticeLog log;
    CUnInstaller removal(log.Callback(), L"copy", L"folder");
    EXPECT_EQ(removal.ParseOutput(c.line), c.result);
    EXPECT_EQ(log.Take(), c.notices);
  }
}

TEST(UninstallerParse, OnlyUtf8SelectsUtf8) {
  NoticeLog log;
  CUnInstaller removal(log.Callback(), L"copy", L"folder");
  EXPECT_EQ(removal.OutputCodePage(), 0);
  const std::pair<const wchar_t*, int32_t> encodings[] = {
      {L"Encode= UTF8 ", 65001}, {L"Encode=ACP", 0}, {L"Encode=UTF8", 65001}, {L"Encode=936", 0}};
  for (const auto& [line, codePage] : encodings) {
    removal.ParseOutput(line);
    EXPECT_EQ(removal.OutputCodePage(), codePage) << Utils::WideToUtf8(line);
  }
}

// Every line is parsed, the ones after the outcome too.
TEST(UninstallerTranscript, EverySplitGivesTheSameNotifications) {
  const std::string t =
      "Encode=UTF8\nProgress=0.5\nError=文件被占用\r\nProgress=0.9\nState=Success";
  const std::vector<Notice> expected = {
      {5002, 0.5, L""}, {5005, 0.0, L"文件被占用\r"}, {5002, 0.9, L""}, {5003, 0.0, L""}};
  for (size_t cut = 0; cut <= t.size(); ++cut) {
    SCOPED_TRACE(testing::Message() << "cut at byte " << cut);
    NoticeLog log;
    CUnInstaller removal(log.Callback(), L"copy", L"folder");
    removal.FeedOutput(t.data(), cut);
    removal.FeedOutput(t.data() + cut, t.size() - cut);
    EXPECT_TRUE(removal.FinishOutput());
    EXPECT_EQ(log.Take(), expected);
  }
}

TEST(UninstallerCommandLine, FormatWithUnquotedPaths) {
  NoticeLog log;
  CUnInstaller removal(log.Callback(), L"/tmp/~KelVoTemp/Tarnvell_un_asa.exe", L"/opt/Old Tarnvell");
  const std::wstring line = removal.BuildCommandLine();
  const std::wstring head = L"/tmp/~KelVoTemp/Tarnvell_un_asa.exe /S -adminact=";
  ASSERT_EQ(line.compare(0, head.size(), head), 0) << Utils::WideToUtf8(line);
  const std::wstring tail = L" -console=show _?=/opt/Old Tarnvell";
  ASSERT_GE(line.size(), tail.size());
  EXPECT_EQ(line.substr(line.size() - tail.size()), tail);
  EXPECT_NE(line.find(L" -authorizationact="), std::wstring::npos);
}

}  // namespace

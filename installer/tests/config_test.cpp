#include <gtest/gtest.h>

#include <cmath>

#include "installer_config.h"
#include "utils/file.h"
#include "utils/folders.h"
#include "utils/identity.h"

namespace {

// A folder standing in for the executable's: the INI file is looked up
// beside a module path inside it.
class ConfigFromIni : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = Utils::GetTempFolder() + L"config_" + Utils::NewGuidString();
    ASSERT_TRUE(Utils::CreateDirectories(dir_));
    module_ = dir_ + Utils::kPathSeparator + L"TarnvellSetup.exe";
  }
  InstallerConfigRecord Load(const char* ini) {
    if (ini) {
      EXPECT_TRUE(Utils::WriteFileAtomically(dir_ + Utils::kPathSeparator + kConfigFileName, ini));
    }
    InstallerConfigRecord c;
    LoadInstallerConfigFrom(c, module_);
    return c;
  }
  std::wstring dir_, module_;
};

TEST_F(ConfigFromIni, NoFileGivesTheBuiltInDefaults) {
  const InstallerConfigRecord c = Load(nullptr);
  EXPECT_EQ(c.AppName, L"Tarnvell");
  EXPECT_EQ(c.AppVersion, L"1.7.9");
  EXPECT_EQ(c.ExeName, L"TarnvellSetup.exe");
  EXPECT_EQ(c.DownloadUrl, kDefaultDownloadUrl);
  EXPECT_NE(c.DownloadUrl.find(L"/software/236"), std::wstring::npos);
  EXPECT_EQ(c.DownloadType, 1);
  EXPECT_FALSE(c.IsCheckNet);
  EXPECT_TRUE(c.IsEnableAppAnalytics);
  EXPECT_DOUBLE_EQ(c.DownloadScale, 0.7);
  EXPECT_EQ(c.DlAppNameSuffix, L".downloader");
  EXPECT_EQ(c.DlAppVersion, L"");
  EXPECT_EQ(c.InstCmd, L"");
  EXPECT_TRUE(c.CurlAvailable);
  EXPECT_EQ(c.AbValue, L"IN");
}

TEST_F(ConfigFromIni, SectionHeaderAloneTurnsTheNetworkCheckOn) {
  const InstallerConfigRecord c = Load("[Install]\r\n");
  EXPECT_TRUE(c.IsCheckNet);  // the file's fallback text is "true"
  EXPECT_TRUE(c.IsEnableAppAnalytics);
  EXPECT_EQ(c.DownloadType, 1);
  EXPECT_DOUBLE_EQ(c.DownloadScale, 0.7);
}

TEST_F(ConfigFromIni, BooleansAreTrueOnlyForExactlyTrue) {
  for (const char* text : {"True", "1", "TRUE", "true "}) {
    const std::string ini = std::string("[Install]\r\nIsCheckNet=") + text + "\r\nIsEnableAppAnalytics=" + text + "\r\n";
    const InstallerConfigRecord c = Load(ini.c_str());
    // The reader trims values, so "true " reads as "true".
    const bool expected = std::string(text) == "true ";
    EXPECT_EQ(c.IsCheckNet, expected) << text;
    EXPECT_EQ(c.IsEnableAppAnalytics, expected) << text;
  }
}

TEST_F(ConfigFromIni, EveryKeyIsRead) {
  const InstallerConfigRecord c = Load(
      "[Install]\r\nDownloadUrl=http://127.0.0.1:8080/software/236\r\nDownloadType=3\r\n"
      "IsCheckNet=false\r\nIsEnableAppAnalytics=false\r\nDlAppNameSuffix=.web\r\n"
      "m_DlAppVersion=2.0.1\r\nDownloadScale=0.5\r\nInstCmd=-x=1 -y\r\nAppName=Other\r\n"
      "AppVersion=9.9\r\n");
  EXPECT_EQ(c.DownloadUrl, L"http://127.0.0.1:8080/software/236");
  EXPECT_EQ(c.DownloadType, 3);
  EXPECT_FALSE(c.IsCheckNet);
  EXPECT_FALSE(c.IsEnableAppAnalytics);
  EXPECT_EQ(c.DlAppNameSuffix, L".web");
  EXPECT_EQ(c.DlAppVersion, L"2.0.1");
  EXPECT_DOUBLE_EQ(c.DownloadScale, 0.5);
  EXPECT_EQ(c.InstCmd, L"-x=1 -y");
  EXPECT_EQ(c.AppName, L"Tarnvell");
  EXPECT_EQ(c.AppVersion, L"1.7.9");
}

TEST_F(ConfigFromIni, LongValuesAreCutTo259Characters) {
  const std::string url = "http://h/" + std::string(400, 'a');
  const InstallerConfigRecord c = Load(("[Install]\r\nDownloadUrl=" + url + "\r\n").c_str());
  EXPECT_EQ(c.DownloadUrl.size(), 259u);
}

struct IniNumberCase {
  const char* type;
  int expectedType;
  const char* scale;
  double expectedScale;
};

TEST_F(ConfigFromIni, NumbersConvertAndUnusableValuesKeepTheDefault) {
  const IniNumberCase cases[] = {
      {"2", 2, "0.25", 0.25},
      {"3abc", 3, "0.5abc", 0.5},          // longest valid prefix
      {"abc", 0, "abc", 0.7},              // no number: type 0 as the profile function gives; scale kept
      {"99999999999", 1, "2", 0.7},        // does not fit / outside 0..1: kept
      {"-1", -1, "-0.1", 0.7},
      {"", 1, "1", 1.0},
      {" 7", 7, "1e-400", 0.0},            // underflow reads as zero, which is in range
      {"4", 4, "nan", 0.7},
      {"5", 5, "1e999", 0.7},
  };
  for (const auto& k : cases) {
    const std::string ini = std::string("[Install]\r\nDownloadType=") + k.type + "\r\nDownloadScale=" + k.scale + "\r\n";
    const InstallerConfigRecord c = Load(ini.c_str());
    EXPECT_EQ(c.DownloadType, k.expectedType) << k.type;
    EXPECT_DOUBLE_EQ(c.DownloadScale, k.expectedScale) << k.scale;
  }
}

struct SplitCase {
  std::wstring line;
  CommandLineMap expected;
};

TEST(SplitCommandLine, KeysValuesFirstWinsCaseSensitive) {
  const SplitCase cases[] = {
      {L"setup.exe", {{L"setup.exe", L""}}},
      {L"setup.exe -downloadurl=http://a/x?y=1=2 -downloadurl=http://b",
       {{L"setup.exe", L""}, {L"-downloadurl", L"http://a/x?y=1=2"}}},
      {L"setup.exe -DownloadUrl=x -downloadurl", {{L"setup.exe", L""}, {L"-DownloadUrl", L"x"}, {L"-downloadurl", L""}}},
      {L"setup.exe -instcmd= plain \"-x=a b\"", {{L"setup.exe", L""}, {L"-instcmd", L""}, {L"plain", L""}, {L"-x", L"a b"}}},
      {L"setup.exe a=b", {{L"setup.exe", L""}, {L"a=b", L""}}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.expected);
}

InstallerConfigRecord Defaults() {
  InstallerConfigRecord c;
  LoadInstallerConfigFrom(c, Utils::GetTempFolder() + L"no-ini-here" + Utils::kPathSeparator + L"x.exe");
  return c;
}

InstallerConfigRecord Applied(const std::wstring& line, InstallerConfigRecord c = Defaults()) {
  ApplyCommandLine(c, SplitCommandLine(L"setup.exe " + line));
  return c;
}

TEST(ApplyCommandLine, EveryOptionOverridesItsField) {
  const InstallerConfigRecord c = Applied(
      L"-downloadurl=http://127.0.0.1/software/236 -downloadtype=3 -downloadscale=0.5 -ischecknet=true "
      L"-isenableappanalytics=false -dlappnamesuffix= -dlappversion=3.1 \"-instcmd=-a -b\"");
  EXPECT_EQ(c.DownloadUrl, L"http://127.0.0.1/software/236");
  EXPECT_EQ(c.DownloadType, 3);
  EXPECT_DOUBLE_EQ(c.DownloadScale, 0.5);
  EXPECT_TRUE(c.IsCheckNet);
  EXPECT_FALSE(c.IsEnableAppAnalytics);
  EXPECT_EQ(c.DlAppNameSuffix, L"");
  EXPECT_EQ(c.DlAppVersion, L"3.1");
  EXPECT_EQ(c.InstCmd, L"-a -b");
}

TEST(ApplyCommandLine, CommandLineOverridesIniValues) {
  InstallerConfigRecord fromIni = Defaults();
  fromIni.InstCmd = L"-from-ini";
  fromIni.DownloadScale = 0.9;
  const InstallerConfigRecord c = Applied(L"-instcmd= -downloadscale=0.5", fromIni);
  EXPECT_EQ(c.InstCmd, L"");
  EXPECT_DOUBLE_EQ(c.DownloadScale, 0.5);
}

TEST(ApplyCommandLine, UnusableNumbersKeepThePreviousValue) {
  InstallerConfigRecord before = Defaults();
  before.DownloadScale = 0.9;
  before.DownloadType = 3;
  for (const wchar_t* scale : {L"abc", L"", L"1.5", L"-0.5", L"nan", L"inf", L"1e999"}) {
    EXPECT_DOUBLE_EQ(Applied(std::wstring(L"-downloadscale=") + scale, before).DownloadScale, 0.9);
  }
  EXPECT_EQ(Applied(L"-downloadtype=99999999999", before).DownloadType, 3);
  EXPECT_EQ(Applied(L"-downloadtype=-99999999999", before).DownloadType, 3);
  EXPECT_EQ(Applied(L"-downloadtype=abc", before).DownloadType, 0);  // no number: 0
  EXPECT_EQ(Applied(L"-downloadtype=2x", before).DownloadType, 2);
}

TEST(ApplyCommandLine, OptionsAreCaseSensitiveAndBooleansExact) {
  const InstallerConfigRecord c = Applied(L"-DownloadType=3 -ischecknet=TRUE -isenableappanalytics=true");
  EXPECT_EQ(c.DownloadType, 1);
  EXPECT_FALSE(c.IsCheckNet);
  EXPECT_TRUE(c.IsEnableAppAnalytics);
}

TEST(ApplyCommandLine, FirstDownloadUrlWinsAndBareKeyEmptiesIt) {
  EXPECT_EQ(Applied(L"-downloadurl=http://first -downloadurl=http://second").DownloadUrl, L"http://first");
  EXPECT_EQ(Applied(L"-downloadurl").DownloadUrl, L"");
}

TEST(Route, NameDependsOnXpInTheVersionName) {
  EXPECT_EQ(RouteForVersionName(L"XP"), L"download_silent_xp");
  EXPECT_EQ(RouteForVersionName(L"XP-"), L"download_silent_xp");
  EXPECT_EQ(RouteForVersionName(L"XP+"), L"download_silent_xp");
  EXPECT_EQ(RouteForVersionName(L"10"), L"download_silent");
  EXPECT_EQ(RouteForVersionName(L"7"), L"download_silent");
}

TEST(Route, EveryMarkerIsReplacedAndUrlsWithoutOneStayAsTheyAre) {
  std::wstring platform, version;
  Utils::GetOsVersion(platform, version);
  const std::wstring route = RouteForVersionName(version);
  EXPECT_EQ(ApplyRoute(L"http://h/${ROUTE}/a/${ROUTE}"), L"http://h/" + route + L"/a/" + route);
  EXPECT_EQ(ApplyRoute(L"http://h/plain"), L"http://h/plain");
  EXPECT_EQ(Applied(L"-downloadurl=http://h/${ROUTE}").DownloadUrl.find(L"${ROUTE}"), std::wstring::npos);
}

TEST(GlobalConfig, BuiltBeforeMainWithTheFixedIdentity) {
  EXPECT_EQ(InstallerConfig.AppName, L"Tarnvell");
  EXPECT_EQ(InstallerConfig.AppVersion, L"1.7.9");
  EXPECT_NE(InstallerConfig.ExeName.find(L"installer_tests"), std::wstring::npos);
}

}  // namespace

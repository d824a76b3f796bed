// The installer's reporting helpers: the A/B context, the failure texts,
// and that nothing happens while reporting is switched off.
#include <gtest/gtest.h>

#include "installer_config.h"
#include "reporting.h"
#include "test_support.h"
#include "tracker/kv_tracker.h"
#include "utils/profile.h"

using namespace kelvo::tracker;
using tracker_test::Join;
using tracker_test::MakeTempDir;

TEST(Reporting, AbContextOnlyForValidValues) {
  const KvContextProperties ok = ApplyAbContext({{L"AB", L"IN"}}, {KvEventType::Click, KvEventType::Task});
  ASSERT_EQ(ok.getEventProperties(KvEventType::Click).size(), 1u);
  EXPECT_EQ(ok.getEventProperties(KvEventType::Task)[0].second, "IN");
  EXPECT_TRUE(ok.getEventProperties(KvEventType::View).empty());
  for (const AbContext& bad : {AbContext{{L"AB", L"in"}}, AbContext{{L"AB", L""}},
                               AbContext{{L"ab", L"IN"}}, AbContext{}}) {
    EXPECT_TRUE(ApplyAbContext(bad, {KvEventType::Click}).getEventProperties(KvEventType::Click).empty());
  }
}

TEST(Reporting, FailureTexts) {
  OrchestratorNotice notice{2004, 1000.9, L"包损坏"};
  EXPECT_EQ(FailureReasonText(notice), L":1.code=1000；2.msg=包损坏");
  notice.text.assign(500, L'x');  // cut as a 200-character buffer would cut it
  EXPECT_EQ(FailureReasonText(notice).size(), 199u);
  notice.value = 1e300;  // clamped instead of an undefined conversion
  EXPECT_EQ(FailureReasonText(notice).substr(0, 19), L":1.code=2147483647；");

  const std::wstring dir = MakeTempDir(L"report");
  OrchestratorNotice failed{1004, 7, L"timeout"};
  const std::wstring writable = DownloadFailureText(failed, Join(dir, L"package.exe"));
  EXPECT_EQ(writable.rfind(L"1.code=7；2.msg=timeout；3.缓存磁盘容量=", 0), 0u) << writable;
  EXPECT_NE(writable.find(L"G；4.缓存读写权限=可读；5.服务器连接状态code="), std::wstring::npos) << writable;
  EXPECT_FALSE(Utils::PathExists(Join(dir, L"package.exe")));  // the probe file is gone again
  // A package path in a folder that does not exist cannot be created.
  const std::wstring denied = DownloadFailureText(failed, Join(Join(dir, L"missing"), L"p.exe"));
  EXPECT_NE(denied.find(L"4.缓存读写权限=无权限；"), std::wstring::npos) << denied;
}

TEST(Reporting, SwitchedOffCreatesNothing) {
  const std::wstring dir = MakeTempDir(L"off");
  const std::wstring ini = Join(dir, L"KelvoInstallerConfig.ini");
  Utils::Profile::WriteString(L"Install", L"AnalyticsUrl", L"http://127.0.0.1:1/sa?project=pc", ini);
  EXPECT_EQ(AnalyticsUrlFromIni(ini), "http://127.0.0.1:1/sa?project=pc");
  EXPECT_EQ(AnalyticsUrlFromIni(Join(dir, L"none.ini")), "");

  InstallerConfig.IsEnableAppAnalytics = false;
  StartTrackerWithIni(ini);
  EXPECT_FALSE(getTracker());
  EXPECT_FALSE(IsReportingActive());
  TrackClickEvent(L"立即安装", DefaultAbContext());  // no handle: nothing to touch

  // Switched off after creation: the helpers stop touching the tracker.
  InstallerConfig.IsEnableAppAnalytics = true;
  StartTrackerWithIni(ini);
  EXPECT_TRUE(IsReportingActive());
  InstallerConfig.IsEnableAppAnalytics = false;
  EXPECT_FALSE(IsReportingActive());
  InstallerConfig.IsEnableAppAnalytics = true;
  ReleaseTracker();
  EXPECT_FALSE(IsReportingActive());
}

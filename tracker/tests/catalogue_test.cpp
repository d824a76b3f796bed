// The event catalogue through the real SDK: checks and their messages, keys
// and values of the queued records, profile steps, login, the pending
// counter and the initialisation errors.
#include <gtest/gtest.h>

#include <functional>

#include "native_user_tracker.h"
#include "tracker_fixture.h"
#include "utils/profile.h"

using namespace kelvo::tracker;
using namespace tracker_test;

namespace {

std::string ErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const KvException& e) {
    return e.what();
  }
  return "<no exception>";
}

template <class T>
std::shared_ptr<T> Share(T value) {
  return std::make_shared<T>(value);
}

const KvContextProperties kNoContext;

}  // namespace

TEST(TrackerInit, RequiredFieldsAndEdition) {
  struct Case {
    void (*edit)(TrackerConfig&);
    const char* message;
  } cases[] = {
      {[](TrackerConfig& c) { c.appName.clear(); }, "appName is empty"},
      {[](TrackerConfig& c) { c.appVersion.clear(); }, "appVersion is empty"},
      {[](TrackerConfig& c) { c.appStore.clear(); }, "appStore is empty"},
      {[](TrackerConfig& c) { c.edition = 5; }, "Unknown edition [5]!"},
  };
  for (const Case& c : cases) {
    TrackerConfig config = MakeConfig();
    c.edit(config);
    KvTrackerImpl tracker(config);
    EXPECT_EQ(ErrorOf([&] { tracker.initialize(); }), c.message);
    // Stopped before the logger for the first three, after it for the last.
    EXPECT_EQ(tracker.getLogger() != nullptr, config.edition == 5) << c.message;
  }
}

TEST(TrackerInit, IdentityLogAndApplicationRecord) {
  TrackerRun run;
  const TrackerPaths& p = run.paths();
  EXPECT_TRUE(Utils::PathExists(p.logFile));
  const TrackerIdentity& id = run.tracker().identity();
  EXPECT_EQ(id.distinctId, id.primaryDistinctId);
  EXPECT_EQ(run.tracker().getPrimaryDistinctId(), id.primaryDistinctId);
  EXPECT_EQ(Utils::Profile::GetString(L"Base", L"URL", L"", 128, p.identityFile),
            Utils::Utf8ToWide(kDeadUrl));
  EXPECT_EQ(Utils::Profile::GetString(L"UninstallInfo", L"AppStore", L"", 128, p.identityFile),
            L"tracker_tests");
  run.ReleaseAndReadStaged();
}

TEST(TrackerEvents, ClickCarriesKeysContextAndCommonProperties) {
  TrackerRun run;
  KvContextProperties ab;
  ab.setProperty({KvEventType::Click}, "IN");
  KvEventClick click;
  click.name = "立即安装";
  click.clickType = ClickType::Others;
  click.tabIndex = Share(2);
  run.tracker().trackClick(click, ab);
  EXPECT_EQ(run.tracker().pending(), 2);
  const auto records = run.ReleaseAndReadStaged();
  ASSERT_EQ(records.size(), 1u);
  const std::string& r = records[0];
  EXPECT_EQ(ValueOf(r, "event"), "\"KvEventClick\"");
  EXPECT_EQ(ValueOf(r, "type"), "\"track\"");
  EXPECT_EQ(ValueOf(r, "kv_name"), "\"立即安装\"");
  EXPECT_EQ(ValueOf(r, "kv_click_type"), "\"Others\"");
  EXPECT_EQ(ValueOf(r, "kv_tab_index"), "2");
  EXPECT_EQ(ValueOf(r, "$is_first_time"), "true");
  EXPECT_EQ(ValueOf(r, "kvc_ab"), "\"IN\"");
  EXPECT_EQ(ValueOf(r, "kv_title"), "<absent>");
  EXPECT_EQ(ValueOf(r, "kv_sdk"), "\"WindowsCPP\"");
  EXPECT_EQ(ValueOf(r, "kv_sdk_version"), "\"3.3.8\"");
  EXPECT_EQ(ValueOf(r, "kv_track_type"), "\"Client\"");
  EXPECT_EQ(ValueOf(r, "kv_edition"), "\"china\"");
  EXPECT_EQ(ValueOf(r, "kv_app_store"), "\"tracker_tests\"");
  EXPECT_EQ(ValueOf(r, "kv_dlapp_id"), "\"Tarnvell\"");
  EXPECT_EQ(ValueOf(r, "kv_dlapp_version"), "<absent>");
  EXPECT_EQ(ValueOf(r, "$lib"), "\"cpp\"");
  EXPECT_NE(ValueOf(r, "$screen_width"), "<absent>");
  EXPECT_EQ(ValueOf(r, "$is_login_id"), "<absent>");
}

TEST(TrackerEvents, TaskResultsAndFlushForms) {
  TrackerRun run;
  KvEventTask task;
  task.name = "安装成功";
  task.elapsed = Share(2.5f);
  task.result = Share(KvResult::Unknown);
  run.tracker().trackTask(task, kNoContext);
  EXPECT_EQ(run.tracker().pending(), 1);  // the task form counts once
  task.result = Share(KvResult::Fail);
  task.reason = "r";
  run.tracker().trackTask(task, kNoContext);
  KvEventView view;
  view.name = "安装中";
  run.tracker().trackView(view, kNoContext);
  EXPECT_EQ(run.tracker().pending(), 4);
  // A crash call finds records pending and tries to send all of them; the
  // endpoint is down, so they stay queued for the staging file.
  run.tracker().trackCrash("崩溃");
  const auto records = run.ReleaseAndReadStaged();
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(ValueOf(records[0], "kv_task_result"), "<absent>");
  EXPECT_EQ(ValueOf(records[0], "kv_task_elapsed"), "2.5");
  EXPECT_EQ(ValueOf(records[1], "kv_task_result"), "\"Fail\"");
  EXPECT_EQ(ValueOf(records[1], "kv_reason"), "\"r\"");
  EXPECT_EQ(ValueOf(records[2], "event"), "\"KvEventView\"");
  EXPECT_EQ(ValueOf(records[3], "event"), "\"AppCrashed\"");
  EXPECT_EQ(ValueOf(records[3], "app_crashed_reason"), "\"崩溃\"");
}

TEST(TrackerEvents, ChecksRejectBeforeAnythingIsQueued) {
  TrackerRun run;
  KvTrackerImpl& t = run.tracker();
  auto payment = [] {
    KvEventPayment p;
    p.kvOrderId = "o1";
    p.kvCurrency = Share(KvCurrency::USD);
    p.paidPlatform = Share(KvPaidPlatform::PayPal);
    p.result = Share(KvResult::Success);
    return p;
  };
  auto order = [] {
    KvEventOrder o;
    o.kvSuitId = "s";
    o.kvCurrency = Share(KvCurrency::CNY);
    o.originalAmount = 2;
    o.paidAmount = 1;
    return o;
  };
  AppOpenNotification note;
  note.planID = "p";
  note.planType = "t";
  struct Case {
    std::function<void()> call;
    const char* message;
  } cases[] = {
      {[&] { t.trackClick(KvEventClick{}, kNoContext); }, "kvEventClick.name is empty"},
      {[&] { KvEventClick c; c.name = "n"; c.clickType = static_cast<ClickType>(5);
             t.trackClick(c, kNoContext); }, "Unknown ClickType [5]!"},
      {[&] { t.trackView(KvEventView{}, kNoContext); }, "kvEventView.name is empty"},
      {[&] { t.trackCashier(KvEventCashier{}, kNoContext); }, "kvEventCashier.kv_cashier_name is empty"},
      {[&] { t.trackTask(KvEventTask{}, kNoContext); }, "kvEventTask.name is empty"},
      {[&] { t.trackFile(KvEventFile{}, kNoContext); }, "kvEventFile.aname is empty"},
      {[&] { KvEventFile f; f.aname = "a"; f.ioType = Share(static_cast<KvIoType>(2));
             t.trackFile(f, kNoContext); }, "the io type is invalid"},
      {[&] { KvEventShare s; s.result = Share(static_cast<KvResult>(9));
             t.trackShare(s, kNoContext); }, "Unknown task result [9]!"},
      {[&] { KvEventOrder o = order(); o.kvSuitId.clear(); t.trackOrder(o, kNoContext); },
       "kvEventOrder.kvSuitId is empty"},
      {[&] { KvEventOrder o = order(); o.kvCurrency.reset(); t.trackOrder(o, kNoContext); },
       "kvEventOrder.kvCurrency is nullptr"},
      {[&] { KvEventOrder o = order(); o.originalAmount = 0; t.trackOrder(o, kNoContext); },
       "kvEventOrder.originalAmount is less than zero"},
      {[&] { KvEventOrder o = order(); o.paidAmount = 0; t.trackOrder(o, kNoContext); },
       "kvEventOrder.originalAmount is less than zero"},
      {[&] { KvEventPayment p = payment(); p.kvOrderId.clear(); t.trackPayment(p, kNoContext); },
       "kvEventPayment.kvOrderId is empty"},
      {[&] { KvEventPayment p = payment(); p.paidAmount = -1.5f; t.trackPayment(p, kNoContext); },
       "paidAmount = -1.500000 is invalid"},
      {[&] { KvEventPayment p = payment(); p.originalAmount = -2; t.trackPayment(p, kNoContext); },
       "originalAmount = -2.000000 is invalid"},
      {[&] { KvEventPayment p = payment(); p.result = Share(KvResult::Cancelled);
             t.trackPayment(p, kNoContext); }, "kvEventPayment.result is invalid"},
      {[&] { KvEventPayment p = payment(); p.result.reset(); t.trackPayment(p, kNoContext); },
       "kvEventPayment.result is invalid"},
      // Absent values the record needs are rejected instead of dereferenced.
      {[&] { KvEventPayment p = payment(); p.paidPlatform.reset(); t.trackPayment(p, kNoContext); },
       "kvEventPayment.paidPlatform is nullptr"},
      {[&] { KvEventPayment p = payment(); p.kvCurrency.reset(); t.trackPayment(p, kNoContext); },
       "kvEventPayment.kvCurrency is nullptr"},
      {[&] { KvEventPayment p = payment(); p.kvIapType = Share(static_cast<KvIapType>(7));
             t.trackPayment(p, kNoContext); }, "Unknown kvIapType [7]!"},
      {[&] { KvEventUpdate u; u.updateOp = KvUpdateOp::DownloadEnd;
             u.updateResult = Share(KvUpdateResult::Success); t.trackUpdate(u, kNoContext); },
       "invalid elapsed info"},
      {[&] { KvEventUpdate u; u.updateOp = KvUpdateOp::UpgrateEnd; t.trackUpdate(u, kNoContext); },
       "Unknown updateResultInfo info"},
      {[&] { KvEventUpdate u; u.updateOp = static_cast<KvUpdateOp>(9); t.trackUpdate(u, kNoContext); },
       "Unknown KvUpdateOp [9]!"},
      {[&] { t.trackAppOpenNotification(nullptr, kNoContext); }, "&appOpenNotification is nullptr"},
      {[&] { AppOpenNotification n = note; n.planID.clear(); t.trackAppOpenNotification(&n, kNoContext); },
       "planID is emptry"},
      {[&] { AppOpenNotification n = note; n.planType.clear(); t.trackAppOpenNotification(&n, kNoContext); },
       "planType is emptry"},
      {[&] { t.trackAppOpenNotification(&note, kNoContext); }, "msgTitle is emptry"},
      {[&] { KvUserInfo u; u.userId = "u"; u.userType = static_cast<KvUserType>(12);
             t.trackLogin(u, true, "", kNoContext); }, "Unknown user type [12]!"},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorOf(c.call), c.message);
  EXPECT_EQ(t.pending(), 0);
  EXPECT_TRUE(run.ReleaseAndReadStaged().empty());
}

TEST(TrackerEvents, ActivityQueuesEventAndTenProfileRecords) {
  TrackerRun run;
  KvContextProperties ab;
  ab.setProperty({KvEventType::Activity}, "IN");
  run.tracker().trackActivity(ab);
  const auto records = run.ReleaseAndReadStaged();
  ASSERT_EQ(records.size(), 11u);
  EXPECT_EQ(ValueOf(records[0], "event"), "\"KvEventActivity\"");
  EXPECT_EQ(ValueOf(records[0], "$ios_install_source"), "\"android_id=123##imei=1234##mac=123\"");
  EXPECT_NE(ValueOf(records[0], "$user_agent").find("Mozilla/5.0("), std::string::npos);
  EXPECT_EQ(ValueOf(records[0], "kvc_ab"), "\"IN\"");
  const char* expected[][2] = {
      {"$first_visit_time", "profile_set_once"}, {"kv_first_visit_date", "profile_set_once"},
      {"kv_last_visit_date", "profile_set"},     {"kv_os", "profile_set"},
      {"kv_os_version", "profile_set"},          {"kv_app_store", "profile_set"},
      {"kv_app_platform", "profile_set"},        {"kv_last_app_id", "profile_set"},
      {"kv_last_app_version", "profile_set"},    {"$ios_install_source", "profile_set_once"},
  };
  for (size_t i = 0; i < 10; ++i) {
    const std::string& r = records[i + 1];
    EXPECT_EQ(ValueOf(r, "type"), std::string("\"") + expected[i][1] + "\"") << i;
    EXPECT_TRUE(Contains(r, std::string("\"") + expected[i][0] + "\":")) << r;
    EXPECT_EQ(ValueOf(r, "event"), "<absent>");
  }
}

TEST(TrackerEvents, FirstLoginSignsUpAndLaterEventsCarryTheLogin) {
  TrackerRun run;
  const std::string before = run.tracker().identity().distinctId;
  KvUserInfo user;
  user.userId = "user-42";
  user.userType = KvUserType::email;
  user.vipLevel = 2;
  run.tracker().trackLogin(user, true, "", kNoContext);
  KvEventView view;
  view.name = "v";
  run.tracker().trackView(view, kNoContext);
  EXPECT_EQ(Utils::Profile::GetString(L"Base", L"isLogined", L"", 128, run.paths().identityFile), L"OK");
  EXPECT_EQ(Utils::Profile::GetString(L"Base", L"DistinctId", L"", 128, run.paths().identityFile),
            L"user-42");
  EXPECT_EQ(Utils::Profile::GetString(L"Base", L"UserVipLevel", L"", 128, run.paths().identityFile),
            L"2");
  const auto records = run.ReleaseAndReadStaged();
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(ValueOf(records[0], "event"), "\"KvEventLogin\"");
  EXPECT_EQ(ValueOf(records[0], "distinct_id"), "\"" + before + "\"");
  EXPECT_EQ(ValueOf(records[0], "kv_type"), "\"email\"");
  EXPECT_EQ(ValueOf(records[0], "kv_login_id"), "\"user-42\"");
  EXPECT_EQ(ValueOf(records[1], "event"), "\"$SignUp\"");
  EXPECT_EQ(ValueOf(records[1], "distinct_id"), "\"user-42\"");
  EXPECT_EQ(ValueOf(records[1], "original_id"), "\"" + before + "\"");
  EXPECT_EQ(ValueOf(records[2], "$is_login_id"), "true");
  EXPECT_EQ(ValueOf(records[2], "kv_user_id"), "\"user-42\"");
}

TEST(TrackerEvents, PaymentProfileStepAndVipLevel) {
  TrackerRun run;
  KvEventPayment p;
  p.kvOrderId = "o1";
  p.kvCurrency = Share(KvCurrency::EUR);
  p.paidPlatform = Share(KvPaidPlatform::Paddle);
  p.result = Share(KvResult::Success);
  p.paidAmount = 9.9f;
  run.tracker().trackPayment(p, kNoContext);
  EXPECT_EQ(Utils::Profile::GetString(L"Base", L"UserVipLevel", L"", 128, run.paths().identityFile), L"1");
  const auto records = run.ReleaseAndReadStaged();
  ASSERT_EQ(records.size(), 5u);
  EXPECT_EQ(ValueOf(records[0], "event"), "\"KvEventPayment\"");
  EXPECT_EQ(ValueOf(records[0], "kv_paid_platform"), "\"Paddle\"");
  EXPECT_EQ(ValueOf(records[0], "kv_currency"), "\"EUR\"");
  EXPECT_EQ(ValueOf(records[0], "kv_result"), "\"Success\"");
  EXPECT_EQ(ValueOf(records[1], "type"), "\"profile_increment\"");
  EXPECT_EQ(ValueOf(records[1], "kv_paid_count"), "1");
  EXPECT_EQ(ValueOf(records[2], "kv_consumption"), "9.9");
  EXPECT_EQ(ValueOf(records[3], "type"), "\"profile_set_once\"");
  EXPECT_EQ(ValueOf(records[4], "type"), "\"profile_set\"");
}

TEST(UserProfile, KindsAndDateTimes) {
  TrackerRun run;
  NativeUserTracker::ProfileUserPropertyDateTime("kv_last_visit_date", 1700000000123LL);
  NativeUserTracker::ProfileUserPropertyDateTime("kv_last_visit_date", 1700000000LL);
  NativeUserTracker::ProfileUserPropertyNumber("kv_paid_count", 1);
  NativeUserTracker::ProfileUserPropertyString("kv_label", "x");
  struct Case {
    std::function<void()> call;
    const char* message;
  } cases[] = {
      {[] { NativeUserTracker::ProfileUserPropertyString("kv_visit_count", "1"); },
       "user property [kv_visit_count] is string type value, it cannot be accumulated!"},
      {[] { NativeUserTracker::ProfileUserPropertyString("nope", "1"); },
       "Not supported user property [nope]!"},
      {[] { NativeUserTracker::ProfileUserPropertyNumber("nope", 1.5); },
       "Not supported user property [nope]!"},
      {[] { NativeUserTracker::ProfileUserPropertyDateTime("kv_paid_count", 1); },
       "user property [kv_paid_count] is boolean value, it cannot be accumulative!"},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorOf(c.call), c.message);
  const auto records = run.ReleaseAndReadStaged();
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(ValueOf(records[0], "type"), "\"profile_set\"");
  const std::string withMs = ValueOf(records[0], "kv_last_visit_date");
  const std::string withoutMs = ValueOf(records[1], "kv_last_visit_date");
  ASSERT_EQ(withMs.size(), 25u) << withMs;  // "YYYY-MM-DD hh:mm:ss.mmm" quoted
  EXPECT_EQ(withMs.substr(20), ".123\"");
  EXPECT_EQ(withoutMs.substr(0, 20), withMs.substr(0, 20));
  EXPECT_EQ(withoutMs.substr(20), ".000\"");
  EXPECT_EQ(ValueOf(records[2], "type"), "\"profile_increment\"");
}

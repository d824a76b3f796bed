// The event catalogue: one tracking operation per kind of event, with its
// checks, property keys, profile step and flush form. Every check runs
// before the record is queued, so a rejected call sends nothing.
#include "collect_sdk/sdk.h"
#include "kv_tracker_impl.h"
#include "native_user_tracker.h"
#include "system_texts.h"
#include "utils/format.h"

namespace kelvo {
namespace tracker {

namespace {

constexpr char kInstallSource[] = "android_id=123##imei=1234##mac=123";
constexpr char kFirstTime[] = "$is_first_time";

template <class T>
void AddOptionalInt(collect_sdk::PropertiesNode& p, const char* key, const std::shared_ptr<T>& v) {
  if (v) p.SetNumber(key, static_cast<int>(*v));
}

void AddOptionalNumber(collect_sdk::PropertiesNode& p, const char* key,
                       const std::shared_ptr<float>& v) {
  if (v) p.SetNumber(key, static_cast<double>(*v));
}

void AddIfPositive(collect_sdk::PropertiesNode& p, const char* key, float v) {
  if (v > 0) p.SetNumber(key, static_cast<double>(v));
}

// Task, file: only the three definite outcomes are reported.
bool IsDefiniteResult(const std::shared_ptr<KvResult>& r) {
  return r && (*r == KvResult::Success || *r == KvResult::Cancelled || *r == KvResult::Fail);
}

void AddRaw(collect_sdk::PropertiesNode& p, const char* key, const std::string& text) {
  if (!text.empty()) p.SetString(key, text);
}

}  // namespace

void KvTrackerImpl::AddOptionalText(Props& p, const std::string& key, const std::string& text) {
  if (!text.empty()) p.SetString(key, NormaliseText(text));
}

void KvTrackerImpl::AddContext(Props& p, const KvContextProperties& context, KvEventType kind) {
  for (const auto& entry : context.getEventProperties(kind)) p.SetString(entry.first, entry.second);
}

void KvTrackerImpl::Send(const std::string& event, const Props& props,
                         const KvContextProperties& context, KvEventType kind) {
  Props withContext = props;
  AddContext(withContext, context, kind);  // context entries replace same-named fields
  collect_sdk::Sdk::Track(event, withContext);
}

void KvTrackerImpl::FlushNow() { policy_.FlushNow(); }

void KvTrackerImpl::FlushLaterCounted() {
  policy_.AddPending(1);
  policy_.FlushLater();
}

void KvTrackerImpl::ProfileVisitDates(long long now) {
  NativeUserTracker::ProfileUserPropertyDateTime("$first_visit_time", now);
  NativeUserTracker::ProfileUserPropertyDateTime("kv_first_visit_date", now);
  NativeUserTracker::ProfileUserPropertyDateTime("kv_last_visit_date", now);
}

void KvTrackerImpl::trackActivity(const KvContextProperties& context) {
  Props p;
  AddContext(p, context, KvEventType::Activity);  // first, so the event's own fields win
  AddRaw(p, "kv_app_store", appStore_);
  AddRaw(p, "kv_app_id", appName_);
  AddRaw(p, "$app_id", appName_);
  AddRaw(p, "$app_version", appVersion_);
  p.SetString("$ios_install_source", kInstallSource);
  p.SetString("$user_agent", UserAgent(OsName(), osVersion_, Is64BitSystem()));
  p.SetBool(kFirstTime, true);
  p.SetString("$os", OsName());
  p.SetString("$os_version", osVersion_);
  collect_sdk::Sdk::TrackInstallation("KvEventActivity", p);

  ProfileVisitDates(NowMilliseconds());
  NativeUserTracker::ProfileUserPropertyString("kv_os", OsName());
  NativeUserTracker::ProfileUserPropertyString("kv_os_version", osVersion_);
  NativeUserTracker::ProfileUserPropertyString("kv_app_store", appStore_);
  NativeUserTracker::ProfileUserPropertyString("kv_app_platform", OsName());
  NativeUserTracker::ProfileUserPropertyString("kv_last_app_id", appName_);
  NativeUserTracker::ProfileUserPropertyString("kv_last_app_version", appVersion_);
  NativeUserTracker::ProfileUserPropertyString("$ios_install_source", kInstallSource);
  policy_.AddPending(9);
  FlushNow();
}

void KvTrackerImpl::trackLaunch(const KvContextProperties& context) {
  Send("KvEventLaunch", Props(), context, KvEventType::PaLaunchPal);
  if (!identity_.userId.empty()) {
    ProfileVisitDates(NowMilliseconds());
    policy_.AddPending(4);
  }
  FlushNow();
}

void KvTrackerImpl::trackLogin(const KvUserInfo& user, bool success, const std::string& reason,
                               const KvContextProperties& context) {
  Props p;
  const bool hasId = !user.userId.empty();
  if (hasId) {
    p.SetString("kv_user_id", user.userId);
    p.SetString("kv_login_id", user.userId);
  }
  p.SetString("kv_type", toString(user.userType));
  p.SetString("kv_result", success ? "Success" : "Fail");
  AddOptionalText(p, "kv_reason", reason);
  if (!hasId) {
    Send("KvEventLogin", p, context, KvEventType::Login);
    FlushNow();
    return;
  }
  p.SetBool(kFirstTime, true);
  // The login event goes out before the sign-up, under the old distinct id.
  Send("KvEventLogin", p, context, KvEventType::Login);
  identity_.userVipLevel = user.vipLevel;
  if (!identity_.isLogined || identity_.userId.empty()) {
    collect_sdk::Sdk::TrackSignUp(user.userId);
    identity_.isLogined = true;
    identity_.userId = user.userId;
    identity_.distinctId = user.userId;
    collect_sdk::Sdk::SetDistinctId(identity_.distinctId, true);
    Props super;
    super.SetString("kv_user_id", user.userId);
    collect_sdk::Sdk::MergeSuperProperties(super);
  }
  WriteIdentity(paths_.identityFile, identity_);
  FlushNow();
}

void KvTrackerImpl::trackClick(const KvEventClick& e, const KvContextProperties& context) {
  if (e.name.empty()) KV_THROW("kvEventClick.name is empty");
  const std::string clickType = toString(e.clickType);
  Props p;
  p.SetString("kv_name", NormaliseText(e.name));
  p.SetString("kv_click_type", clickType);
  AddOptionalText(p, "kv_aname", e.aname);
  AddOptionalText(p, "kv_title", e.title);
  AddOptionalText(p, "kv_position", e.position);
  AddOptionalText(p, "kv_module", e.module);
  AddOptionalText(p, "kv_tab_name", e.tabName);
  AddOptionalInt(p, "kv_tab_index", e.tabIndex);
  AddOptionalText(p, "kv_banner_name", e.bannerName);
  AddOptionalInt(p, "kv_banner_index", e.bannerIndex);
  p.SetBool(kFirstTime, true);
  Send("KvEventClick", p, context, KvEventType::Click);
  FlushLaterCounted();
}

void KvTrackerImpl::trackView(const KvEventView& e, const KvContextProperties& context) {
  if (e.name.empty()) KV_THROW("kvEventView.name is empty");
  Props p;
  p.SetString("kv_name", NormaliseText(e.name));
  AddOptionalText(p, "kv_aname", e.aname);
  AddOptionalText(p, "kv_title", e.title);
  AddOptionalText(p, "kv_position", e.position);
  p.SetBool(kFirstTime, true);
  Send("KvEventView", p, context, KvEventType::View);
  FlushLaterCounted();
}

void KvTrackerImpl::trackCashier(const KvEventCashier& e, const KvContextProperties& context) {
  if (e.cashierName.empty()) KV_THROW("kvEventCashier.kv_cashier_name is empty");
  Props p;
  p.SetString("kv_cashier_name", NormaliseText(e.cashierName));
  AddOptionalText(p, "kv_cashier_title", e.cashierTitle);
  AddOptionalText(p, "kv_subitem", e.subitem);
  p.SetBool(kFirstTime, true);
  Send("KvEventCashier", p, context, KvEventType::Cashier);
  FlushLaterCounted();
}

void KvTrackerImpl::trackShare(const KvEventShare& e, const KvContextProperties& context) {
  Props p;
  AddOptionalText(p, "kv_aname", e.aname);
  AddOptionalText(p, "kv_channel", e.channel);
  AddOptionalText(p, "kv_position", e.position);
  AddOptionalText(p, "kv_shared_name", e.sharedName);
  if (e.result) p.SetString("kv_result", toString(*e.result));
  p.SetBool(kFirstTime, true);
  Send("KvEventShare", p, context, KvEventType::Share);
  FlushLaterCounted();
}

void KvTrackerImpl::trackTask(const KvEventTask& e, const KvContextProperties& context) {
  if (e.name.empty()) KV_THROW("kvEventTask.name is empty");
  Props p;
  p.SetString("kv_task_name", NormaliseText(e.name));
  AddOptionalNumber(p, "kv_task_elapsed", e.elapsed);
  if (IsDefiniteResult(e.result)) p.SetString("kv_task_result", toString(*e.result));
  AddOptionalText(p, "kv_aname", e.aname);
  AddOptionalText(p, "kv_reason", e.reason);
  p.SetBool(kFirstTime, true);
  Send("KvEventTask", p, context, KvEventType::Task);
  FlushLater();
}

void KvTrackerImpl::trackFile(const KvEventFile& e, const KvContextProperties& context) {
  if (e.aname.empty()) KV_THROW("kvEventFile.aname is empty");
  Props p;
  p.SetString("kv_aname", NormaliseText(e.aname));
  if (e.ioType) p.SetString("kv_io", toString(*e.ioType));
  if (IsDefiniteResult(e.result)) p.SetString("kv_result", toString(*e.result));
  AddOptionalText(p, "kv_name", e.name);
  AddOptionalText(p, "kv_ext", e.ext);
  if (e.size && *e.size > 0) p.SetNumber("kv_size", static_cast<double>(*e.size));
  AddOptionalInt(p, "kv_duration", e.duration);
  AddOptionalNumber(p, "kv_fps", e.fps);
  AddOptionalNumber(p, "kv_bps", e.bps);
  AddOptionalInt(p, "kv_width", e.width);
  AddOptionalInt(p, "kv_height", e.height);
  AddOptionalInt(p, "kv_depth", e.depth);
  p.SetBool(kFirstTime, true);
  Send("KvEventFile", p, context, KvEventType::File);
  FlushLaterCounted();
}

void KvTrackerImpl::trackOrder(const KvEventOrder& e, const KvContextProperties& context) {
  if (e.kvSuitId.empty()) KV_THROW("kvEventOrder.kvSuitId is empty");
  if (!e.kvCurrency) KV_THROW("kvEventOrder.kvCurrency is nullptr");
  if (!(e.originalAmount > 0)) KV_THROW("kvEventOrder.originalAmount is less than zero");
  if (!(e.paidAmount > 0)) KV_THROW("kvEventOrder.originalAmount is less than zero");
  Props p;
  p.SetString("kv_suit_id", NormaliseText(e.kvSuitId));
  p.SetString("kv_currency", toString(*e.kvCurrency));
  p.SetNumber("kv_paid_amount", static_cast<double>(e.paidAmount));
  p.SetNumber("kv_original_amount", static_cast<double>(e.originalAmount));
  p.SetBool(kFirstTime, true);
  AddOptionalText(p, "kv_order_id", e.kvOrderId);
  AddOptionalText(p, "kv_subitem", e.subitem);
  AddOptionalText(p, "kv_sku", e.sku);
  AddOptionalInt(p, "kv_campaign_code", e.campaignCode);
  AddOptionalText(p, "kv_voucher_id", e.voucherId);
  AddIfPositive(p, "kv_cur_original_amount", e.curOriginalAmount);
  AddIfPositive(p, "kv_cur_paid_amount", e.curPaidAmount);
  AddOptionalText(p, "kv_cashier_name", e.cashierName);
  AddOptionalText(p, "kv_cashier_title", e.cashierTitle);
  Send("KvEventOrder", p, context, KvEventType::Order);
  FlushLaterCounted();
}

void KvTrackerImpl::trackPayment(const KvEventPayment& e, const KvContextProperties& context) {
  if (e.kvOrderId.empty()) KV_THROW("kvEventPayment.kvOrderId is empty");
  if (e.paidAmount < 0)
    KV_THROW(Utils::Format("paidAmount = %f is invalid", static_cast<double>(e.paidAmount)));
  if (e.originalAmount < 0)
    KV_THROW(Utils::Format("originalAmount = %f is invalid", static_cast<double>(e.originalAmount)));
  if (!e.result || (*e.result != KvResult::Success && *e.result != KvResult::Fail))
    KV_THROW("kvEventPayment.result is invalid");
  // Both values are needed for the record; an absent one rejects the call
  // here, before anything is queued, like the checks above.
  if (!e.paidPlatform) KV_THROW("kvEventPayment.paidPlatform is nullptr");
  if (!e.kvCurrency) KV_THROW("kvEventPayment.kvCurrency is nullptr");
  const bool success = *e.result == KvResult::Success;
  Props p;
  p.SetString("kv_order_id", NormaliseText(e.kvOrderId));
  p.SetString("kv_paid_platform", toString(*e.paidPlatform));
  p.SetString("kv_currency", toString(*e.kvCurrency));
  p.SetNumber("kv_paid_amount", static_cast<double>(e.paidAmount));
  p.SetNumber("kv_original_amount", static_cast<double>(e.originalAmount));
  p.SetString("kv_result", success ? "Success" : "Fail");
  p.SetBool(kFirstTime, true);
  AddOptionalText(p, "kv_suit_id", e.kvSuitId);
  if (e.kvIapType) p.SetString("kv_iap_type", toString(*e.kvIapType));
  AddOptionalText(p, "kv_subitem", e.subitem);
  AddOptionalText(p, "kv_sku", e.sku);
  AddOptionalText(p, "kv_voucher_id", e.voucherId);
  AddOptionalText(p, "kv_used_voucher_id", e.usedVoucherId);
  AddOptionalInt(p, "kv_campaign_code", e.campaignCode);
  AddIfPositive(p, "kv_cur_original_amount", e.curOriginalAmount);
  AddIfPositive(p, "kv_cur_paid_amount", e.curPaidAmount);
  AddOptionalText(p, "kv_cashier_name", e.cashierName);
  AddOptionalText(p, "kv_cashier_title", e.cashierTitle);
  Send("KvEventPayment", p, context, KvEventType::Payment);

  const long long now = NowMilliseconds();
  NativeUserTracker::ProfileUserPropertyNumber("kv_paid_count", 1);
  NativeUserTracker::ProfileUserPropertyNumber("kv_consumption", static_cast<double>(e.paidAmount));
  NativeUserTracker::ProfileUserPropertyDateTime("kv_first_paid_date", now);
  NativeUserTracker::ProfileUserPropertyDateTime("kv_last_paid_date", now);
  policy_.AddPending(4);
  if (success) {
    identity_.userVipLevel = 1;
    WriteIdentity(paths_.identityFile, identity_);
  }
  FlushNow();
}

void KvTrackerImpl::trackUninstall(const std::string& reason, const KvContextProperties& context) {
  Props p;
  AddOptionalText(p, "kv_uninstall_reason", reason);
  Send("KvEventUninstall", p, context, KvEventType::Uninstall);
  FlushNow();
}

void KvTrackerImpl::trackCrash(const std::string& reason) {
  Props p;
  AddOptionalText(p, "app_crashed_reason", reason);
  collect_sdk::Sdk::Track("AppCrashed", p);
  FlushNow();
}

void KvTrackerImpl::trackUpdate(const KvEventUpdate& e, const KvContextProperties& context) {
  const std::string op = toString(e.updateOp);
  const std::string result = e.updateResult ? toString(*e.updateResult) : std::string();
  Props p;
  p.SetString("kv_update_op", op);
  switch (e.updateOp) {
    case KvUpdateOp::UpdateCheck:
      p.SetString("kv_update_result", result);
      break;
    case KvUpdateOp::DownloadEnd:
    case KvUpdateOp::UpgrateEnd:
      if (!e.updateResult) KV_THROW("Unknown updateResultInfo info");
      p.SetString("kv_update_result", result);
      if (!e.elapsed) KV_THROW("invalid elapsed info");
      p.SetNumber("kv_elapsed", static_cast<double>(*e.elapsed));
      if (e.updateOp == KvUpdateOp::UpgrateEnd) p.SetBool(kFirstTime, true);
      break;
    default:  // DownloadStart, UpgrateStart: the op alone
      break;
  }
  Send("KvEventUpdate", p, context, KvEventType::Update);
  FlushNow();
}

void KvTrackerImpl::trackAppOpenNotification(const AppOpenNotification* n,
                                             const KvContextProperties& context) {
  if (!n) KV_THROW("&appOpenNotification is nullptr");
  if (n->planID.empty()) KV_THROW("planID is emptry");
  if (n->planType.empty()) KV_THROW("planType is emptry");
  if (n->msgTitle.empty()) KV_THROW("msgTitle is emptry");
  Props p;
  p.SetString("$sf_msg_title", NormaliseText(n->msgTitle));
  p.SetString("$sf_plan_id", n->planID);
  p.SetString("$sf_plan_type", n->planType);
  p.SetBool(kFirstTime, true);
  AddOptionalText(p, "$sf_msg_content", n->msgContent);
  AddRaw(p, "$sf_link_url", n->linkUrl);
  AddRaw(p, "$sf_audience_id", n->audienceId);
  AddRaw(p, "$sf_plan_strategy_id", n->planStrategyId);
  AddRaw(p, "$sf_strategy_unit_id", n->strategyUnitId);
  Send("KvEventAppOpenNotification", p, context, KvEventType::AppOpenNotification);
  FlushLater();
}

}  // namespace tracker
}  // namespace kelvo

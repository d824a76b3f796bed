#include "native_user_tracker.h"

#include <map>

#include "collect_sdk/sdk.h"
#include "tracker/kv_exception.h"

namespace kelvo {
namespace tracker {

namespace {

const std::map<std::string, ProfileKind>& KindTable() {
  static const std::map<std::string, ProfileKind> table = [] {
    std::map<std::string, ProfileKind> t;
    for (const char* key : {"$first_visit_time", "kv_first_visit_date", "$ios_install_source",
                            "kv_first_paid_date"}) {
      t[key] = ProfileKind::SetOnce;
    }
    for (const char* key : {"kv_visit_count", "kv_paid_count", "kv_consumption"}) {
      t[key] = ProfileKind::Increment;
    }
    for (const char* key :
         {"kv_label", "kv_os", "kv_os_version", "kv_manufacturer", "kv_model", "kv_app_store",
          "kv_app_platform", "kv_last_app_id", "kv_last_app_version", "kv_carrier",
          "kv_last_visit_date", "aurora_pushid", "kv_user_id", "kv_user_name", "kv_user_type",
          "kv_user_nickname", "kv_user_portrait", "kv_user_mobilephone", "kv_user_email",
          "kv_user_weixin", "kv_user_qq", "kv_user_did", "kv_user_created", "kv_user_last_login",
          "kv_user_last_ip", "kv_user_vip_level", "kv_user_vip_enddate", "idfa", "imei",
          "android_id", "oaid", "kv_ip", "kv_country_code", "kv_country", "kv_province",
          "kv_city", "kv_last_paid_date"}) {
      t[key] = ProfileKind::Set;
    }
    return t;
  }();
  return table;
}

[[noreturn]] void NotSupported(const char* function, const std::string& key) {
  KV_THROW_IN(function, "Not supported user property [" + key + "]!");
}

constexpr int64_t kMillisecondsThreshold = 157789440000LL;

}  // namespace

ProfileKind NativeUserTracker::KindOf(const std::string& key) {
  const auto& table = KindTable();
  const auto it = table.find(key);
  return it == table.end() ? ProfileKind::NotSupported : it->second;
}

void NativeUserTracker::ProfileUserPropertyString(const std::string& key, const std::string& value) {
  static const char kFunction[] = "ProfileUserPropertyString";
  switch (KindOf(key)) {
    case ProfileKind::SetOnce: collect_sdk::Sdk::ProfileSetOnce(key, value); return;
    case ProfileKind::Set: collect_sdk::Sdk::ProfileSet(key, value); return;
    case ProfileKind::Increment:
      KV_THROW_IN(kFunction,
                  "user property [" + key + "] is string type value, it cannot be accumulated!");
    default: NotSupported(kFunction, key);
  }
}

void NativeUserTracker::ProfileUserPropertyNumber(const std::string& key, int value) {
  switch (KindOf(key)) {
    case ProfileKind::SetOnce: collect_sdk::Sdk::ProfileSetOnce(key, value); return;
    case ProfileKind::Increment: collect_sdk::Sdk::ProfileIncrement(key, value); return;
    case ProfileKind::Set: collect_sdk::Sdk::ProfileSet(key, value); return;
    default: NotSupported("ProfileUserPropertyNumber", key);
  }
}

void NativeUserTracker::ProfileUserPropertyNumber(const std::string& key, double value) {
  switch (KindOf(key)) {
    case ProfileKind::SetOnce: collect_sdk::Sdk::ProfileSetOnce(key, value); return;
    case ProfileKind::Increment: {
      collect_sdk::PropertiesNode one;
      one.SetNumber(key, value);
      collect_sdk::Sdk::ProfileIncrement(one);
      return;
    }
    case ProfileKind::Set: collect_sdk::Sdk::ProfileSet(key, value); return;
    default: NotSupported("ProfileUserPropertyNumber", key);
  }
}

void NativeUserTracker::ProfileUserPropertyDateTime(const std::string& key, int64_t time) {
  static const char kFunction[] = "ProfileUserPropertyDateTime";
  int64_t seconds = time;
  int milliseconds = 0;
  if (time >= kMillisecondsThreshold) {
    seconds = time / 1000;
    milliseconds = static_cast<int>(time % 1000);
  }
  collect_sdk::PropertiesNode one;
  one.SetDateTime(key, seconds, milliseconds);
  switch (KindOf(key)) {
    case ProfileKind::SetOnce: collect_sdk::Sdk::ProfileSetOnce(one); return;
    case ProfileKind::Set: collect_sdk::Sdk::ProfileSet(one); return;
    case ProfileKind::Increment:
      KV_THROW_IN(kFunction, "user property [" + key + "] is boolean value, it cannot be accumulative!");
    default: NotSupported(kFunction, key);
  }
}

}  // namespace tracker
}  // namespace kelvo

#include "tracker/kv_types.h"

#include <iterator>

#include "tracker/kv_exception.h"

namespace kelvo {
namespace tracker {

namespace {

// Looks a value up in its text table; out of range raises prefix + n + "]!"
// (or the fixed message when the table has one).
template <class E, size_t N>
std::string Lookup(E value, const char* const (&texts)[N], const char* prefix,
                   const char* fixedMessage = nullptr) {
  const int n = static_cast<int>(value);
  if (n >= 0 && static_cast<size_t>(n) < N) return texts[n];
  if (fixedMessage) KV_THROW(fixedMessage);
  KV_THROW(std::string(prefix) + std::to_string(n) + "]!");
}

}  // namespace

std::string toString(KvResult v) {
  static const char* const t[] = {"Success", "Cancelled", "Fail", "Unknown"};
  return Lookup(v, t, "Unknown task result [");
}

std::string toString(KvEventType v) {
  static const char* const t[] = {"Activity", "PaLaunchPal", "Login",   "Click",     "View",
                                  "Cashier",  "Share",       "Task",    "File",      "Order",
                                  "Payment",  "Uninstall",   "Update",  "Crashed",
                                  "AppOpenNotification"};
  return Lookup(v, t, "Unknown Event [");
}

std::string toString(KvEdition v) {
  static const char* const t[] = {"china", "overseas"};
  return Lookup(v, t, "Unknown edition [");
}

std::string toString(ClickType v) {
  static const char* const t[] = {"Button", "Banner", "Tutorial", "File", "Others"};
  return Lookup(v, t, "Unknown ClickType [");
}

std::string toString(KvIoType v) {
  static const char* const t[] = {"Input", "Output"};
  return Lookup(v, t, nullptr, "the io type is invalid");
}

std::string toString(KvCurrency v) {
  static const char* const t[] = {"CNY", "USD", "EUR", "HKD", "TWD", "MOP",
                                  "SGD", "JPY", "KRW", "INR", "GBP"};
  return Lookup(v, t, "Unknown currency [");
}

std::string toString(KvPaidPlatform v) {
  static const char* const t[] = {"Alipay", "WeChatPay", "PayPal",    "Tenpay",   "CIECC",
                                  "GooglePay", "HuaweiPay", "AppleIAP", "Paddle", "ChinaUnionPay"};
  return Lookup(v, t, "Unknown paid platform [");
}

std::string toString(KvIapType v) {
  static const char* const t[] = {"Consumable", "NonConsumable", "AutoRenewable", "NonRenewable"};
  return Lookup(v, t, "Unknown kvIapType [");
}

std::string toString(KvUpdateOp v) {
  static const char* const t[] = {"UpdateCheck", "DownloadStart", "DownloadEnd", "UpgrateStart",
                                  "UpgrateEnd"};
  return Lookup(v, t, "Unknown KvUpdateOp [");
}

std::string toString(KvUpdateResult v) {
  static const char* const t[] = {"Success", "Cancelled", "Timeout", "Fail", "Latest", "Updateable"};
  return Lookup(v, t, "Unknown KvUpdateResult [");
}

std::string toString(KvUserType v) {
  static const char* const t[] = {"unknown", "mobilephone", "email",  "weixin",
                                  "qq",      "deviceid",    "baidu",  "huawei",
                                  "apple",   "kelvouserid", "google", "facebook"};
  return Lookup(v, t, "Unknown user type [");
}

}  // namespace tracker
}  // namespace kelvo

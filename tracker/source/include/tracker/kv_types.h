// The tracker's enumerations and their report texts.
//
// Values are plain integers on the wire of the interface: a caller may pass
// any number, and converting a value outside the table throws KvException
// with the message documented beside each function. Pure functions, any
// thread.
#pragma once

#include <string>

namespace kelvo {
namespace tracker {

enum class KvResult : int { Success = 0, Cancelled = 1, Fail = 2, Unknown = 3 };

// Index of an event kind, used to register context properties per kind.
enum class KvEventType : int {
  Activity = 0, PaLaunchPal = 1, Login = 2, Click = 3, View = 4, Cashier = 5, Share = 6,
  Task = 7, File = 8, Order = 9, Payment = 10, Uninstall = 11, Update = 12, Crashed = 13,
  AppOpenNotification = 14
};
inline constexpr int kKvEventTypeCount = 15;

enum class KvEdition : int { China = 0, Overseas = 1 };
enum class ClickType : int { Button = 0, Banner = 1, Tutorial = 2, File = 3, Others = 4 };
enum class KvIoType : int { Input = 0, Output = 1 };
enum class KvCurrency : int {
  CNY = 0, USD = 1, EUR = 2, HKD = 3, TWD = 4, MOP = 5, SGD = 6, JPY = 7, KRW = 8, INR = 9, GBP = 10
};
enum class KvPaidPlatform : int {
  Alipay = 0, WeChatPay = 1, PayPal = 2, Tenpay = 3, CIECC = 4, GooglePay = 5, HuaweiPay = 6,
  AppleIAP = 7, Paddle = 8, ChinaUnionPay = 9
};
enum class KvIapType : int { Consumable = 0, NonConsumable = 1, AutoRenewable = 2, NonRenewable = 3 };
enum class KvUpdateOp : int {
  UpdateCheck = 0, DownloadStart = 1, DownloadEnd = 2, UpgrateStart = 3, UpgrateEnd = 4
};
enum class KvUpdateResult : int {
  Success = 0, Cancelled = 1, Timeout = 2, Fail = 3, Latest = 4, Updateable = 5
};
enum class KvUserType : int {
  unknown = 0, mobilephone = 1, email = 2, weixin = 3, qq = 4, deviceid = 5, baidu = 6,
  huawei = 7, apple = 8, kelvouserid = 9, google = 10, facebook = 11
};

// "Success", "Cancelled", "Fail", "Unknown"; else "Unknown task result [n]!".
std::string toString(KvResult value);
// "Activity" ... "AppOpenNotification"; else "Unknown Event [n]!".
std::string toString(KvEventType value);
// "china", "overseas"; else "Unknown edition [n]!".
std::string toString(KvEdition value);
// else "Unknown ClickType [n]!".
std::string toString(ClickType value);
// "Input", "Output"; else "the io type is invalid".
std::string toString(KvIoType value);
// else "Unknown currency [n]!".
std::string toString(KvCurrency value);
// else "Unknown paid platform [n]!".
std::string toString(KvPaidPlatform value);
// else "Unknown kvIapType [n]!".
std::string toString(KvIapType value);
// else "Unknown KvUpdateOp [n]!".
std::string toString(KvUpdateOp value);
// else "Unknown KvUpdateResult [n]!".
std::string toString(KvUpdateResult value);
// else "Unknown user type [n]!".
std::string toString(KvUserType value);

}  // namespace tracker
}  // namespace kelvo

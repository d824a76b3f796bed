// The event records a caller fills for each tracking operation.
//
// Shared values (std::shared_ptr) are optional: null means absent. Plain
// texts that may be empty are optional too; which fields are required is
// checked by the tracking operation itself. Texts are UTF-8, or text in the
// system's ANSI code page, which the tracker converts. Plain value types.
#pragma once

#include <memory>
#include <string>

#include "tracker/kv_types.h"

namespace kelvo {
namespace tracker {

struct KvEventClick {
  std::string aname;
  std::string name;  // required
  ClickType clickType = ClickType::Button;
  std::string title;
  std::string module;
  std::string position;
  std::shared_ptr<int> tabIndex;
  std::string tabName;
  std::shared_ptr<int> bannerIndex;
  std::string bannerName;
};

struct KvEventView {
  std::string aname;
  std::string name;  // required
  std::string title;
  std::string position;
};

struct KvEventCashier {
  std::string cashierName;  // required
  std::string cashierTitle;
  std::string subitem;
};

struct KvEventShare {
  std::string aname;
  std::string channel;
  std::string position;
  std::string sharedName;
  std::shared_ptr<KvResult> result;
};

struct KvEventTask {
  std::string aname;
  std::string name;  // required
  std::string reason;
  std::shared_ptr<float> elapsed;
  std::shared_ptr<KvResult> result;
};

struct KvEventFile {
  std::string aname;  // required
  std::string name;
  std::shared_ptr<KvIoType> ioType;
  std::string ext;
  std::shared_ptr<float> size;
  std::shared_ptr<int> duration;
  std::shared_ptr<float> fps;
  std::shared_ptr<float> bps;
  std::shared_ptr<int> width;
  std::shared_ptr<int> height;
  std::shared_ptr<int> depth;
  std::shared_ptr<KvResult> result;
};

struct KvEventOrder {
  std::string kvOrderId;
  std::string subitem;
  std::string sku;
  std::string kvSuitId;  // required
  std::shared_ptr<KvCurrency> kvCurrency;  // required
  float originalAmount = 0;  // must be above 0
  std::string voucherId;
  float paidAmount = 0;  // must be above 0
  std::string cashierName;
  std::string cashierTitle;
  std::shared_ptr<int> campaignCode;
  float curOriginalAmount = 0;
  float curPaidAmount = 0;
};

struct KvEventPayment {
  std::string kvOrderId;  // required
  std::string subitem;
  std::string sku;
  std::shared_ptr<KvCurrency> kvCurrency;  // required
  float originalAmount = 0;
  std::shared_ptr<int> campaignCode;
  std::string voucherId;
  std::string usedVoucherId;
  float paidAmount = 0;
  std::string kvSuitId;
  std::string cashierName;
  std::string cashierTitle;
  std::shared_ptr<KvPaidPlatform> paidPlatform;  // required
  std::shared_ptr<KvResult> result;  // required: Success or Fail
  std::shared_ptr<KvIapType> kvIapType;
  float curOriginalAmount = 0;
  float curPaidAmount = 0;
};

struct KvEventUpdate {
  KvUpdateOp updateOp = KvUpdateOp::UpdateCheck;
  std::shared_ptr<KvUpdateResult> updateResult;
  std::shared_ptr<float> elapsed;
};

struct AppOpenNotification {
  std::string msgTitle;  // required
  std::string msgContent;
  std::string linkUrl;
  std::string planID;    // required
  std::string audienceId;
  std::string planStrategyId;
  std::string planType;  // required
  std::string strategyUnitId;
};

struct KvUserInfo {
  std::string userId;
  KvUserType userType = KvUserType::unknown;
  int vipLevel = 0;
};

}  // namespace tracker
}  // namespace kelvo

// KvTrackerWrapper: makes every tracking call of an inner tracker
// exception-safe. It owns the inner tracker (destroyed with the wrapper).
//
// An exception escaping a tracking call is swallowed; when the inner tracker
// has a logger, one line "Failed to <operation>" goes to standard output.
// setLocale is forwarded unguarded; getLogger always answers null. Thread
// safety as the inner tracker's.
#pragma once

#include <memory>

#include "tracker/kv_tracker.h"

namespace kelvo {
namespace tracker {

class KvTrackerWrapper : public KvTracker {
 public:
  explicit KvTrackerWrapper(std::unique_ptr<KvTracker> inner) : inner_(std::move(inner)) {}

  void trackActivity(const KvContextProperties& context) override;
  void trackLaunch(const KvContextProperties& context) override;
  void trackLogin(const KvUserInfo& user, bool success, const std::string& reason,
                  const KvContextProperties& context) override;
  void trackClick(const KvEventClick& event, const KvContextProperties& context) override;
  void trackView(const KvEventView& event, const KvContextProperties& context) override;
  void trackCashier(const KvEventCashier& event, const KvContextProperties& context) override;
  void trackShare(const KvEventShare& event, const KvContextProperties& context) override;
  void trackTask(const KvEventTask& event, const KvContextProperties& context) override;
  void trackFile(const KvEventFile& event, const KvContextProperties& context) override;
  void trackOrder(const KvEventOrder& event, const KvContextProperties& context) override;
  void trackPayment(const KvEventPayment& event, const KvContextProperties& context) override;
  void trackUninstall(const std::string& reason, const KvContextProperties& context) override;
  void trackCrash(const std::string& reason) override;
  void trackUpdate(const KvEventUpdate& event, const KvContextProperties& context) override;
  void trackAppOpenNotification(const AppOpenNotification* notification,
                                const KvContextProperties& context) override;
  void setLocale(const std::string& locale) override;
  std::string getPrimaryDistinctId() override;
  TrackLogger* getLogger() override { return nullptr; }

 private:
  // Runs one forwarded call, containing whatever it throws.
  template <class Call>
  void Guard(const char* operation, Call&& call) noexcept;

  std::unique_ptr<KvTracker> inner_;
};

}  // namespace tracker
}  // namespace kelvo

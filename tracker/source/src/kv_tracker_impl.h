// KvTrackerImpl: the tracker itself. Validates each record, turns it into
// properties, queues it through the collection SDK and applies the flush
// form of the operation.
//
// Lifecycle: construct with the configuration, then initialize() (throws
// KvException; the handle swallows it, and a tracker that stopped early
// validates calls but records nothing). Destruction writes the identity,
// flushes what is pending (three attempts), then shuts the SDK down, which
// stages what is still unsent.
//
// Thread safety: tracking calls from any thread at once; the tracker takes
// no lock of its own (the record store locks its queue, the pending counter
// is atomic). trackLogin and trackPayment change the identity and must not
// run concurrently with each other.
#pragma once

#include <memory>
#include <string>

#include "collect_sdk/flush_policy.h"
#include "collect_sdk/value_node.h"
#include "tracker/kv_tracker.h"
#include "tracker_identity.h"
#include "tracker_paths.h"

namespace kelvo {
namespace tracker {

class KvTrackerImpl : public KvTracker {
 public:
  explicit KvTrackerImpl(const TrackerConfig& config);
  ~KvTrackerImpl() override;
  KvTrackerImpl(const KvTrackerImpl&) = delete;
  KvTrackerImpl& operator=(const KvTrackerImpl&) = delete;

  void initialize();

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
  std::string getPrimaryDistinctId() override { return identity_.primaryDistinctId; }
  TrackLogger* getLogger() override { return logger_.get(); }

  // Observers for tests and diagnostics.
  const TrackerPaths& paths() const noexcept { return paths_; }
  const TrackerIdentity& identity() const noexcept { return identity_; }
  const std::string& serverUrl() const noexcept { return serverUrl_; }
  int pending() const noexcept { return policy_.Pending(); }

 private:
  using Props = collect_sdk::PropertiesNode;

  void BuildCommonProperties(Props& out) const;
  static void AddContext(Props& props, const KvContextProperties& context, KvEventType kind);
  // Adds a normalised text, or nothing for an empty one.
  static void AddOptionalText(Props& props, const std::string& key, const std::string& text);
  void Send(const std::string& event, const Props& props, const KvContextProperties& context,
            KvEventType kind);
  void FlushNow();
  // "later" form: one more for the call itself on top of the flush's own.
  void FlushLaterCounted();
  void FlushLater() noexcept { policy_.FlushLater(); }
  void ProfileVisitDates(long long now);

  // Configuration, normalised to UTF-8.
  std::string appName_, appVersion_, appStore_, dlAppId_, dlAppVersion_, logPath_, serverUrl_;
  int edition_ = 0;

  TrackerPaths paths_;
  TrackerIdentity identity_;
  std::string locale_;
  std::string osVersion_;
  collect_sdk::FlushPolicy policy_;  // owns the atomic pending counter
  std::unique_ptr<NativeTrackLogger> logger_;
  bool sdkStarted_ = false;
};

}  // namespace tracker
}  // namespace kelvo

// KvTracker: the tracker library's interface, its configuration and the
// process-wide handle.
//
// A tracking call validates its record (KvException on a missing or invalid
// field, before anything is queued), turns it into properties, queues one
// record in the collection SDK and applies its flush form: "later" calls
// only queue (and never touch the network); "now" calls send everything
// queued, on the calling thread, and may block for up to three send
// attempts of 3 s each when the endpoint does not answer.
//
// Thread safety: tracking calls may come from any thread at once.
// createTracker and releaseTracker run on the main thread while no other
// thread tracks (the crash path excepted, which reads the handle).
#pragma once

#include <memory>
#include <string>

#include "tracker/kv_context_properties.h"
#include "tracker/kv_events.h"
#include "tracker/kv_exception.h"
#include "tracker/kv_types.h"
#include "tracker/track_logger.h"

namespace kelvo {
namespace tracker {

struct TrackerConfig {
  std::string appName;       // required
  std::string appVersion;    // required
  std::string appStore;      // required: distribution channel
  std::string dlAppId;       // optional
  std::string dlAppVersion;  // optional
  std::string logPath;       // empty: "<data folder><appName>_KVSLog.txt"
  int edition = 0;           // KvEdition: 0 "china", 1 "overseas"
  std::string serverUrl;     // empty: the built-in collection endpoint
};

// The built-in collection endpoint: "<host>/sa?project=pc".
std::string DefaultServerUrl();

class KvTracker {
 public:
  virtual ~KvTracker() = default;
  virtual void trackActivity(const KvContextProperties& context) = 0;
  virtual void trackLaunch(const KvContextProperties& context) = 0;
  virtual void trackLogin(const KvUserInfo& user, bool success, const std::string& reason,
                          const KvContextProperties& context) = 0;
  virtual void trackClick(const KvEventClick& event, const KvContextProperties& context) = 0;
  virtual void trackView(const KvEventView& event, const KvContextProperties& context) = 0;
  virtual void trackCashier(const KvEventCashier& event, const KvContextProperties& context) = 0;
  virtual void trackShare(const KvEventShare& event, const KvContextProperties& context) = 0;
  virtual void trackTask(const KvEventTask& event, const KvContextProperties& context) = 0;
  virtual void trackFile(const KvEventFile& event, const KvContextProperties& context) = 0;
  virtual void trackOrder(const KvEventOrder& event, const KvContextProperties& context) = 0;
  virtual void trackPayment(const KvEventPayment& event, const KvContextProperties& context) = 0;
  virtual void trackUninstall(const std::string& reason, const KvContextProperties& context) = 0;
  virtual void trackCrash(const std::string& reason) = 0;
  virtual void trackUpdate(const KvEventUpdate& event, const KvContextProperties& context) = 0;
  virtual void trackAppOpenNotification(const AppOpenNotification* notification,
                                        const KvContextProperties& context) = 0;
  virtual void setLocale(const std::string& locale) = 0;
  virtual std::string getPrimaryDistinctId() = 0;
  virtual TrackLogger* getLogger() = 0;
};

// Builds a tracker from the configuration and stores it, wrapped so no
// tracking call ever throws, in the process-wide handle (releasing any
// previous one). An initialisation failure is swallowed: the handle then
// holds a tracker that validates calls but records nothing.
void createTracker(const TrackerConfig& config);
// The handle's current value; empty before creation and after release.
std::shared_ptr<KvTracker> getTracker();
// Empties the handle; the last reference flushes what is pending, stores
// what could not be sent for the next run and closes the tracker. Blocks
// for the sends.
void releaseTracker();

}  // namespace tracker
}  // namespace kelvo

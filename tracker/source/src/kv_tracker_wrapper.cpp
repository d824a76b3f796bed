#include "kv_tracker_wrapper.h"

#include <string>

#include "utils/standard_output.h"

namespace kelvo {
namespace tracker {

template <class Call>
void KvTrackerWrapper::Guard(const char* operation, Call&& call) noexcept {
  if (!inner_) return;
  try {
    call();
  } catch (...) {
    try {
      if (inner_->getLogger() != nullptr) {
        // One write per line, so lines from concurrent failures never mix.
        const std::string line = std::string("Failed to ") + operation + "\n";
        Utils::WriteStandardOutput(line.data(), line.size());
      }
    } catch (...) {
    }
  }
}

void KvTrackerWrapper::trackActivity(const KvContextProperties& c) {
  Guard("trackActivity", [&] { inner_->trackActivity(c); });
}
void KvTrackerWrapper::trackLaunch(const KvContextProperties& c) {
  Guard("trackLaunch", [&] { inner_->trackLaunch(c); });
}
void KvTrackerWrapper::trackLogin(const KvUserInfo& u, bool success, const std::string& reason,
                                  const KvContextProperties& c) {
  Guard("trackLogin", [&] { inner_->trackLogin(u, success, reason, c); });
}
void KvTrackerWrapper::trackClick(const KvEventClick& e, const KvContextProperties& c) {
  Guard("trackClick", [&] { inner_->trackClick(e, c); });
}
void KvTrackerWrapper::trackView(const KvEventView& e, const KvContextProperties& c) {
  Guard("trackView", [&] { inner_->trackView(e, c); });
}
void KvTrackerWrapper::trackCashier(const KvEventCashier& e, const KvContextProperties& c) {
  Guard("trackCashier", [&] { inner_->trackCashier(e, c); });
}
void KvTrackerWrapper::trackShare(const KvEventShare& e, const KvContextProperties& c) {
  Guard("trackShare", [&] { inner_->trackShare(e, c); });
}
void KvTrackerWrapper::trackTask(const KvEventTask& e, const KvContextProperties& c) {
  Guard("trackTask", [&] { inner_->trackTask(e, c); });
}
void KvTrackerWrapper::trackFile(const KvEventFile& e, const KvContextProperties& c) {
  Guard("trackFile", [&] { inner_->trackFile(e, c); });
}
void KvTrackerWrapper::trackOrder(const KvEventOrder& e, const KvContextProperties& c) {
  Guard("trackOrder", [&] { inner_->trackOrder(e, c); });
}
void KvTrackerWrapper::trackPayment(const KvEventPayment& e, const KvContextProperties& c) {
  Guard("trackPayment", [&] { inner_->trackPayment(e, c); });
}
void KvTrackerWrapper::trackUninstall(const std::string& reason, const KvContextProperties& c) {
  Guard("trackUninstall", [&] { inner_->trackUninstall(reason, c); });
}
void KvTrackerWrapper::trackCrash(const std::string& reason) {
  Guard("trackCrash", [&] { inner_->trackCrash(reason); });
}
void KvTrackerWrapper::trackUpdate(const KvEventUpdate& e, const KvContextProperties& c) {
  Guard("trackUpdate", [&] { inner_->trackUpdate(e, c); });
}
void KvTrackerWrapper::trackAppOpenNotification(const AppOpenNotification* n,
                                                const KvContextProperties& c) {
  Guard("trackAppOpenNotification", [&] { inner_->trackAppOpenNotification(n, c); });
}

void KvTrackerWrapper::setLocale(const std::string& locale) {
  if (inner_) inner_->setLocale(locale);
}

std::string KvTrackerWrapper::getPrimaryDistinctId() {
  return inner_ ? inner_->getPrimaryDistinctId() : std::string();
}

}  // namespace tracker
}  // namespace kelvo

// The process-wide tracker handle.
#include <atomic>
#include <memory>

#include "kv_tracker_impl.h"
#include "kv_tracker_wrapper.h"

namespace kelvo {
namespace tracker {

namespace {

// Read from any thread (the crash path included) while the main thread may
// replace it, hence the atomic shared-pointer accesses.
std::shared_ptr<KvTracker> g_handle;

}  // namespace

void createTracker(const TrackerConfig& config) {
  // The previous tracker is released first: its destruction shuts the
  // process-wide SDK instance down, which would otherwise take the new
  // tracker's instance with it.
  releaseTracker();
  auto impl = std::make_unique<KvTrackerImpl>(config);
  try {
    impl->initialize();
  } catch (...) {
    // Kept anyway: a tracker that stopped early validates calls and records
    // nothing, so the caller runs unchanged.
  }
  std::shared_ptr<KvTracker> wrapper = std::make_shared<KvTrackerWrapper>(std::move(impl));
  std::atomic_store(&g_handle, wrapper);
}

std::shared_ptr<KvTracker> getTracker() { return std::atomic_load(&g_handle); }

void releaseTracker() {
  std::shared_ptr<KvTracker> last = std::atomic_exchange(&g_handle, std::shared_ptr<KvTracker>());
  last.reset();  // the last reference flushes and closes the tracker here
}

}  // namespace tracker
}  // namespace kelvo

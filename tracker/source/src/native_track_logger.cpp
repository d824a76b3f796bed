#include "tracker/track_logger.h"

#include <filesystem>

namespace kelvo {
namespace tracker {

NativeTrackLogger::~NativeTrackLogger() {
  if (stream_.is_open()) stream_.close();
}

void NativeTrackLogger::Open(const std::string& path) {
  std::unique_lock<std::mutex> guard(lock_, std::try_to_lock);
  // A concurrent opening is already doing this work: skip rather than wait.
  if (!guard.owns_lock()) return;
  if (path == path_) return;
  if (stream_.is_open()) stream_.close();
  position_ = 0;
  // Read-and-append mode creates the file empty when it does not exist. The
  // path is UTF-8; u8path keeps non-ASCII folders working on Windows too.
  stream_.clear();
  stream_.open(std::filesystem::u8path(path), std::ios::in | std::ios::out | std::ios::app);
  path_ = path;
}

}  // namespace tracker
}  // namespace kelvo

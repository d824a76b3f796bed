// The tracker's log file.
//
// TrackLogger is the abstract owner of the tracker's log file; whether a
// tracker has one also decides whether the wrapper prints its "Failed to"
// lines. NativeTrackLogger creates the file on Open so it exists from the
// first run on. Open may be called from any thread: a concurrent second
// Open is skipped, not waited for.
#pragma once

#include <fstream>
#include <mutex>
#include <string>

namespace kelvo {
namespace tracker {

class TrackLogger {
 public:
  virtual ~TrackLogger() = default;
};

class NativeTrackLogger : public TrackLogger {
 public:
  NativeTrackLogger() = default;
  ~NativeTrackLogger() override;
  NativeTrackLogger(const NativeTrackLogger&) = delete;
  NativeTrackLogger& operator=(const NativeTrackLogger&) = delete;

  // Opens (creating it empty when missing) the file for reading and
  // appending. The current path again does nothing, so the first stream is
  // kept; a failure leaves the stream closed and reports nothing.
  void Open(const std::string& path);

  const std::string& path() const noexcept { return path_; }
  bool isOpen() const { return stream_.is_open(); }
  int position() const noexcept { return position_; }

 private:
  std::string path_;  // UTF-8
  std::fstream stream_;
  std::mutex lock_;
  int position_ = -1;
};

}  // namespace tracker
}  // namespace kelvo

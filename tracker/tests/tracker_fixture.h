// A tracker run against a collection endpoint nobody listens on: nothing is
// delivered, so everything queued ends up in the staging file when the
// tracker is destroyed, one serialized record per line, where the tests
// read it. Each run uses its own application name, hence its own folder.
#pragma once

#include <curl/curl.h>

#include <memory>
#include <string>
#include <vector>

#include "kv_tracker_impl.h"
#include "test_support.h"
#include "tracker_paths.h"
#include "utils/identity.h"
#include "utils/text.h"

namespace tracker_test {

inline const bool kCurlReady = (curl_global_init(CURL_GLOBAL_ALL), true);

// Port 1 on loopback: connections are refused at once.
inline constexpr char kDeadUrl[] = "http://127.0.0.1:1/sa?project=pc";

inline kelvo::tracker::TrackerConfig MakeConfig(const std::string& url = kDeadUrl) {
  kelvo::tracker::TrackerConfig c;
  c.appName = "T" + Utils::WideToUtf8(Utils::NewGuidString()).substr(0, 12) + ".downloader";
  c.appVersion = "1.7.9";
  c.appStore = "tracker_tests";
  c.dlAppId = "Tarnvell";
  c.serverUrl = url;
  return c;
}

inline std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

class TrackerRun {
 public:
  explicit TrackerRun(const kelvo::tracker::TrackerConfig& config = MakeConfig())
      : config_(config), tracker_(std::make_unique<kelvo::tracker::KvTrackerImpl>(config)) {
    tracker_->initialize();
    paths_ = tracker_->paths();
  }

  kelvo::tracker::KvTrackerImpl& tracker() { return *tracker_; }
  const kelvo::tracker::TrackerPaths& paths() const { return paths_; }
  const kelvo::tracker::TrackerConfig& config() const { return config_; }

  // Destroys the tracker and answers the records it staged, oldest first.
  std::vector<std::string> ReleaseAndReadStaged() {
    tracker_.reset();
    return SplitLines(ReadText(paths_.stagingFile));
  }

 private:
  kelvo::tracker::TrackerConfig config_;
  std::unique_ptr<kelvo::tracker::KvTrackerImpl> tracker_;
  kelvo::tracker::TrackerPaths paths_;
};

inline bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The value text after "key": in a compact JSON record (up to the next
// comma or closing brace), or "<absent>".
inline std::string ValueOf(const std::string& record, const std::string& key) {
  const std::string needle = "\"" + key + "\":";
  const size_t at = record.find(needle);
  if (at == std::string::npos) return "<absent>";
  size_t start = at + needle.size();
  size_t end = start;
  if (record[start] == '"') {
    end = record.find('"', start + 1);
    while (end != std::string::npos && record[end - 1] == '\\') end = record.find('"', end + 1);
    return record.substr(start, end + 1 - start);
  }
  end = record.find_first_of(",}", start);
  return record.substr(start, end - start);
}

}  // namespace tracker_test

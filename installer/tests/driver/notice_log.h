// Test helpers: a recording DownloadCallback and a temporary folder.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "download/downloader.h"
#include "utils/folders.h"
#include "utils/sysinfo.h"
#include "utils/text.h"

struct Notice {
  int32_t code;
  double value;
  std::wstring text;
  bool operator==(const Notice& o) const {
    return code == o.code && value == o.value && text == o.text;
  }
};

inline std::ostream& operator<<(std::ostream& out, const Notice& n) {
  return out << "{" << n.code << ", " << n.value << ", \"" << Utils::WideToUtf8(n.text) << "\"}";
}

// Records every notification; safe to call from the phase threads.
class NoticeLog {
 public:
  DownloadCallback Callback() {
    return [this](int32_t code, double value, const wchar_t* text) {
      std::lock_guard<std::mutex> hold(lock_);
      notices_.push_back({code, value, text ? text : L""});
      changed_.notify_all();
    };
  }
  // Blocks until a notification with one of the codes has arrived.
  void WaitForAny(const std::vector<int32_t>& codes) {
    std::unique_lock<std::mutex> hold(lock_);
    changed_.wait(hold, [&] {
      for (const Notice& n : notices_) {
        for (int32_t c : codes) {
          if (n.code == c) return true;
        }
      }
      return false;
    });
  }
  std::vector<Notice> Take() {
    std::lock_guard<std::mutex> hold(lock_);
    return notices_;
  }
  std::vector<int32_t> Codes() {
    std::vector<int32_t> codes;
    for (const Notice& n : Take()) codes.push_back(n.code);
    return codes;
  }

 private:
  std::mutex lock_;
  std::condition_variable changed_;
  std::vector<Notice> notices_;
};

// A fresh folder under the system temporary folder, removed afterwards.
class TempFolder {
 public:
  TempFolder() {
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("tv-driver-" + std::to_string(Utils::CurrentProcessId()) + "-" +
             std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::wstring Path() const { return path_.wstring(); }
  std::wstring File(const wchar_t* name) const { return (path_ / name).wstring(); }

 private:
  std::filesystem::path path_;
};

// The sample program beside the test executable.
inline std::wstring BesideTests(const std::wstring& name) {
  std::wstring path;
  Utils::JoinPath(Utils::PathDirectory(Utils::GetModulePath()), name, &path);
  return path;
}

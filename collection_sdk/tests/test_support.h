// Small helpers of the SDK's tests: a temporary folder and file access.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

#include "utils/file.h"
#include "utils/folders.h"
#include "utils/sysinfo.h"
#include "utils/text.h"

namespace sdk_test {

// A fresh folder under the temporary folder, removed with its content.
class TempFolder {
 public:
  TempFolder() {
    static std::atomic<int> counter{0};
    const std::wstring leaf = L"collect_sdk_test_" + Utils::ToWString(Utils::CurrentProcessId()) + L"_" +
                              Utils::ToWString(static_cast<uint32_t>(counter++));
    Utils::JoinPath(Utils::GetTempFolder(), leaf, &wide_);
    Utils::CreateDirectories(wide_);
    path_ = Utils::WideToUtf8(wide_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(wide_), ignored);
  }
  const std::string& Path() const { return path_; }
  std::string File(const std::string& leaf) const { return path_ + "/" + leaf; }

 private:
  std::wstring wide_;
  std::string path_;
};

inline std::string ReadFile(const std::string& path) {
  std::string bytes;
  Utils::ReadWholeFile(Utils::Utf8ToWide(path), bytes);
  return bytes;
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
  ASSERT_TRUE(Utils::WriteFileAtomically(Utils::Utf8ToWide(path), bytes));
}

inline std::vector<std::string> SplitLines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

// "{\"n\":<i>}" for i in [first, first + count).
inline std::vector<std::string> NumberedRecords(int first, int count) {
  std::vector<std::string> records;
  for (int i = first; i < first + count; ++i) records.push_back("{\"n\":" + std::to_string(i) + "}");
  return records;
}

}  // namespace sdk_test

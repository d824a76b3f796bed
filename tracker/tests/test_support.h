// Helpers shared by the tracker tests.
#pragma once

#include <string>

#include "utils/file.h"
#include "utils/folders.h"
#include "utils/identity.h"

namespace tracker_test {

// A fresh, empty folder under the system temporary folder.
inline std::wstring MakeTempDir(const std::wstring& tag) {
  std::wstring dir = Utils::GetTempFolder() + L"tracker_" + tag + L"_" + Utils::NewGuidString();
  Utils::CreateDirectories(dir);
  return dir;
}

inline std::wstring Join(const std::wstring& a, const std::wstring& b) {
  return a + Utils::kPathSeparator + b;
}

inline std::string ReadText(const std::wstring& path) {
  std::string bytes;
  Utils::ReadWholeFile(path, bytes);
  return bytes;
}

}  // namespace tracker_test

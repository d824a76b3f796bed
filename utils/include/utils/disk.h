// Free disk space.
#pragma once

#include <cstdint>
#include <string>

namespace Utils {

class HardDiskManager {
 public:
  virtual ~HardDiskManager() = default;

  // Fills the three counts for the disk holding the directory and returns
  // true; logs "HardDiskManager::CheckFreeSpace FAIL code=%ld\r\n" with the
  // system's error code and returns false (counts unchanged) otherwise.
  bool CheckFreeSpace(const std::wstring& directory);

  uint64_t freeBytesAvailableToCaller = 0;
  uint64_t totalBytes = 0;
  uint64_t totalFreeBytes = 0;
};

}  // namespace Utils

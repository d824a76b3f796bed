#include "utils/disk.h"

#include <windows.h>

#include "utils/log.h"

namespace Utils {

bool HardDiskManager::CheckFreeSpace(const std::wstring& directory) {
  ULARGE_INTEGER available, total, free;
  if (!GetDiskFreeSpaceExW(directory.c_str(), &available, &total, &free)) {
    // Read before logging: the log's own calls may overwrite it.
    const DWORD error = GetLastError();
    UTILS_LOG(L"HardDiskManager::CheckFreeSpace FAIL code=%ld\r\n", static_cast<long>(error));
    return false;
  }
  freeBytesAvailableToCaller = available.QuadPart;
  totalBytes = total.QuadPart;
  totalFreeBytes = free.QuadPart;
  return true;
}

}  // namespace Utils

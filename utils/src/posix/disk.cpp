#include "utils/disk.h"

#include <sys/statvfs.h>

#include <cerrno>

#include "utils/file.h"
#include "utils/log.h"

namespace Utils {

bool HardDiskManager::CheckFreeSpace(const std::wstring& directory) {
  struct statvfs st;
  if (statvfs(NarrowPath(directory).c_str(), &st) != 0) {
    UTILS_LOG(L"HardDiskManager::CheckFreeSpace FAIL code=%ld\r\n", static_cast<long>(errno));
    return false;
  }
  const uint64_t unit = st.f_frsize ? st.f_frsize : st.f_bsize;
  freeBytesAvailableToCaller = static_cast<uint64_t>(st.f_bavail) * unit;
  totalBytes = static_cast<uint64_t>(st.f_blocks) * unit;
  totalFreeBytes = static_cast<uint64_t>(st.f_bfree) * unit;
  return true;
}

}  // namespace Utils

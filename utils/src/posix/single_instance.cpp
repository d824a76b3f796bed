#include "utils/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "utils/file.h"
#include "utils/folders.h"

namespace Utils {

namespace {

std::wstring LockFolder() {
  std::wstring folder = GetEnvironmentText(L"XDG_RUNTIME_DIR");
  if (folder.empty() || !IsDirectory(folder)) folder = GetEnvironmentText(L"TMPDIR");
  if (folder.empty()) folder = L"/tmp";
  return folder;
}

}  // namespace

void SingleInstanceLock::Acquire() {
  if (handle_ != kInvalidHandle) return;
  std::wstring path;
  if (!JoinPath(LockFolder(), FullName() + L".lock", &path)) return;
  const int fd = open(NarrowPath(path).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return;
  // The lock belongs to this open file: another process, or another lock
  // object in this process, that opens the file cannot take it.
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    close(fd);
    return;
  }
  handle_ = fd;
}

void SingleInstanceLock::Release() {
  if (handle_ == kInvalidHandle) return;
  flock(static_cast<int>(handle_), LOCK_UN);
  close(static_cast<int>(handle_));
  handle_ = kInvalidHandle;
}

}  // namespace Utils

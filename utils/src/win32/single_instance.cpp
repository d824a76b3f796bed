// One installer per session: a named mutex, created initially owned. Any
// existing mutex of that name, even one this process made, means another
// holder.
#include "utils/single_instance.h"

#include <windows.h>

namespace Utils {

void SingleInstanceLock::Acquire() {
  if (handle_ != kInvalidHandle) return;
  HANDLE mutex = CreateMutexW(nullptr, TRUE, FullName().c_str());
  if (!mutex) return;
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return;
  }
  handle_ = mutex;
}

void SingleInstanceLock::Release() {
  if (handle_ == kInvalidHandle) return;
  ReleaseMutex(handle_);
  CloseHandle(handle_);
  handle_ = kInvalidHandle;
}

}  // namespace Utils

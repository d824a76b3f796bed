// Raw standard output with WriteFile on the standard output handle, which
// bypasses the C runtime's text-mode translation.
#include "utils/standard_output.h"

#include <windows.h>

namespace Utils {

bool WriteStandardOutput(const void* data, size_t size) {
  HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  if (output == nullptr || output == INVALID_HANDLE_VALUE) return false;
  const char* bytes = static_cast<const char*>(data);
  while (size > 0) {
    DWORD written = 0;
    const DWORD chunk = size > 0x10000 ? 0x10000 : static_cast<DWORD>(size);
    if (!WriteFile(output, bytes, chunk, &written, nullptr) || written == 0) return false;
    bytes += written;
    size -= written;
  }
  return true;
}

}  // namespace Utils

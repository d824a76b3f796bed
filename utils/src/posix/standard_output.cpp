// Raw standard output with write(2).
#include "utils/standard_output.h"

#include <errno.h>
#include <unistd.h>

namespace Utils {

bool WriteStandardOutput(const void* data, size_t size) {
  const char* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t written = write(STDOUT_FILENO, bytes, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

}  // namespace Utils

// The debugger channel elsewhere than Windows: the line, UTF-8, on standard
// error, written with one write call so lines from several threads do not
// mix within a line.
#include <unistd.h>

#include <cerrno>

#include "utils/log.h"
#include "utils/text.h"

namespace Utils {

void WriteDebugOutput(const std::wstring& line) noexcept {
  try {
    const std::string bytes = WideToUtf8(line);
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
      const ssize_t n = write(STDERR_FILENO, p, left);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return;
      p += n;
      left -= static_cast<size_t>(n);
    }
  } catch (...) {
  }
}

}  // namespace Utils

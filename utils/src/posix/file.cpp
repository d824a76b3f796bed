#include "utils/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

#include "utils/sysinfo.h"
#include "utils/text.h"

namespace Utils {

std::string NarrowPath(const std::wstring& path) { return WideToUtf8(path); }

bool ReadWholeFile(const std::wstring& path, std::string& bytes) {
  const int fd = open(NarrowPath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  std::string out;
  char buffer[65536];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      close(fd);
      return false;
    }
    if (n == 0) break;
    out.append(buffer, static_cast<size_t>(n));
  }
  close(fd);
  bytes.swap(out);
  return true;
}

bool WriteFileAtomically(const std::wstring& path, const std::string& bytes) {
  static std::atomic<unsigned> counter{0};
  const std::string target = NarrowPath(path);
  const std::string temp = target + ".tmp" + std::to_string(CurrentProcessId()) + "_" +
                           std::to_string(counter.fetch_add(1));
  const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const char* p = bytes.data();
  size_t left = bytes.size();
  bool ok = true;
  while (left > 0) {
    const ssize_t n = write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
      break;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  if (ok && fsync(fd) != 0) ok = false;
  if (close(fd) != 0) ok = false;
  if (ok && rename(temp.c_str(), target.c_str()) != 0) ok = false;
  if (!ok) unlink(temp.c_str());
  return ok;
}

bool RemoveFile(const std::wstring& path) { return unlink(NarrowPath(path).c_str()) == 0; }

std::FILE* OpenFileForReading(const std::wstring& path) {
  return std::fopen(NarrowPath(path).c_str(), "rb");
}

}  // namespace Utils

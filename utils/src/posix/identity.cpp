#include "utils/identity.h"

#include <sys/random.h>
#include <sys/utsname.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <random>

#include "utils/format.h"
#include "utils/text.h"

namespace Utils {

namespace {

void RandomBytes(unsigned char* out, size_t size) {
  size_t got = 0;
  while (got < size) {
    const ssize_t n = getrandom(out + got, size - got, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  if (got < size) {  // no kernel source: never leave the identifier predictable
    std::random_device device;
    for (; got < size; ++got) out[got] = static_cast<unsigned char>(device());
  }
}

}  // namespace

std::wstring NewGuidString() {
  unsigned char b[16];
  RandomBytes(b, sizeof b);
  // A version-4, RFC 4122 variant identifier, as CoCreateGuid makes.
  b[6] = static_cast<unsigned char>((b[6] & 0x0F) | 0x40);
  b[8] = static_cast<unsigned char>((b[8] & 0x3F) | 0x80);
  const uint32_t data1 = (uint32_t{b[0]} << 24) | (uint32_t{b[1]} << 16) | (uint32_t{b[2]} << 8) | b[3];
  const unsigned data2 = (unsigned{b[4]} << 8) | b[5];
  const unsigned data3 = (unsigned{b[6]} << 8) | b[7];
  return FormatW(L"%08X%04X%04x%02X%02X%02X%02X%02X%02X%02X%02X", data1, data2, data3, b[8], b[9],
                 b[10], b[11], b[12], b[13], b[14], b[15]);
}

bool IsWow64() {
  if (sizeof(void*) != 4) return false;
  struct utsname u;
  if (uname(&u) != 0) return false;
  return std::strcmp(u.machine, "x86_64") == 0 || std::strcmp(u.machine, "aarch64") == 0;
}

void GetOsVersion(std::wstring& platform, std::wstring& version) {
  platform = L"Linux";
  struct utsname u;
  version = uname(&u) == 0 ? Utf8ToWide(u.release) : std::wstring();
}

}  // namespace Utils

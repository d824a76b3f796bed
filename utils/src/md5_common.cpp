// File digests on top of the platform's streaming MD5.
#include <cstdio>

#include "utils/file.h"
#include "utils/md5.h"
#include "utils/text.h"

namespace Utils {

namespace detail {

std::string HexLower(const unsigned char* bytes, size_t size) {
  static const char kHex[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(size * 2);
  for (size_t i = 0; i < size; ++i) {
    hex.push_back(kHex[bytes[i] >> 4]);
    hex.push_back(kHex[bytes[i] & 15]);
  }
  return hex;
}

}  // namespace detail

std::string FileMd5W(const std::wstring& path) {
  if (path.empty()) return std::string();
  std::FILE* f = OpenFileForReading(path);
  if (!f) return std::string();
  Md5 md5;
  // Large blocks: the digest is the same for any block size.
  static constexpr size_t kBlock = 1 << 20;
  std::string buffer(kBlock, '\0');
  size_t n;
  bool ok = true;
  while ((n = std::fread(&buffer[0], 1, kBlock, f)) > 0) ok = md5.Update(buffer.data(), n) && ok;
  ok = ok && !std::ferror(f);
  std::fclose(f);
  return ok ? md5.HexDigest() : std::string();
}

std::string FileMd5(const std::string& path) {
  return FileMd5W(MultiByteToWide(path, kCodePageAnsi));
}

}  // namespace Utils

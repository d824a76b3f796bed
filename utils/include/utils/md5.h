// MD5 (RFC 1321) through the platform's crypto library (CryptoAPI on
// Windows, OpenSSL's libcrypto elsewhere).
//
// Md5 is a streaming digest: feed it while a file is written, so a download
// is verified without reading the file again. One object per thread.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace Utils {

class Md5 {
 public:
  Md5();
  ~Md5();
  Md5(const Md5&) = delete;
  Md5& operator=(const Md5&) = delete;

  // False once the underlying library failed; the digest is then empty.
  bool Update(const void* data, size_t size);
  // 32 lower-case hexadecimal characters, or empty after a failure. Ends the
  // digest; call Reset before reusing the object.
  std::string HexDigest();
  void Reset();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// The MD5 of a file's content as 32 lower-case hexadecimal characters; empty
// when the path is empty, the file cannot be opened or anything fails. The
// path is 8-bit text in the ANSI code page.
std::string FileMd5(const std::string& path);
// The same for a wide path.
std::string FileMd5W(const std::wstring& path);

namespace detail {
// Bytes as lower-case hexadecimal, two characters each.
std::string HexLower(const unsigned char* bytes, size_t size);
}  // namespace detail

}  // namespace Utils

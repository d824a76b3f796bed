// MD5 through OpenSSL's libcrypto (EVP interface).
#include "utils/md5.h"

#include <openssl/evp.h>

#include <cstdio>

#include "utils/file.h"
#include "utils/text.h"

namespace Utils {

struct Md5::State {
  EVP_MD_CTX* ctx = nullptr;
  bool failed = false;
};

Md5::Md5() : state_(new State) { Reset(); }

Md5::~Md5() {
  if (state_->ctx) EVP_MD_CTX_free(state_->ctx);
}

void Md5::Reset() {
  if (!state_->ctx) state_->ctx = EVP_MD_CTX_new();
  state_->failed = !state_->ctx || EVP_DigestInit_ex(state_->ctx, EVP_md5(), nullptr) != 1;
}

bool Md5::Update(const void* data, size_t size) {
  if (state_->failed) return false;
  if (size && EVP_DigestUpdate(state_->ctx, data, size) != 1) state_->failed = true;
  return !state_->failed;
}

std::string Md5::HexDigest() {
  if (state_->failed) return std::string();
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  state_->failed = true;  // ended until Reset
  if (EVP_DigestFinal_ex(state_->ctx, digest, &length) != 1 || length != 16) return std::string();
  static const char kHex[] = "0123456789abcdef";
  std::string hex;
  for (unsigned i = 0; i < length; ++i) {
    hex.push_back(kHex[digest[i] >> 4]);
    hex.push_back(kHex[digest[i] & 15]);
  }
  return hex;
}

std::string FileMd5W(const std::wstring& path) {
  if (path.empty()) return std::string();
  FILE* f = std::fopen(NarrowPath(path).c_str(), "rb");
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

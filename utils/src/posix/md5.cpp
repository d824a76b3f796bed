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
  return detail::HexLower(digest, length);
}

}  // namespace Utils

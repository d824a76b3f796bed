// MD5 through CryptoAPI: one ephemeral context (no key container) and one
// hash object per digest.
#include "utils/md5.h"

#include <windows.h>
#include <wincrypt.h>

#include <cstdio>

#include "utils/text.h"

namespace Utils {

struct Md5::State {
  HCRYPTPROV provider = 0;
  HCRYPTHASH hash = 0;
  bool failed = false;
};

Md5::Md5() : state_(new State) {
  if (!CryptAcquireContextW(&state_->provider, nullptr, nullptr, PROV_RSA_FULL,
                            CRYPT_VERIFYCONTEXT)) {
    state_->provider = 0;
  }
  Reset();
}

Md5::~Md5() {
  if (state_->hash) CryptDestroyHash(state_->hash);
  if (state_->provider) CryptReleaseContext(state_->provider, 0);
}

void Md5::Reset() {
  if (state_->hash) CryptDestroyHash(state_->hash);
  state_->hash = 0;
  state_->failed = !state_->provider ||
                   !CryptCreateHash(state_->provider, CALG_MD5, 0, 0, &state_->hash);
  if (state_->failed) state_->hash = 0;
}

bool Md5::Update(const void* data, size_t size) {
  if (state_->failed) return false;
  // CryptHashData takes a 32-bit length.
  const BYTE* p = static_cast<const BYTE*>(data);
  while (size > 0 && !state_->failed) {
    const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
    if (!CryptHashData(state_->hash, p, chunk, 0)) state_->failed = true;
    p += chunk;
    size -= chunk;
  }
  return !state_->failed;
}

std::string Md5::HexDigest() {
  if (state_->failed) return std::string();
  BYTE digest[16];
  DWORD length = sizeof digest;
  state_->failed = true;  // ended until Reset: the system refuses more data anyway
  if (!CryptGetHashParam(state_->hash, HP_HASHVAL, digest, &length, 0) || length != 16) {
    return std::string();
  }
  return detail::HexLower(digest, length);
}

}  // namespace Utils

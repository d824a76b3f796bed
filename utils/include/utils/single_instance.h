// Utils::SingleInstanceLock: one installer per session.
//
// Windows: the named mutex "D1A547DB89C0BC61_" + name, created initially
// owned; ERROR_ALREADY_EXISTS means another instance holds it. Elsewhere:
// flock on "<$XDG_RUNTIME_DIR, else the temporary folder>/D1A547DB89C0BC61_"
// + name + ".lock", held for as long as the object holds it.
//
// Thread safety: belongs to one thread.
#pragma once

#include <string>

#include "utils/handle.h"

namespace Utils {

class SingleInstanceLock {
 public:
  static constexpr wchar_t kPrefix[] = L"D1A547DB89C0BC61_";

  explicit SingleInstanceLock(std::wstring name) : name_(std::move(name)) {}
  ~SingleInstanceLock() { Release(); }
  SingleInstanceLock(const SingleInstanceLock&) = delete;
  SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

  // Takes the lock when not held yet; a second call does nothing. Afterwards
  // Held() is true exactly when this process holds it.
  void Acquire();
  bool Held() const { return handle_ != kInvalidHandle; }
  // Releases and closes the lock when held.
  void Release();

  std::wstring FullName() const { return kPrefix + name_; }

 private:
  std::wstring name_;
  NativeHandle handle_ = kInvalidHandle;
};

}  // namespace Utils

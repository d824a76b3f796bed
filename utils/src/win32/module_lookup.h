// Run-time look-up of optional system functions, shared by the Win32
// service files: newer functions are found when the system has them, so the
// executable still starts on older Windows.
#pragma once

#include <windows.h>

namespace Utils {
namespace win32 {

// GetProcAddress answers a generic pointer; going through void (*)() keeps
// the compiler from warning about the cast to the real signature.
template <class F>
F LookUp(HMODULE module, const char* name) {
  if (!module) return nullptr;
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace win32
}  // namespace Utils

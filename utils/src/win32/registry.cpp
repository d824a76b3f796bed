// String values under the product's key in HKEY_CURRENT_USER.
#include "utils/registry.h"

#include <windows.h>

#include <vector>

namespace Utils {

bool WriteRegString(const std::wstring& valueName, const std::wstring& text) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kRegistryKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  // The characters only, no terminating zero: readers add their own.
  const LONG rc = RegSetValueExW(key, valueName.c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(text.c_str()),
                                 static_cast<DWORD>(text.size() * sizeof(wchar_t)));
  RegCloseKey(key);
  return rc == ERROR_SUCCESS;
}

bool ReadRegString(const std::wstring& valueName, std::wstring& text) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kRegistryKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return false;
  }
  DWORD size = 0;
  LONG rc = RegQueryValueExW(key, valueName.c_str(), nullptr, nullptr, nullptr, &size);
  std::vector<wchar_t> buffer;
  // Stored data need not end with a zero (nor be text at all); the buffer
  // keeps one zero character past what the system may write. The value may
  // grow between the two calls: ask again then.
  for (int attempt = 0; rc == ERROR_SUCCESS && attempt < 4; ++attempt) {
    buffer.assign(size / sizeof(wchar_t) + 2, L'\0');
    DWORD bytes = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
    rc = RegQueryValueExW(key, valueName.c_str(), nullptr, nullptr,
                          reinterpret_cast<BYTE*>(buffer.data()), &bytes);
    if (rc != ERROR_MORE_DATA) break;
    size = bytes;
    rc = ERROR_SUCCESS;
  }
  RegCloseKey(key);
  if (rc != ERROR_SUCCESS || buffer.empty()) return false;
  text.assign(buffer.data());  // up to the first zero character
  return true;
}

}  // namespace Utils

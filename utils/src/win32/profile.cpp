// On Windows the profile functions are the system's own. They take a
// relative file name as relative to the Windows folder; callers pass
// absolute paths.
#include "utils/profile.h"

#include <windows.h>

#include <vector>

namespace Utils {
namespace Profile {

std::wstring GetString(const std::wstring& section, const std::wstring& key,
                       const std::wstring& fallback, size_t bufferChars,
                       const std::wstring& file) {
  if (bufferChars == 0) return std::wstring();
  if (bufferChars > MAXDWORD) bufferChars = MAXDWORD;
  std::vector<wchar_t> buffer(bufferChars, L'\0');
  const DWORD n = GetPrivateProfileStringW(section.c_str(), key.c_str(), fallback.c_str(),
                                           buffer.data(), static_cast<DWORD>(bufferChars),
                                           file.c_str());
  return std::wstring(buffer.data(), n < bufferChars ? n : bufferChars - 1);
}

int32_t GetInt(const std::wstring& section, const std::wstring& key, int32_t fallback,
               const std::wstring& file) {
  return static_cast<int32_t>(
      GetPrivateProfileIntW(section.c_str(), key.c_str(), fallback, file.c_str()));
}

bool WriteString(const std::wstring& section, const std::wstring& key,
                 const std::wstring& value, const std::wstring& file) {
  return WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(),
                                    file.c_str()) != FALSE;
}

}  // namespace Profile
}  // namespace Utils

// Elsewhere than Windows the profile functions are the portable ones.
#include "utils/profile.h"

namespace Utils {
namespace Profile {

std::wstring GetString(const std::wstring& section, const std::wstring& key,
                       const std::wstring& fallback, size_t bufferChars,
                       const std::wstring& file) {
  return PortableProfile::GetString(section, key, fallback, bufferChars, file);
}

int32_t GetInt(const std::wstring& section, const std::wstring& key, int32_t fallback,
               const std::wstring& file) {
  return PortableProfile::GetInt(section, key, fallback, file);
}

bool WriteString(const std::wstring& section, const std::wstring& key,
                 const std::wstring& value, const std::wstring& file) {
  return PortableProfile::WriteString(section, key, value, file);
}

}  // namespace Profile
}  // namespace Utils

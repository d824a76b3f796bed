// The product's registry key elsewhere than Windows: one INI-format file.
#include "utils/registry.h"

#include "utils/folders.h"
#include "utils/profile.h"

namespace Utils {

namespace {

constexpr wchar_t kSection[] = L"HKEY_CURRENT_USER\\Software\\KelVoSoft\\Tarnvell";

std::wstring RegistryFile() {
  const std::wstring base = GetRoamingAppDataFolder();
  return base.empty() ? std::wstring() : base + L"/KelVoSoft/Tarnvell.reg";
}

}  // namespace

bool WriteRegString(const std::wstring& valueName, const std::wstring& text) {
  const std::wstring file = RegistryFile();
  if (file.empty() || !CreateDirectories(PathDirectory(file))) return false;
  return PortableProfile::WriteString(kSection, valueName, text, file);
}

bool ReadRegString(const std::wstring& valueName, std::wstring& text) {
  const std::wstring file = RegistryFile();
  if (file.empty() || !PathExists(file)) return false;
  // A marker that no stored value can equal (it holds a line break) tells
  // "absent" from "empty".
  static const std::wstring kAbsent = L"\n<absent>";
  std::wstring value = PortableProfile::GetString(kSection, valueName, kAbsent, 1 << 20, file);
  if (value == kAbsent) return false;
  text = value;
  return true;
}

}  // namespace Utils

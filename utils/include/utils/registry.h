// String values under HKEY_CURRENT_USER\Software\KelVoSoft\Tarnvell.
//
// Elsewhere the key is one INI-format file, $XDG_CONFIG_HOME (else
// ~/.config) + "/KelVoSoft/Tarnvell.reg", section
// "HKEY_CURRENT_USER\Software\KelVoSoft\Tarnvell", replaced atomically
// (temporary file, flush, rename) on every write. Values there cannot hold
// line breaks; writing one fails instead of storing something else.
// Thread safety: any thread; concurrent writers from several processes may
// lose one another's update (last rename wins), as with the registry.
#pragma once

#include <string>

namespace Utils {

inline constexpr wchar_t kRegistryKey[] = L"Software\\KelVoSoft\\Tarnvell";

bool WriteRegString(const std::wstring& valueName, const std::wstring& text);
// False, text unchanged, when the key or the value is missing.
bool ReadRegString(const std::wstring& valueName, std::wstring& text);

}  // namespace Utils

// INI profile functions with the Win32 semantics the installer relies on.
//
// Sections and keys match case-insensitively; the first matching section and
// the first matching key win; values are trimmed and lose one pair of
// enclosing quotes; an absent key gives the fallback text (trailing blanks
// removed); results are cut to bufferChars - 1 characters, as a Win32 buffer
// of that size would cut them. Lines starting with ';' are comments.
//
// On Windows the Profile functions are the Win32 profile functions
// themselves; elsewhere they are PortableProfile, the project's own reader
// and writer (UTF-8 files, UTF-16LE with a byte-order mark read too; writes
// replace the file atomically: temporary file, flush, rename).
// PortableProfile is built on every platform so its answers can be compared
// with the system's.
//
// Thread safety: any thread; each call reads or rewrites the whole file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace Utils {

namespace Profile {
std::wstring GetString(const std::wstring& section, const std::wstring& key,
                       const std::wstring& fallback, size_t bufferChars,
                       const std::wstring& file);
// GetPrivateProfileIntW: the fallback when the key is absent or empty, else
// the number the text starts with (see ProfileTextToInt).
int32_t GetInt(const std::wstring& section, const std::wstring& key, int32_t fallback,
               const std::wstring& file);
// Creates the file, section or key as needed. False when it cannot be written.
bool WriteString(const std::wstring& section, const std::wstring& key,
                 const std::wstring& value, const std::wstring& file);
}  // namespace Profile

namespace PortableProfile {
std::wstring GetString(const std::wstring& section, const std::wstring& key,
                       const std::wstring& fallback, size_t bufferChars,
                       const std::wstring& file);
int32_t GetInt(const std::wstring& section, const std::wstring& key, int32_t fallback,
               const std::wstring& file);
bool WriteString(const std::wstring& section, const std::wstring& key,
                 const std::wstring& value, const std::wstring& file);
}  // namespace PortableProfile

// The conversion GetPrivateProfileIntW applies to a value text: blanks and a
// sign allowed, "0x"/"0o"/"0b" prefixes for bases 16, 8 and 2, else
// decimal; 0 when no digit follows; 32-bit wrap-around on overflow.
int32_t ProfileTextToInt(const std::wstring& text);

}  // namespace Utils

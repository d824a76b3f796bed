// Identity and platform facts.
// Thread safety: any thread.
#pragma once

#include <string>

namespace Utils {

// A new random identifier as 32 hexadecimal characters: the first, second
// and last parts of the GUID in upper case, the third part (characters 13 to
// 16) in lower case, no separators.
std::wstring NewGuidString();

// True for a 32-bit process on a 64-bit system.
bool IsWow64();

// Platform ("Windows"; "Linux" elsewhere) and version name: the table of
// Windows version names ("XP", "7", "10", ...; "XP-" when the version cannot
// be read); elsewhere the kernel release.
void GetOsVersion(std::wstring& platform, std::wstring& version);

// The Windows version name for major.minor.build (serverR2: the
// SM_SERVERR2 metric), used by GetOsVersion and its tests.
std::wstring WindowsVersionName(unsigned major, unsigned minor, unsigned build, bool serverR2);

}  // namespace Utils

// How the tracker names the system: OS name and version text, 64-bit test,
// user agent, locale texts, and the UTF-8 normalisation of caller texts.
// Pure functions or read-only system probes; any thread.
#pragma once

#include <string>

#include "utils/desktop_info.h"

namespace kelvo {
namespace tracker {

// The version text for Windows version numbers ("XP", "7-32", "10", "11",
// "6.4.9800", ...). A major version of 4 or below gives "XP-".
std::string WindowsVersionText(const Utils::WindowsVersionNumbers& v, bool is64);

// The running system's name ("Windows"; "Linux" elsewhere) and version text
// (the table above on Windows, "XP-" when unreadable; the kernel release
// elsewhere).
std::string OsName();
std::string OsVersionText();

// A 32-bit process on a 64-bit Windows, or any 64-bit process.
bool Is64BitSystem();

// "Mozilla/5.0(<os> <version>; Win64;)" or "...; Win32;)".
std::string UserAgent(const std::string& osName, const std::string& osVersion, bool is64);

struct LocaleTexts {
  std::string locale;    // "zh_CN"
  std::string language;  // "zh"
  std::string country;   // "CN"
};
// From the tracker's locale text when it holds "_"; otherwise the user's
// system locale; all three empty when that cannot be read.
LocaleTexts ComputeLocaleTexts(const std::string& localeText);

// Strict UTF-8 (control bytes other than tab, LF, CR refused), as the SDK's
// string check accepts it.
bool IsStrictUtf8(const std::string& text);
// Valid strict UTF-8 unchanged; anything else read as ANSI-code-page text
// and converted to UTF-8.
std::string NormaliseText(const std::string& text);

// Milliseconds since 1970-01-01 UTC from the system clock.
long long NowMilliseconds();

}  // namespace tracker
}  // namespace kelvo

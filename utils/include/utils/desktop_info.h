// Facts about the user's desktop that usage reports describe: the exact
// system version numbers, the primary screen size and the user's locale.
//
// Thread safety: any thread; no state. Never blocks.
#pragma once

#include <string>

namespace Utils {

struct WindowsVersionNumbers {
  unsigned major = 0;
  unsigned minor = 0;
  unsigned build = 0;     // low 16 bits of the build number
  bool serverR2 = false;  // the SM_SERVERR2 metric
};

// RtlGetNtVersionNumbers (looked up in ntdll.dll at run time). False when
// the numbers cannot be read, and always elsewhere than Windows.
bool GetWindowsVersionNumbers(WindowsVersionNumbers& out);

// Primary screen size in pixels (SM_CXSCREEN, SM_CYSCREEN). False, both 0,
// when there is no screen to ask (elsewhere than Windows the installer's
// reports do not depend on a display server).
bool GetPrimaryScreenSize(int& width, int& height);

// The user's ISO 639 language and ISO 3166 country names ("zh", "CN"):
// GetLocaleInfoA with LOCALE_USER_DEFAULT; elsewhere the first of LC_ALL,
// LC_MESSAGES, LANG that is set and names a language ("en_US.UTF-8"). False,
// both empty, when either is unknown.
bool GetUserLocaleNames(std::string& language, std::string& country);

}  // namespace Utils

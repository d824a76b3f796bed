#include "utils/desktop_info.h"

#include <windows.h>

#include "module_lookup.h"

namespace Utils {

bool GetWindowsVersionNumbers(WindowsVersionNumbers& out) {
  // RtlGetNtVersionNumbers tells the truth where GetVersionEx answers what
  // the executable's manifest lets it see.
  using RtlGetNtVersionNumbersFn = void(WINAPI*)(DWORD*, DWORD*, DWORD*);
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  if (!ntdll) ntdll = LoadLibraryW(L"ntdll.dll");
  const auto fn = win32::LookUp<RtlGetNtVersionNumbersFn>(ntdll, "RtlGetNtVersionNumbers");
  if (!fn) return false;
  DWORD major = 0, minor = 0, build = 0;
  fn(&major, &minor, &build);
  out.major = major;
  out.minor = minor;
  out.build = build & 0xFFFFu;
  out.serverR2 = GetSystemMetrics(SM_SERVERR2) != 0;
  return true;
}

bool GetPrimaryScreenSize(int& width, int& height) {
  width = GetSystemMetrics(SM_CXSCREEN);
  height = GetSystemMetrics(SM_CYSCREEN);
  return width > 0 && height > 0;
}

bool GetUserLocaleNames(std::string& language, std::string& country) {
  char lang[16] = {};
  char ctry[16] = {};
  language.clear();
  country.clear();
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SISO639LANGNAME, lang, sizeof lang) == 0 ||
      GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SISO3166CTRYNAME, ctry, sizeof ctry) == 0) {
    return false;
  }
  language = lang;
  country = ctry;
  return true;
}

}  // namespace Utils

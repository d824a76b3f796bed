#include "utils/identity.h"

namespace Utils {

std::wstring WindowsVersionName(unsigned major, unsigned minor, unsigned build, bool serverR2) {
  if (major <= 4) return L"XP-";
  if (major == 5) {
    switch (minor) {
      case 0: return L"2K";
      case 1: return L"XP";
      case 2: return serverR2 ? L"Server 2003 R2" : L"Server 2003";
      default: return L"XP+";
    }
  }
  if (major == 6) {
    switch (minor) {
      case 0: return L"Vista";
      case 1: return L"7";
      case 2: return L"8";
      case 3: return L"8.1";
      default: return L"8.1+";
    }
  }
  if (major == 10) return minor == 0 ? L"10" : L"10+";
  return std::to_wstring(major) + L"." + std::to_wstring(minor) + L"." +
         std::to_wstring(build & 0xFFFFu);
}

}  // namespace Utils

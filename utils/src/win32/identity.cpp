// Identity and platform facts. Functions newer than Windows XP SP0 are
// looked up at run time so the executable still loads there.
#include "utils/identity.h"

#include <windows.h>
#include <objbase.h>

#include <random>

#include "utils/desktop_info.h"
#include "utils/format.h"

#include "module_lookup.h"

namespace Utils {

using win32::LookUp;

std::wstring NewGuidString() {
  GUID g{};
  if (FAILED(CoCreateGuid(&g))) {
    // Never leave the identifier predictable, even if the system refuses.
    std::random_device device;
    g.Data1 = device();
    g.Data2 = static_cast<unsigned short>(device());
    g.Data3 = static_cast<unsigned short>((device() & 0x0FFF) | 0x4000);
    for (unsigned char& b : g.Data4) b = static_cast<unsigned char>(device());
  }
  const unsigned char* d = g.Data4;
  return FormatW(L"%08X%04X%04x%02X%02X%02X%02X%02X%02X%02X%02X",
                 static_cast<unsigned>(g.Data1), unsigned{g.Data2}, unsigned{g.Data3},
                 unsigned{d[0]}, unsigned{d[1]}, unsigned{d[2]}, unsigned{d[3]}, unsigned{d[4]},
                 unsigned{d[5]}, unsigned{d[6]}, unsigned{d[7]});
}

bool IsWow64() {
  using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
  using GetNativeSystemInfoFn = void(WINAPI*)(LPSYSTEM_INFO);
  const HMODULE kernel = GetModuleHandleW(L"kernel32");
  const auto isWow64Process = LookUp<IsWow64ProcessFn>(kernel, "IsWow64Process");
  if (!isWow64Process) return false;  // older than XP SP2: no 64-bit system either
  BOOL wow64 = FALSE;
  if (isWow64Process(GetCurrentProcess(), &wow64)) return wow64 != FALSE;
  const auto getNativeSystemInfo = LookUp<GetNativeSystemInfoFn>(kernel, "GetNativeSystemInfo");
  if (!getNativeSystemInfo) return false;
  SYSTEM_INFO info{};
  getNativeSystemInfo(&info);
  return info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ||
         info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_IA64;
}

void GetOsVersion(std::wstring& platform, std::wstring& version) {
  // Without ntdll's numbers major reads 0, which names "XP-".
  WindowsVersionNumbers numbers;
  GetWindowsVersionNumbers(numbers);
  platform = L"Windows";
  version = WindowsVersionName(numbers.major, numbers.minor, numbers.build, numbers.serverR2);
}

}  // namespace Utils

// Hardening of the DLL search: only the system folder for later loads, the
// current directory out of the search, and the system copies of libraries
// that are commonly planted beside downloaded executables loaded first.
#include "utils/library_search.h"

#include <windows.h>

#include <atomic>
#include <string>

#include "module_lookup.h"

namespace Utils {

using win32::LookUp;

namespace {

using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
using SetDllDirectoryWFn = BOOL(WINAPI*)(LPCWSTR);

// Windows 8 and later (Windows 7 with KB2533623); kept once found, in case
// the module handle cannot be had on a later call.
std::atomic<SetDefaultDllDirectoriesFn> g_setDefaultDllDirectories{nullptr};

constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

constexpr const wchar_t* kPreloaded[] = {
    L"\\version.dll", L"\\ws2_32.dll", L"\\sxs.dll",     L"\\dwmapi.dll",         L"\\msimg32.dll",
    L"\\d3d8.dll",    L"\\ieframe.dll", L"\\ws2help.dll", L"\\WindowsCodecs.dll"};

}  // namespace

void HardenDllSearch() {
  wchar_t systemFolder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(systemFolder, MAX_PATH);

  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  if (const auto found = LookUp<SetDefaultDllDirectoriesFn>(kernel, "SetDefaultDllDirectories")) {
    g_setDefaultDllDirectories.store(found);
  }
  if (const auto setDefault = g_setDefaultDllDirectories.load()) setDefault(kSearchSystem32);
  // XP SP1 and later.
  if (const auto setDllDirectory = LookUp<SetDllDirectoryWFn>(kernel, "SetDllDirectoryW")) {
    setDllDirectory(L"");
  }

  // Without the system folder the names would be looked up elsewhere,
  // which is what this must never do.
  if (length == 0 || length >= MAX_PATH) return;
  const std::wstring folder(systemFolder, length);
  for (const wchar_t* name : kPreloaded) LoadLibraryW((folder + name).c_str());
}

}  // namespace Utils

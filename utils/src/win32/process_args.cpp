// The process's own arguments as the system splits its command line.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "utils/cmdline.h"

namespace Utils {

std::vector<std::wstring> GetProcessArguments() {
  std::vector<std::wstring> args;
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!argv) return args;
  for (int i = 0; i < count; ++i) args.emplace_back(argv[i] ? argv[i] : L"");
  LocalFree(argv);
  return args;
}

}  // namespace Utils

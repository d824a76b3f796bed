// Test paths on Windows: under Wine the Debian font is reached through the
// Z: drive, which maps the Unix root.
#include <windows.h>

#include <cstdlib>

#include "../test_support.h"
#include "utils/text.h"

namespace skinui::test {

std::string TestFontFile() {
  if (const wchar_t* env = _wgetenv(L"TARNVELL_SKIN_FONT")) return Utils::WideToUtf8(env);
  const wchar_t* path = L"Z:\\usr\\share\\fonts\\truetype\\wqy\\wqy-microhei.ttc";
  const DWORD attributes = GetFileAttributesW(path);
  return attributes != INVALID_FILE_ATTRIBUTES ? Utils::WideToUtf8(path) : std::string();
}

std::string TestOutputFolder() {
  wchar_t buffer[MAX_PATH] = {};
  const DWORD n = GetTempPathW(MAX_PATH, buffer);
  std::wstring folder(buffer, n);
  while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
  return Utils::WideToUtf8(folder);
}

}  // namespace skinui::test

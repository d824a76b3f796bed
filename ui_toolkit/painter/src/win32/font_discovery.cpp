// Font discovery on Windows: the Fonts folder's Chinese UI fonts, then the
// Latin UI fonts every Windows has.
#include <windows.h>
#include <shlobj.h>

#include <cstdlib>

#include "font_internal.h"
#include "utils/text.h"

namespace skinui {
namespace {

std::wstring FontsFolder() {
  wchar_t path[MAX_PATH] = {};
  if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_FONTS, nullptr, 0, path)) && path[0])
    return path;
  const wchar_t* windir = _wgetenv(L"WINDIR");
  return windir ? std::wstring(windir) + L"\\Fonts" : std::wstring(L"C:\\Windows\\Fonts");
}

bool IsFile(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::string FontOverrideFromEnvironment() {
  const wchar_t* value = _wgetenv(L"TARNVELL_SKIN_FONT");
  return value ? Utils::WideToUtf8(value) : std::string();
}

// The family name is not matched: the skins name Microsoft YaHei, and the
// files below are tried in the order that serves Chinese text best.
std::vector<std::string> PlatformFontCandidates(const std::wstring& /*family*/) {
  const std::wstring folder = FontsFolder();
  std::vector<std::string> found;
  for (const wchar_t* file : {L"msyh.ttc", L"msyh.ttf", L"simsun.ttc", L"segoeui.ttf",
                              L"tahoma.ttf"}) {
    const std::wstring path = folder + L"\\" + file;
    if (IsFile(path)) found.push_back(Utils::WideToUtf8(path));
  }
  return found;
}

}  // namespace skinui

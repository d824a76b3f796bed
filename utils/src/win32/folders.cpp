// Folders and paths with the wide file API and the shell's folder table.
#include "utils/folders.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

namespace Utils {

namespace {

constexpr wchar_t kTempFolderName[] = L"~KelVoTemp.92482B06FB471E17\\";

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// Characters of the path's root, which exists or not but can never be
// created: "C:\", a leading separator, or the "\\server\share\" of a UNC
// path. Separators inside it are not folders to make.
size_t RootLength(const std::wstring& path) {
  if (path.size() >= 3 && path[1] == L':' && IsSeparator(path[2])) return 3;
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    size_t i = 2;
    for (int part = 0; part < 2 && i < path.size(); ++part) {
      while (i < path.size() && !IsSeparator(path[i])) ++i;
      if (i < path.size()) ++i;  // the separator ending the server or share
    }
    return i;
  }
  if (!path.empty() && IsSeparator(path[0])) return 1;
  return 0;
}

// Another process making the same folder at the same moment is success; a
// file of that name is not.
bool MakeFolder(const std::wstring& path) {
  if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  return CreateDirectoryW(path.c_str(), nullptr) || IsDirectory(path);
}

std::wstring ShellFolder(int csidl) {
  wchar_t buffer[MAX_PATH + 1] = {};
  if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer))) {
    return std::wstring();
  }
  return buffer;
}

}  // namespace

std::wstring GetEnvironmentText(const std::wstring& name) {
  // The value may change between the size query and the read; ask again
  // until it fits.
  std::vector<wchar_t> buffer(256);
  for (;;) {
    const DWORD n = GetEnvironmentVariableW(name.c_str(), buffer.data(),
                                            static_cast<DWORD>(buffer.size()));
    if (n == 0) return std::wstring();
    if (n < buffer.size()) return std::wstring(buffer.data(), n);
    buffer.assign(n + 1, L'\0');
  }
}

bool PathExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsDirectory(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring GetTempFolder() {
  std::vector<wchar_t> buffer(MAX_PATH + 1);
  DWORD n = GetTempPathW(static_cast<DWORD>(buffer.size()), buffer.data());
  if (n >= buffer.size()) {
    buffer.assign(n + 1, L'\0');
    n = GetTempPathW(static_cast<DWORD>(buffer.size()), buffer.data());
  }
  if (n == 0 || n >= buffer.size()) return std::wstring();
  std::wstring folder(buffer.data(), n);
  if (!IsSeparator(folder.back())) folder.push_back(L'\\');
  folder += kTempFolderName;
  if (IsDirectory(folder)) return folder;
  if (CreateDirectoryW(folder.c_str(), nullptr) || IsDirectory(folder)) return folder;
  return std::wstring();
}

bool CreateDirectories(const std::wstring& path) {
  if (path.size() > 260) return false;
  const size_t root = RootLength(path);
  for (size_t i = root; i < path.size(); ++i) {
    if (!IsSeparator(path[i])) continue;
    if (!MakeFolder(path.substr(0, i + 1))) return false;
  }
  if (path.size() > root && !IsSeparator(path.back()) && !MakeFolder(path)) return false;
  return true;
}

std::wstring GetModulePath() {
  // A path that fills the buffer may have been cut (XP does not even say
  // so); grow until it fits.
  std::vector<wchar_t> buffer(MAX_PATH + 1);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return std::wstring();
    if (n < buffer.size()) return std::wstring(buffer.data(), n);
    if (buffer.size() >= 32768) return std::wstring();
    buffer.resize(buffer.size() * 2);
  }
}

std::wstring GetRoamingAppDataFolder() { return ShellFolder(CSIDL_APPDATA); }

std::wstring GetLocalAppDataFolder() { return ShellFolder(CSIDL_LOCAL_APPDATA); }

std::wstring GetCommonDocumentsFolder() { return ShellFolder(CSIDL_COMMON_DOCUMENTS); }

// 32-bit Windows XP has no separate x86 folder and may refuse the request.
std::wstring GetProgramFilesX86Folder() {
  std::wstring folder = ShellFolder(CSIDL_PROGRAM_FILESX86);
  return folder.empty() ? ShellFolder(CSIDL_PROGRAM_FILES) : folder;
}

}  // namespace Utils

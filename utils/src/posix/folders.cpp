#include "utils/folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "utils/file.h"
#include "utils/text.h"

namespace Utils {

namespace {

constexpr wchar_t kTempFolderName[] = L"~KelVoTemp.92482B06FB471E17";

bool MakeFolder(const std::wstring& path) {
  return mkdir(NarrowPath(path).c_str(), 0755) == 0 || errno == EEXIST;
}

std::wstring HomeFolder() {
  std::wstring home = GetEnvironmentText(L"HOME");
  if (!home.empty()) return home;
  if (const passwd* pw = getpwuid(geteuid())) return Utf8ToWide(pw->pw_dir);
  return std::wstring();
}

std::wstring EnvOrHome(const wchar_t* variable, const wchar_t* underHome) {
  std::wstring value = GetEnvironmentText(variable);
  if (!value.empty()) return value;
  const std::wstring home = HomeFolder();
  return home.empty() ? std::wstring() : home + underHome;
}

}  // namespace

std::wstring GetEnvironmentText(const std::wstring& name) {
  const char* value = std::getenv(WideToUtf8(name).c_str());
  return value ? Utf8ToWide(value) : std::wstring();
}

bool PathExists(const std::wstring& path) {
  struct stat st;
  return stat(NarrowPath(path).c_str(), &st) == 0;
}

bool IsDirectory(const std::wstring& path) {
  struct stat st;
  return stat(NarrowPath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::wstring GetTempFolder() {
  std::wstring base = GetEnvironmentText(L"TMPDIR");
  if (base.empty()) base = L"/tmp";
  if (base.back() != L'/') base.push_back(L'/');
  const std::wstring folder = base + kTempFolderName + L"/";
  if (IsDirectory(folder)) return folder;
  if (mkdir(NarrowPath(folder).c_str(), 0755) == 0 || IsDirectory(folder)) return folder;
  return std::wstring();
}

bool CreateDirectories(const std::wstring& path) {
  if (path.size() > 260) return false;
  for (size_t i = 0; i < path.size(); ++i) {
    if (path[i] != L'/' || i == 0) continue;
    const std::wstring prefix = path.substr(0, i + 1);
    if (!PathExists(prefix) && !MakeFolder(prefix)) return false;
  }
  if (!path.empty() && path.back() != L'/' && !PathExists(path) && !MakeFolder(path)) {
    return false;
  }
  return true;
}

std::wstring GetModulePath() {
  char buffer[4096];
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return std::wstring();
  return Utf8ToWide(std::string_view(buffer, static_cast<size_t>(n)));
}

std::wstring GetRoamingAppDataFolder() { return EnvOrHome(L"XDG_CONFIG_HOME", L"/.config"); }

std::wstring GetLocalAppDataFolder() { return EnvOrHome(L"XDG_DATA_HOME", L"/.local/share"); }

std::wstring GetCommonDocumentsFolder() { return L"/var/tmp"; }

std::wstring GetProgramFilesX86Folder() {
  if (geteuid() == 0) return L"/opt";
  const std::wstring home = HomeFolder();
  return home.empty() ? std::wstring() : home + L"/.local/opt";
}

}  // namespace Utils

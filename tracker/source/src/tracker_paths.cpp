#include "tracker_paths.h"

#include "utils/desktop_info.h"
#include "utils/folders.h"
#include "utils/identity.h"
#include "utils/profile.h"

namespace kelvo {
namespace tracker {

namespace {

std::wstring WithTrailingSeparator(std::wstring folder) {
  if (folder.empty() || folder.back() != Utils::kPathSeparator) folder += Utils::kPathSeparator;
  return folder;
}

// The folder part of a path, separator included ("D:\data\x.ini" ->
// "D:\data\").
std::wstring FolderWithSeparator(const std::wstring& path) {
  const size_t last = path.rfind(Utils::kPathSeparator);
  return last == std::wstring::npos ? std::wstring() : path.substr(0, last + 1);
}

void EnsureFolder(const std::wstring& folder) {
  // Failures are not reported: the tracker carries on with the paths it
  // computed, and file writes there simply fail.
  if (!Utils::PathExists(folder)) Utils::CreateDirectories(WithTrailingSeparator(folder));
}

}  // namespace

std::wstring ToPlatformSeparators(std::wstring text) {
  for (wchar_t& c : text) {
    if (c == L'/' || c == L'\\') c = Utils::kPathSeparator;
  }
  return text;
}

std::wstring ReadPointerFileCandidate(const std::wstring& executablePath) {
  const std::wstring pointer =
      FolderWithSeparator(ToPlatformSeparators(executablePath)) + kPointerFileName;
  if (!Utils::PathExists(pointer)) return std::wstring();
  return ToPlatformSeparators(
      Utils::Profile::GetString(L"Install", L"KVAnalyticsIni", L"", 260, pointer));
}

std::wstring DefaultBaseFolder() {
  // Windows versions above 6.0 keep per-user data in local app data; older
  // ones (and a Windows whose version cannot be read) in the all-users
  // documents folder.
  std::wstring platform, version;
  Utils::GetOsVersion(platform, version);
  if (platform == L"Windows") {
    Utils::WindowsVersionNumbers v;
    const bool known = Utils::GetWindowsVersionNumbers(v);
    const bool above60 = v.major > 6 || (v.major == 6 && v.minor != 0);
    if (!known || !above60) return Utils::GetCommonDocumentsFolder();
  }
  return Utils::GetLocalAppDataFolder();
}

TrackerPaths ResolveTrackerPaths(const std::wstring& appName, const std::wstring& candidate) {
  TrackerPaths p;
  if (candidate.find(Utils::kPathSeparator) == std::wstring::npos) {
    const std::wstring kvLocal = WithTrailingSeparator(DefaultBaseFolder()) + L"KVLocal";
    EnsureFolder(kvLocal);
    p.dataFolder = WithTrailingSeparator(kvLocal + Utils::kPathSeparator + appName);
    EnsureFolder(p.dataFolder);
    p.identityFile = p.dataFolder + appName + L"_KVSConfigure.ini";
  } else {
    p.identityFile = candidate;
    p.dataFolder = FolderWithSeparator(candidate);
    EnsureFolder(p.dataFolder);
  }
  p.logFile = p.dataFolder + appName + L"_KVSLog.txt";
  p.stagingFile = p.dataFolder + appName + L"_" + kStagingFileName;
  return p;
}

}  // namespace tracker
}  // namespace kelvo

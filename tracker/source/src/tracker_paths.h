// Where the tracker keeps its files.
//
// Resolved once at initialisation, on the initialising thread. Paths are
// wide, with the platform's separator; the data folder ends with one.
#pragma once

#include <string>

namespace kelvo {
namespace tracker {

struct TrackerPaths {
  std::wstring identityFile;
  std::wstring dataFolder;   // ends with a separator
  std::wstring logFile;      // default log file (used when the configuration names none)
  std::wstring stagingFile;  // unsent records kept for the next run
};

inline constexpr wchar_t kPointerFileName[] = L"Set.ini";
inline constexpr wchar_t kStagingFileName[] = L"KVSStaging.txt";

// Reads "Install"/"KVAnalyticsIni" from "Set.ini" in the executable's folder
// (empty when the file is missing), with every '/' and '\' turned into the
// platform separator.
std::wstring ReadPointerFileCandidate(const std::wstring& executablePath);

// The paths for an application name and a candidate identity file (from the
// pointer file): a candidate without any separator selects the default
// folder "<local app data>/KVLocal/<appName>/" (the all-users documents
// folder on Windows Vista and older). Creates the data folder with all its
// missing parents; a failure to create is not reported.
TrackerPaths ResolveTrackerPaths(const std::wstring& appName, const std::wstring& candidate);

// The default base folder: local application data, or the all-users
// documents folder when the system is Windows Vista or older.
std::wstring DefaultBaseFolder();

// The text with every '/' and '\' replaced by the platform separator.
std::wstring ToPlatformSeparators(std::wstring text);

}  // namespace tracker
}  // namespace kelvo

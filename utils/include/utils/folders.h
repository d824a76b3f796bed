// Folders and paths.
//
// Paths are wide strings with the platform's separator (kPathSeparator:
// '\' on Windows, '/' elsewhere); on Windows '/' is accepted as well.
// Thread safety: any thread; no shared state.
#pragma once

#include <string>
#include <string_view>

namespace Utils {

#if defined(_WIN32)
inline constexpr wchar_t kPathSeparator = L'\\';
#else
inline constexpr wchar_t kPathSeparator = L'/';
#endif

// Longest path the installer accepts, in characters (MAX_PATH less the
// terminating zero).
inline constexpr size_t kMaxPathChars = 259;

// The installer's own temporary folder: the system temporary folder (%TEMP%;
// $TMPDIR, else /tmp) + "~KelVoTemp.92482B06FB471E17" + separator. Created
// (one level) when missing; empty when it can neither be found nor created.
std::wstring GetTempFolder();

// Creates every missing directory along the path; true when all exist
// afterwards. Paths longer than 260 characters fail at once, creating
// nothing. A trailing separator creates the last folder too.
bool CreateDirectories(const std::wstring& path);

// Joins base and leaf with exactly one separator between them. False (out
// untouched) when the result would not fit kMaxPathChars characters, so a
// too-long folder is reported as invalid instead of being cut.
bool JoinPath(std::wstring_view base, std::wstring_view leaf, std::wstring* out);

// Directory part of a path (no trailing separator) and file-name part.
std::wstring PathDirectory(std::wstring_view path);
std::wstring PathFileName(std::wstring_view path);

bool PathExists(const std::wstring& path);
bool IsDirectory(const std::wstring& path);

// Full path of the running executable (GetModuleFileNameW; /proc/self/exe).
std::wstring GetModulePath();

// Per-user folders: roaming application data (APPDATA; $XDG_CONFIG_HOME,
// else ~/.config), local application data ($XDG_DATA_HOME, else
// ~/.local/share), common documents (/var/tmp), the 32-bit program files
// folder (/opt as root, else ~/.local/opt). Empty when unknown.
std::wstring GetRoamingAppDataFolder();
std::wstring GetLocalAppDataFolder();
std::wstring GetCommonDocumentsFolder();
std::wstring GetProgramFilesX86Folder();

// The value of an environment variable, or empty when unset.
std::wstring GetEnvironmentText(const std::wstring& name);

}  // namespace Utils

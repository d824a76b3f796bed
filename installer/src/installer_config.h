// InstallerConfig: the one process-wide configuration record.
//
// Filled in three layers, each overriding the previous one field by field:
// built-in defaults, then section "Install" of "KelvoInstallerConfig.ini"
// beside the executable (both during static initialisation, before the entry
// point runs), then the command line ("-key=value", applied once by the
// entry point through ParseCommandLine).
//
// Thread safety: written only on the main thread before any worker exists
// (CurlAvailable once by the entry point); read from any thread afterwards.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct InstallerConfigRecord {
  std::wstring AppName;          // always "Tarnvell"
  std::wstring AppVersion;       // always "1.7.9"
  std::wstring ExeName;          // file name of the running executable
  std::wstring DlAppNameSuffix;  // appended to AppName for reporting
  std::wstring DlAppVersion;     // version of the downloaded product
  std::wstring InstCmd;          // extra package arguments
  std::wstring DownloadUrl;      // package URL, route already substituted
  int32_t DownloadType = 1;      // 2 system downloader, 3 multi-part, else single stream
  bool IsCheckNet = false;
  bool IsEnableAppAnalytics = true;
  double DownloadScale = 0.7;    // share of the progress bar for the download, 0..1
  bool CurlAvailable = true;
  std::wstring AbValue;          // A/B context value
};

extern InstallerConfigRecord InstallerConfig;

inline constexpr wchar_t kConfigFileName[] = L"KelvoInstallerConfig.ini";
inline constexpr wchar_t kConfigSection[] = L"Install";
// The package URL on the default download endpoint.
extern const wchar_t* const kDefaultDownloadUrl;

// Defaults, then the INI file beside modulePath when it exists. The global
// record is loaded this way from GetModulePath() during static initialisation.
void LoadInstallerConfig();
void LoadInstallerConfigFrom(InstallerConfigRecord& config, const std::wstring& modulePath);
// The same with the INI file given by path (tools that read a named file);
// an empty or missing path leaves the defaults.
void LoadInstallerConfigFromIni(InstallerConfigRecord& config, const std::wstring& modulePath,
                                const std::wstring& iniPath);

// Options of a command line, keyed by the exact (case-sensitive) text before
// the first "=" of an argument that starts with "-" and contains one; any
// other argument is a key with an empty value. The first occurrence wins.
using CommandLineMap = std::map<std::wstring, std::wstring>;
CommandLineMap SplitCommandLine(const std::vector<std::wstring>& arguments);
CommandLineMap SplitCommandLine(const std::wstring& commandLine);

// Applies the recognised options in their fixed order. A -downloadtype that
// does not fit 32 bits, or a -downloadscale that is not a number in 0..1,
// leaves the field as it was and logs a line.
void ApplyCommandLine(InstallerConfigRecord& config, const CommandLineMap& options);
// The entry point's call: the process's own arguments onto InstallerConfig.
void ParseCommandLine();

// The URL with every "${ROUTE}" replaced: "download_silent_xp" when the
// Windows version name contains "XP", else "download_silent".
std::wstring ApplyRoute(const std::wstring& url);
std::wstring RouteForVersionName(const std::wstring& versionName);

// Typed look-ups: a value only when the key is present.
enum class NumberStatus { kOk, kNoNumber, kOutOfRange };
template <class T>
struct ParsedNumber {
  T value{};
  NumberStatus status = NumberStatus::kNoNumber;
};
std::optional<std::wstring> LookUpString(const CommandLineMap& options, const std::wstring& key);
std::optional<ParsedNumber<int32_t>> LookUpInt(const CommandLineMap& options, const std::wstring& key);
std::optional<ParsedNumber<double>> LookUpDouble(const CommandLineMap& options, const std::wstring& key);
std::optional<bool> LookUpBool(const CommandLineMap& options, const std::wstring& key);

// Number conversions with the C library's rules (leading white space
// skipped, longest valid prefix), reporting instead of hiding a text without
// a number or a number out of range.
ParsedNumber<int32_t> ParseInt32(const std::wstring& text);
ParsedNumber<double> ParseDouble(const std::wstring& text);

// One line naming every field, for the diagnostic log.
std::wstring DescribeConfig(const InstallerConfigRecord& config);

#include "installer_config.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cwchar>

#include "utils/cmdline.h"
#include "utils/folders.h"
#include "utils/identity.h"
#include "utils/log.h"
#include "utils/profile.h"
#include "utils/text.h"

#ifndef TARNVELL_DEFAULT_DOWNLOAD_URL
#define TARNVELL_DEFAULT_DOWNLOAD_URL L"https://dl.kelvosoft.com/software/236"
#endif

const wchar_t* const kDefaultDownloadUrl = TARNVELL_DEFAULT_DOWNLOAD_URL;

InstallerConfigRecord InstallerConfig;

namespace {

// Static initialisation: the record is complete before the entry point.
const bool g_installerConfigLoaded = (LoadInstallerConfig(), true);

constexpr wchar_t kRouteMarker[] = L"${ROUTE}";
constexpr size_t kProfileBufferChars = 260;

void SetDefaults(InstallerConfigRecord& c) {
  c.AppName = L"Tarnvell";
  c.AppVersion = L"1.7.9";
  c.ExeName = L"NULL";
  c.DlAppNameSuffix = L".downloader";
  c.DlAppVersion = L"";
  c.InstCmd = L"";
  c.DownloadUrl = ApplyRoute(kDefaultDownloadUrl);
  c.DownloadType = 1;
  c.IsCheckNet = false;
  c.IsEnableAppAnalytics = true;
  c.DownloadScale = 0.7;
  c.CurlAvailable = true;
  c.AbValue = L"IN";
}

bool IsUsableScale(const ParsedNumber<double>& n) {
  return n.status == NumberStatus::kOk && n.value >= 0.0 && n.value <= 1.0;
}

// A scale that is not a number in 0..1 would later turn progress into
// undefined integer conversions: keep the value the field already has.
void SetScale(InstallerConfigRecord& c, const std::wstring& text, const wchar_t* source) {
  const ParsedNumber<double> n = ParseDouble(text);
  if (IsUsableScale(n)) {
    c.DownloadScale = n.value;
    return;
  }
  UTILS_LOG(L"InstallerConfig: %s DownloadScale \"%s\" is not a number between 0 and 1, kept %g\r\n",
            source, text, c.DownloadScale);
}

void ReadIniFile(InstallerConfigRecord& c, const std::wstring& ini) {
  using Utils::Profile::GetString;
  c.DownloadUrl = ApplyRoute(GetString(kConfigSection, L"DownloadUrl", kDefaultDownloadUrl,
                                       kProfileBufferChars, ini));
  // Read as text so a number too large for 32 bits can be told apart from
  // the profile function's wrap-around; everything else converts as
  // GetPrivateProfileIntW does (no number gives 0, absent or empty gives 1).
  const std::wstring type = GetString(kConfigSection, L"DownloadType", L"", kProfileBufferChars, ini);
  if (!type.empty()) {
    if (ParseInt32(type).status == NumberStatus::kOutOfRange) {
      UTILS_LOG(L"InstallerConfig: ini DownloadType \"%s\" does not fit, kept %d\r\n", type,
                c.DownloadType);
    } else {
      c.DownloadType = Utils::ProfileTextToInt(type);
    }
  }
  c.IsCheckNet = GetString(kConfigSection, L"IsCheckNet", L"true", kProfileBufferChars, ini) == L"true";
  c.IsEnableAppAnalytics =
      GetString(kConfigSection, L"IsEnableAppAnalytics", L"true", kProfileBufferChars, ini) == L"true";
  c.DlAppNameSuffix = GetString(kConfigSection, L"DlAppNameSuffix", L".downloader", kProfileBufferChars, ini);
  c.DlAppVersion = GetString(kConfigSection, L"m_DlAppVersion", L"", kProfileBufferChars, ini);
  SetScale(c, GetString(kConfigSection, L"DownloadScale", L"0.7", kProfileBufferChars, ini), L"ini");
  c.InstCmd = GetString(kConfigSection, L"InstCmd", L"", kProfileBufferChars, ini);
}

}  // namespace

void LoadInstallerConfigFromIni(InstallerConfigRecord& c, const std::wstring& modulePath,
                                const std::wstring& iniPath) {
  SetDefaults(c);
  std::wstring exeName = Utils::PathFileName(modulePath);
  if (exeName.size() > 259) exeName.resize(259);
  if (!exeName.empty()) c.ExeName = exeName;
  if (!iniPath.empty() && Utils::PathExists(iniPath)) ReadIniFile(c, iniPath);
  c.AppName = L"Tarnvell";
  c.AppVersion = L"1.7.9";
}

void LoadInstallerConfigFrom(InstallerConfigRecord& c, const std::wstring& modulePath) {
  std::wstring ini;
  if (!Utils::JoinPath(Utils::PathDirectory(modulePath), kConfigFileName, &ini)) ini.clear();
  LoadInstallerConfigFromIni(c, modulePath, ini);
}

void LoadInstallerConfig() { LoadInstallerConfigFrom(InstallerConfig, Utils::GetModulePath()); }

CommandLineMap SplitCommandLine(const std::vector<std::wstring>& arguments) {
  CommandLineMap options;
  for (const std::wstring& arg : arguments) {
    const size_t eq = arg.find(L'=');
    if (!arg.empty() && arg[0] == L'-' && eq != std::wstring::npos) {
      options.emplace(arg.substr(0, eq), arg.substr(eq + 1));  // emplace keeps the first
    } else {
      options.emplace(arg, std::wstring());
    }
  }
  return options;
}

CommandLineMap SplitCommandLine(const std::wstring& commandLine) {
  return SplitCommandLine(Utils::SplitWindowsCommandLine(commandLine));
}

ParsedNumber<int32_t> ParseInt32(const std::wstring& text) {
  ParsedNumber<int32_t> n;
  const wchar_t* begin = text.c_str();
  wchar_t* end = nullptr;
  errno = 0;
  const long long v = std::wcstoll(begin, &end, 10);
  if (end == begin) return n;  // kNoNumber, value 0
  if (errno == ERANGE || v < INT32_MIN || v > INT32_MAX) {
    n.status = NumberStatus::kOutOfRange;
    return n;
  }
  n.value = static_cast<int32_t>(v);
  n.status = NumberStatus::kOk;
  return n;
}

ParsedNumber<double> ParseDouble(const std::wstring& text) {
  ParsedNumber<double> n;
  n.value = std::nan("");
  const wchar_t* begin = text.c_str();
  wchar_t* end = nullptr;
  errno = 0;
  const double v = std::wcstod(begin, &end);
  if (end == begin) return n;
  // ERANGE also flags results too small to represent; those are ~0 and in
  // range for a scale, so only overflow counts.
  if (errno == ERANGE && std::isinf(v)) {
    n.status = NumberStatus::kOutOfRange;
    return n;
  }
  n.value = v;
  n.status = NumberStatus::kOk;
  return n;
}

std::optional<std::wstring> LookUpString(const CommandLineMap& options, const std::wstring& key) {
  const auto it = options.find(key);
  if (it == options.end()) return std::nullopt;
  return it->second;
}

std::optional<ParsedNumber<int32_t>> LookUpInt(const CommandLineMap& options, const std::wstring& key) {
  const auto text = LookUpString(options, key);
  if (!text) return std::nullopt;
  return ParseInt32(*text);
}

std::optional<ParsedNumber<double>> LookUpDouble(const CommandLineMap& options, const std::wstring& key) {
  const auto text = LookUpString(options, key);
  if (!text) return std::nullopt;
  return ParseDouble(*text);
}

std::optional<bool> LookUpBool(const CommandLineMap& options, const std::wstring& key) {
  const auto text = LookUpString(options, key);
  if (!text) return std::nullopt;
  return *text == L"true";
}

void ApplyCommandLine(InstallerConfigRecord& c, const CommandLineMap& options) {
  if (auto url = LookUpString(options, L"-downloadurl")) c.DownloadUrl = ApplyRoute(*url);
  if (auto type = LookUpInt(options, L"-downloadtype")) {
    if (type->status == NumberStatus::kOutOfRange) {
      UTILS_LOG(L"InstallerConfig: -downloadtype \"%s\" does not fit, kept %d\r\n",
                *LookUpString(options, L"-downloadtype"), c.DownloadType);
    } else {
      c.DownloadType = type->value;  // 0 when no number can be read
    }
  }
  if (auto scale = LookUpString(options, L"-downloadscale")) SetScale(c, *scale, L"-downloadscale");
  if (auto check = LookUpBool(options, L"-ischecknet")) c.IsCheckNet = *check;
  if (auto analytics = LookUpBool(options, L"-isenableappanalytics")) c.IsEnableAppAnalytics = *analytics;
  if (auto suffix = LookUpString(options, L"-dlappnamesuffix")) c.DlAppNameSuffix = *suffix;
  if (auto version = LookUpString(options, L"-dlappversion")) c.DlAppVersion = *version;
  if (auto cmd = LookUpString(options, L"-instcmd")) c.InstCmd = *cmd;
}

void ParseCommandLine() {
  ApplyCommandLine(InstallerConfig, SplitCommandLine(Utils::GetProcessArguments()));
}

std::wstring RouteForVersionName(const std::wstring& versionName) {
  return versionName.find(L"XP") != std::wstring::npos ? L"download_silent_xp" : L"download_silent";
}

std::wstring ApplyRoute(const std::wstring& url) {
  if (url.find(kRouteMarker) == std::wstring::npos) return url;
  std::wstring platform, version;
  Utils::GetOsVersion(platform, version);
  return Utils::ReplaceAll(url, kRouteMarker, RouteForVersionName(version));
}

std::wstring DescribeConfig(const InstallerConfigRecord& c) {
  return Utils::FormatW(
      L"AppName=%s AppVersion=%s ExeName=%s DlAppNameSuffix=%s DlAppVersion=%s InstCmd=%s "
      L"DownloadUrl=%s DownloadType=%d IsCheckNet=%s IsEnableAppAnalytics=%s DownloadScale=%g "
      L"CurlAvailable=%s AbValue=%s",
      c.AppName, c.AppVersion, c.ExeName, c.DlAppNameSuffix, c.DlAppVersion, c.InstCmd,
      c.DownloadUrl, c.DownloadType, c.IsCheckNet ? L"true" : L"false",
      c.IsEnableAppAnalytics ? L"true" : L"false", c.DownloadScale,
      c.CurlAvailable ? L"true" : L"false", c.AbValue);
}

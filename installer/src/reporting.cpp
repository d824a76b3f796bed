// The installer's reporting: tracker creation from InstallerConfig, the A/B
// context, the event helpers and the failure diagnoses.
#include "reporting.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>

#include "installer_config.h"
#include "tracker/kv_tracker.h"
#include "utils/disk.h"
#include "utils/file.h"
#include "utils/folders.h"
#include "utils/format.h"
#include "utils/network.h"
#include "utils/profile.h"
#include "utils/text.h"

namespace {

using kelvo::tracker::KvEventType;

constexpr size_t kReasonBufferChars = 200;  // texts are cut as that buffer would cut them
constexpr wchar_t kAnalyticsUrlKey[] = L"AnalyticsUrl";

std::shared_ptr<kelvo::tracker::KvTracker> ActiveTracker() {
  if (!InstallerConfig.IsEnableAppAnalytics) return nullptr;
  return kelvo::tracker::getTracker();
}

std::string Utf8(const std::wstring& text) { return Utils::WideToUtf8(text); }

std::wstring CutToBuffer(std::wstring text) {
  if (text.size() > kReasonBufferChars - 1) text.resize(kReasonBufferChars - 1);
  return text;
}

// The notice's value truncated to an integer. Out-of-range values and NaN
// would make the conversion undefined: they are clamped (NaN gives 0).
long TruncatedCode(double value) {
  if (std::isnan(value)) return 0;
  constexpr double lo = static_cast<double>(std::numeric_limits<int32_t>::min());
  constexpr double hi = static_cast<double>(std::numeric_limits<int32_t>::max());
  if (value <= lo) return static_cast<long>(std::numeric_limits<int32_t>::min());
  if (value >= hi) return static_cast<long>(std::numeric_limits<int32_t>::max());
  return static_cast<long>(value);
}

// Whether a file can be created at the path: an existing file that cannot
// be deleted says no; otherwise a file is created and deleted again.
bool IsPathWritable(const std::wstring& path) {
  if (Utils::PathExists(path) && !Utils::RemoveFile(path)) return false;
  if (!Utils::WriteFileAtomically(path, std::string())) return false;
  Utils::RemoveFile(path);
  return true;
}

// Free space of the disk holding the path, in GiB (0 when unknown); the
// nearest existing folder along the path is asked.
double FreeGibibytes(const std::wstring& path) {
  std::wstring folder = Utils::PathDirectory(path);
  while (!folder.empty() && !Utils::IsDirectory(folder)) {
    const std::wstring parent = Utils::PathDirectory(folder);
    if (parent == folder) break;
    folder = parent;
  }
  Utils::HardDiskManager disk;
  if (folder.empty() || !disk.CheckFreeSpace(folder)) return 0.0;
  return static_cast<double>(disk.freeBytesAvailableToCaller) / 1073741824.0;
}

}  // namespace

AbContext DefaultAbContext() { return AbContext{{L"AB", InstallerConfig.AbValue}}; }

bool IsReportingActive() { return ActiveTracker() != nullptr; }

std::string AnalyticsUrlFromIni(const std::wstring& iniPath) {
  if (iniPath.empty() || !Utils::PathExists(iniPath)) return std::string();
  return Utf8(Utils::Profile::GetString(kConfigSection, kAnalyticsUrlKey, L"", 2048, iniPath));
}

void StartTrackerWithIni(const std::wstring& iniPath) {
  if (!InstallerConfig.IsEnableAppAnalytics) return;
  kelvo::tracker::TrackerConfig c;
  c.appName = Utf8(InstallerConfig.AppName + InstallerConfig.DlAppNameSuffix);
  c.appVersion = Utf8(InstallerConfig.AppVersion);
  c.appStore = Utf8(InstallerConfig.ExeName);
  c.dlAppId = Utf8(InstallerConfig.AppName);
  c.dlAppVersion = Utf8(InstallerConfig.DlAppVersion);
  c.edition = 0;
  // Empty selects the built-in endpoint; a deployment, the demo and the
  // tests point the installer at their own collector through the INI file.
  c.serverUrl = AnalyticsUrlFromIni(iniPath);
  kelvo::tracker::createTracker(c);
}

void StartTracker() {
  std::wstring ini;
  if (!Utils::JoinPath(Utils::PathDirectory(Utils::GetModulePath()), kConfigFileName, &ini)) {
    ini.clear();
  }
  StartTrackerWithIni(ini);
}

void ReleaseTracker() { kelvo::tracker::releaseTracker(); }

kelvo::tracker::KvContextProperties ApplyAbContext(const AbContext& context,
                                                   const std::vector<KvEventType>& kinds) {
  kelvo::tracker::KvContextProperties props;
  const auto it = context.find(L"AB");
  if (it == context.end()) return props;
  const std::string value = Utf8(it->second);
  try {
    if (kelvo::tracker::KvContextProperties::isValidABValue(value)) props.setProperty(kinds, value);
  } catch (const std::exception&) {
    // A value that fails the check is simply not attached.
  }
  return props;
}

void TrackTaskEvent(const std::wstring& name, float value, const std::wstring& detail,
                    const AbContext& context) {
  const auto tracker = ActiveTracker();
  if (!tracker) return;
  kelvo::tracker::KvEventTask task;
  task.name = Utf8(name);
  task.reason = Utf8(detail);
  task.elapsed = std::make_shared<float>(value);
  task.result = std::make_shared<kelvo::tracker::KvResult>(kelvo::tracker::KvResult::Success);
  tracker->trackTask(task, ApplyAbContext(context, {KvEventType::Task}));
}

void TrackClickEvent(const std::wstring& name, const AbContext& context) {
  const auto tracker = ActiveTracker();
  if (!tracker) return;
  kelvo::tracker::KvEventClick click;
  click.name = Utf8(name);
  click.clickType = kelvo::tracker::ClickType::Button;
  tracker->trackClick(click, ApplyAbContext(context, {KvEventType::Click}));
}

void TrackViewEvent(const std::wstring& name, const AbContext& context) {
  const auto tracker = ActiveTracker();
  if (!tracker) return;
  kelvo::tracker::KvEventView view;
  view.name = Utf8(name);
  tracker->trackView(view, ApplyAbContext(context, {KvEventType::View}));
}

void TrackCrash(const std::wstring& reason) {
  const auto tracker = ActiveTracker();
  if (!tracker) return;
  // Only the crash handler reports a crash: never wait without a deadline.
  CrashReportingScope scope;
  tracker->trackCrash(Utf8(reason));
}

std::wstring FailureReasonText(const OrchestratorNotice& notice) {
  return CutToBuffer(Utils::FormatW(L":1.code=%ld；2.msg=%s", TruncatedCode(notice.value), notice.text));
}

void ReportFailureReason(const OrchestratorNotice& notice, bool download) {
  if (!ActiveTracker()) return;
  TrackTaskEvent(download ? L"下载失败原因" : L"安装失败原因", 0.0f, FailureReasonText(notice),
                 DefaultAbContext());
}

std::wstring DownloadFailureText(const OrchestratorNotice& notice, const std::wstring& packagePath) {
  const uint32_t network = Utils::CheckNetwork();
  const bool writable = IsPathWritable(packagePath);
  const double freeGib = FreeGibibytes(packagePath);
  return CutToBuffer(Utils::FormatW(
      L"1.code=%ld；2.msg=%s；3.缓存磁盘容量=%.2fG；4.缓存读写权限=%s；5.服务器连接状态code=%d",
      TruncatedCode(notice.value), notice.text, freeGib, writable ? L"可读" : L"无权限",
      static_cast<int>(network)));
}

void ReportDownloadFailure(const OrchestratorNotice& notice, const std::wstring& packagePath) {
  if (!ActiveTracker()) return;
  TrackTaskEvent(L"下载失败原因", 0.0f, DownloadFailureText(notice, packagePath), DefaultAbContext());
}

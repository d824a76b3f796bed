#include "startup.h"

#include <curl/curl.h>

#include "installer_config.h"
#include "main_window_seam.h"
#include "reporting.h"
#include "utils/crash_handler.h"
#include "utils/library_search.h"
#include "utils/log.h"
#include "utils/single_instance.h"

void CrashFilter() {
  UTILS_LOGLN(L"CRASH");
  // The faulting thread may hold the tracker's locks: bounded waits only.
  CrashReportingScope crashScope;
  TrackTaskEvent(L"崩溃退出", 0.0f, L"", AbContext{{L"AB", L"IN"}});
  TrackCrash(L"崩溃");
}

int RunInstaller(void* instance) {
  Utils::HardenDllSearch();
  Utils::InstallCrashHandler(&CrashFilter);

  if (curl_global_init(CURL_GLOBAL_ALL) != 0) {
    InstallerConfig.CurlAvailable = false;
    UTILS_LOGLN(L"curl_global_init failed");
    TrackTaskEvent(L"libcurl初始化失败", 0.0f, L"", AbContext{{L"AB", L"IN"}});
  }

  Utils::SingleInstanceLock lock(kSingleInstanceName);
  lock.Acquire();
  if (!lock.Held()) {
    UTILS_LOGLN(L"another instance holds %s", lock.FullName());
    return -1;
  }

  StartTracker();  // from defaults and the INI file only
  ParseCommandLine();
  UTILS_LOGLN(L"InstallerConfig %s", DescribeConfig(InstallerConfig));

  std::unique_ptr<MainWindowSeam> window = CreateMainWindowSeam(instance);
  if (window) window->RunModal();

  if (InstallerConfig.IsEnableAppAnalytics) ReleaseTracker();
  curl_global_cleanup();
  window.reset();
  lock.Release();
  UTILS_LOGLN(L"exit 0");
  return 0;
}

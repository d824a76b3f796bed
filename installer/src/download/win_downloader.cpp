// The part of CWinDownloader that is the same on every platform: the
// attempts and the reports. The service itself is in the platform folder.
#include "win_downloader.h"

#include "utils/sysinfo.h"

namespace {
constexpr wchar_t kMechanism[] = L"URLDownloadToFile";
}

uint32_t CWinDownloader::WorkerProc(void* self) {
  static_cast<CWinDownloader*>(self)->Run();
  return 0;
}

bool CWinDownloader::ReportProgress(const DownloadCallback& callback, uint32_t progress,
                                    uint32_t progressMax, bool aborted) {
  if (aborted) return false;
  if (progressMax == 0) return true;
  if (callback) callback(DL_CODE_PROGRESS, static_cast<double>(progress) / static_cast<double>(progressMax), L"");
  return true;
}

void CWinDownloader::Run() {
  callback_(DL_CODE_START, 1.0, L"");
  if (path_.empty()) {
    callback_(DL_CODE_FAIL, 1.0, L"");
    return;
  }
  const std::wstring url = url_.rfind(L"file:///", 0) == 0 ? url_ : UrlEncode(url_);
  int32_t result = 0;
  for (int attempt = 1; attempt <= kAttempts; ++attempt) {
    result = FetchOnce(url);
    if (result == 0) {
      if (!stopping_) callback_(DL_CODE_SUCCESS, 0.0, kMechanism);
      return;
    }
    Utils::SleepMilliseconds(kPauseMs);
    if (stopping_) return;
  }
  callback_(DL_CODE_FAIL, static_cast<double>(result), kMechanism);
}

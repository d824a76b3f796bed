// CWinDownloader: the whole transfer left to the system's URL download
// service. On Windows that is URLDownloadToFileW with the nested
// bind-status callback CBindCallback; elsewhere a plain libcurl GET with the
// same contract (no probe, no resume, no MD5).
//
// Runs once per object: the worker thread is created suspended at
// construction and Start resumes it; a second Start changes nothing. Up to
// three attempts 1000 ms apart, then DL_CODE_FAIL with the last result (an
// HRESULT as a signed number); DL_CODE_SUCCESS with "URLDownloadToFile".
// Every progress notice with a known total is reported. Never asks for a
// retry. Destruction cancels a running transfer, waits for the worker and
// reports nothing more.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "downloader.h"
#include "utils/thread.h"

class CWinDownloader : public CDownloader {
 public:
  // Hears the service's progress notices; defined per platform.
  class CBindCallback;

  static constexpr int kAttempts = 3;
  static constexpr uint32_t kPauseMs = 1000;

  CWinDownloader(DownloadCallback callback, std::wstring url, std::wstring path);
  ~CWinDownloader() override;

  void Start() override;

  // Reports DL_CODE_PROGRESS progress / progressMax unless progressMax is 0;
  // false when the transfer must be cancelled. The bind callback's rule,
  // shared by both platforms.
  static bool ReportProgress(const DownloadCallback& callback, uint32_t progress, uint32_t progressMax,
                             bool aborted);

 private:
  static uint32_t WorkerProc(void* self);
  void Run();
  // One attempt of the platform's service: 0 (S_OK) or a failure HRESULT.
  int32_t FetchOnce(const std::wstring& url);

  std::unique_ptr<CBindCallback> bindCallback_;
  DownloadCallback callback_;
  std::wstring path_;
  std::wstring url_;
  Utils::Thread worker_;
  std::atomic<bool> stopping_{false};
  std::atomic<bool> started_{false};
};

// CCurlDownloader: the default downloader. One CurlClient on a worker
// thread, failed transfers repeated within a budget (each repetition resumes
// the partial file), then the file's MD5 compared with the one the real URL
// carries. A wrong MD5 leads once in the downloader's life to DL_CODE_RETRY.
//
// Keeps the callback contract of downloader.h. Start from inside the
// callback (the answer to DL_CODE_RETRY) is recognised: the worker then runs
// the next run itself after the callback returns, so no thread waits for
// itself. Destruction stops a running transfer (libcurl's code 42), waits
// for the worker and reports nothing more.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "curl_client.h"
#include "downloader.h"
#include "utils/thread.h"

class CCurlDownloader : public CDownloader {
 public:
  // Deletes a partial file an earlier process left: only this downloader's
  // own repetitions resume.
  CCurlDownloader(DownloadCallback callback, std::wstring url, std::wstring path);
  ~CCurlDownloader() override;

  void Start() override;

  // Failed transfers a run may absorb: 1 per code 18, 2 per other code.
  static constexpr int kBudget = 12;
  static constexpr uint32_t kPauseMs = 500;

 private:
  static uint32_t dlThreadFun(void* self);
  static void OnProgress(void* owner, double speed, double reserved, double percent);
  void RunOnce();
  // 0 once the file is at the destination, else the code that ended the run
  // (already reported as DL_CODE_FAIL).
  int TransferWithBudget();
  int VerifyMd5();
  void Report(int32_t code, double value, const wchar_t* text);

  DownloadCallback callback_;
  std::wstring path_;
  std::wstring url_;
  CurlClient client_;
  std::unique_ptr<Utils::Thread> worker_;
  bool retried_ = false;

  std::mutex startLock_;                  // serialises Start calls from outside
  std::atomic<uint32_t> workerThreadId_{0};
  std::atomic<bool> restartRequested_{false};
  std::atomic<bool> stopping_{false};
};

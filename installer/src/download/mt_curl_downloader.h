// CMTCurlDownloader: the package in at most two byte ranges fetched at the
// same time, each with its own libcurl handle, thread and part file
// ("<destination>_0", "<destination>_1").
//
// A run: the worker probes the real URL and the length, splits the file at
// 10 MiB granularity (two ranges from 20 MiB on), prepares the parts
// (resuming what a part file already holds) and starts one thread per
// pending range and the watcher. Each range thread retries within its own
// budget. The watcher waits for the ranges, joins the part files into the
// destination (digesting the bytes on the way when the URL carries an MD5),
// verifies, and ends the run with one report. A failed range, a join that
// cannot copy every part, or a wrong MD5 leads once in the downloader's life
// to DL_CODE_RETRY, then to DL_CODE_FAIL.
//
// Threads: Start returns at once. DL_CODE_START and an early DL_CODE_FAIL
// come from the worker, DL_CODE_PROGRESS from either range thread (one at a
// time, in order), the rest from the watcher. Start from inside the
// callback (on the watcher) is safe: the new run's worker first waits for
// the old watcher to return. Every thread is owned and joined: destruction
// aborts the transfers, waits for all of them and reports nothing more.
// Sizes and offsets are 64-bit.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <curl/curl.h>

#include "downloader.h"
#include "local_file.h"
#include "background_md5.h"
#include "utils/thread.h"

class CMTCurlDownloader : public CDownloader {
 public:
  static constexpr int64_t kGranularity = 10485760;  // 10 MiB
  static constexpr int kMaxParts = 2;
  static constexpr int64_t kMinimumLength = 256;
  static constexpr int kBudget = 12;
  static constexpr int kStatePending = -1;
  static constexpr int kStateOpenFailed = -2;
  static constexpr int kJoinFailed = -3;  // a part could not be copied into the destination whole

  struct DownloadPartNode {
    OutputFile file;
    int64_t first = 0;                 // offset of the range's first byte
    int64_t next = 0;                  // offset of the next byte the range needs
    int64_t last = 0;                  // offset of the range's last byte (inclusive)
    CURL* handle = nullptr;
    std::string url;
    std::wstring partPath;
    int state = kStatePending;
    std::atomic<int64_t> bytes{0};     // bytes of this range in its part file
    BackgroundMd5* digest = nullptr;      // the whole file's digest, fed by the first range only
    bool refused = false;              // the server ignored the range
  };

  // Deletes the destination and the part files of index 0 and 1.
  CMTCurlDownloader(DownloadCallback callback, std::wstring url, std::wstring path);
  ~CMTCurlDownloader() override;

  void Start() override;

  // The ranges of a file: at most two, every one fileLength / count bytes,
  // the remainder added to the last. Pairs of (first, last).
  static std::vector<std::pair<int64_t, int64_t>> SplitRanges(int64_t fileLength);

 private:
  static uint32_t Start_Down(void* self);
  bool getRealDownloadUrl(const std::string& narrowUrl);
  void PrepareParts();
  void downloadThreadFun(DownloadPartNode* part);
  int downloadExe(DownloadPartNode* part);
  void waitForFinishThreadFun();
  int JoinParts();
  void FinishWithFailure(int error);
  void ReleaseParts();
  void DeletePartFiles();
  std::wstring PartPath(int index) const;
  void Report(int32_t code, double value, const wchar_t* text);
  void JoinRunThreads();

  static size_t WritePart(char* data, size_t size, size_t count, void* part);
  static int ProgressFunction(void* self, curl_off_t dltotal, curl_off_t dlnow, curl_off_t ultotal,
                              curl_off_t ulnow);

  std::vector<std::unique_ptr<DownloadPartNode>> parts_;
  DownloadCallback callback_;
  std::wstring path_;
  std::wstring url_;
  std::string realUrl_;
  int64_t fileLength_ = -1;
  std::string expectedMd5_;
  double lastPercent_ = 0.0;           // guarded by lock_ while ranges run
  std::atomic<int> runningParts_{0};
  std::mutex lock_;                    // progress evaluation and reporting order
  int64_t lastProgressTime_ = 0;       // guarded by lock_
  bool retried_ = false;
  std::unique_ptr<Utils::Thread> worker_;

  BackgroundMd5 digest_;
  bool digesting_ = false;
  std::vector<std::thread> rangeThreads_;  // started by the worker, joined by the watcher
  std::thread watcher_;                    // started by the worker, joined by the next run or the destructor
  std::mutex startLock_;
  std::atomic<bool> stopping_{false};
};

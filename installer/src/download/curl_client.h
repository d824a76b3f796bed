// CurlClient: one file from a URL into a local path with libcurl, in one
// stream, on the calling thread.
//
// Before the transfer the client probes where the URL finally leads and how
// long the file is, and refuses anything shorter than 1 MiB. Bytes go to
// "<path>.part"; a partial file left by an earlier call is resumed. Only a
// transfer that ended without error and left exactly the announced number of
// bytes gives the partial file the destination's name, and only when the
// destination then really holds them does Start answer 0.
//
// The real URL and the length survive between calls, so a repeated Start
// skips the probes and resumes. When the real URL carries an MD5 the client
// digests the bytes as it writes them, on a hashing thread of its own behind
// the writer (resumed bytes are read back once), so verification costs no
// second pass over the file and does not slow the transfer: see Md5Hex.
//
// Thread safety: Start and the probes block the calling thread; progressFunc
// runs on it, inside libcurl. RequestStop may be called from any thread.
// The owner destroys the client only when no Start is running.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include <curl/curl.h>

#include "local_file.h"
#include "background_md5.h"

// Progress receiver: (owner, speed in bytes per second, reserved 0.0,
// percent 0..100, not capped).
using ProgressFunc = void (*)(void* owner, double speed, double reserved, double percent);

class CurlClient {
 public:
  // Results of Start besides 0 and libcurl's own codes.
  static constexpr int kFinishFailed = -995;   // the finished file could not be put in place
  static constexpr int kOpenFailed = -996;     // the partial file could not be opened
  static constexpr int kNoHandle = -997;       // libcurl gave no easy handle
  static constexpr int kNoLength = -998;       // no real URL with a length of at least 1 MiB
  static constexpr double kMinimumLength = 1048576.0;

  CurlClient(std::wstring url, std::wstring path, void* owner);
  // Removes the partial file.
  ~CurlClient();
  CurlClient(const CurlClient&) = delete;
  CurlClient& operator=(const CurlClient&) = delete;

  // The partial file's path (true) or the destination's (false).
  std::wstring GetPartPath(bool part) const;

  // Probes when needed, downloads, renames; 0 on success, else a failure
  // code (see the constants above). Blocks until the transfer has ended.
  int Start();

  // Makes the running transfer end at its next progress call (libcurl's
  // code 42). Stays set.
  void RequestStop() { stop_ = true; }

  // After a Start that answered 0: the lower-case MD5 of the destination as
  // it was written, or empty when the bytes were not digested (the real URL
  // carries no MD5, or reading back resumed bytes failed).
  const std::string& Md5Hex() const { return md5Hex_; }
  const std::string& RealUrl() const { return realUrl_; }
  double FileLength() const { return fileLength_; }
  const std::wstring& ErrorText() const { return errorText_; }

  void SetProgressFunc(ProgressFunc func) { progressFunc_ = func; }

  // Probes that use no client state (narrow URLs).
  // A header-only request that follows redirections; the handle is returned
  // performed or not, for the caller to read and clean up. Null when libcurl
  // cannot create one.
  static CURL* Head(const std::string& url);
  static std::string GetEffectiveUrl(CURL* handle);
  static double GetDownloadFileLength(CURL* handle);
  static double GetDownloadFileLength_Str(const std::string& url);
  static std::string GetRealUrl_Str(const std::string& url);

  // libcurl's transfer-information callback of Start.
  static int ProgressCallback(void* client, curl_off_t dltotal, curl_off_t dlnow,
                              curl_off_t ultotal, curl_off_t ulnow);

 private:
  static size_t WriteToPart(char* data, size_t size, size_t count, void* client);
  void Probe(const std::string& narrowUrl);
  int PrepareResume(const std::wstring& partPath);
  int Transfer(const std::wstring& partPath);
  int CheckPartComplete(const std::wstring& partPath);
  int PutInPlace(const std::wstring& partPath);

  std::wstring url_;
  std::wstring path_;
  void* owner_;
  CURL* handle_ = nullptr;
  ProgressFunc progressFunc_ = nullptr;
  double fileLength_ = -1.0;
  int64_t resumeFrom_ = -1;
  int64_t lastProgressTime_ = 0;
  std::atomic<bool> stop_{false};
  std::wstring errorText_;
  std::string realUrl_;

  OutputFile part_;
  BackgroundMd5 digest_;
  bool digesting_ = false;
  std::string md5Hex_;
};

// Reports the download-failure reason for a probe's status to the tracker.
void ReportDownloadFailureReason(long status);

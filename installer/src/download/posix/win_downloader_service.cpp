// CWinDownloader outside Windows: the system URL download service has no
// equivalent, so one plain libcurl GET per attempt stands in for it, with
// the same callback contract (no probe, no resume, progress for every
// notice). Failures are answered with the HRESULTs the Windows service
// gives for the same situations.
#include <curl/curl.h>

#include <atomic>

#include "local_file.h"
#include "transfer_security.h"
#include "utils/log.h"
#include "win_downloader.h"

namespace {

// INET_E_RESOURCE_NOT_FOUND and INET_E_DOWNLOAD_FAILURE as signed numbers.
constexpr int32_t kResourceNotFound = static_cast<int32_t>(0x800C0005u);
constexpr int32_t kDownloadFailure = static_cast<int32_t>(0x800C0008u);

}  // namespace

class CWinDownloader::CBindCallback {
 public:
  ~CBindCallback() { aborted = true; }

  // libcurl's transfer-information callback: every change of the received
  // count with a known total is one progress notice.
  static int OnProgress(void* self, curl_off_t dltotal, curl_off_t dlnow, curl_off_t, curl_off_t) {
    auto* me = static_cast<CBindCallback*>(self);
    if (dlnow == me->lastNow && !me->aborted) return 0;
    me->lastNow = dlnow;
    // The service's notices carry 32-bit counts.
    return ReportProgress(me->callback, static_cast<uint32_t>(dlnow), static_cast<uint32_t>(dltotal), me->aborted)
               ? 0 : 1;
  }

  DownloadCallback callback;
  std::atomic<bool> aborted{false};
  curl_off_t lastNow = -1;
};

namespace {

size_t WriteOut(char* data, size_t size, size_t count, void* file) {
  return static_cast<OutputFile*>(file)->Write(data, size * count);
}

}  // namespace

CWinDownloader::CWinDownloader(DownloadCallback callback, std::wstring url, std::wstring path)
    : bindCallback_(std::make_unique<CBindCallback>()),
      callback_(std::move(callback)),
      path_(std::move(path)),
      url_(std::move(url)),
      worker_(this, L"ABDEF", &CWinDownloader::WorkerProc) {}

CWinDownloader::~CWinDownloader() {
  stopping_ = true;
  bindCallback_->aborted = true;
  worker_.Join();
}

void CWinDownloader::Start() {
  if (started_.exchange(true)) return;  // the worker runs once
  bindCallback_->callback = callback_;
  worker_.Resume();
}

int32_t CWinDownloader::FetchOnce(const std::wstring& url) {
  CURL* handle = curl_easy_init();
  if (!handle) return kDownloadFailure;
  OutputFile out;
  RemovePath(path_);
  if (!out.OpenForAppend(path_)) {
    curl_easy_cleanup(handle);
    return kDownloadFailure;
  }
  const std::string narrowUrl = Utils::WideToUtf8(url);
  bindCallback_->lastNow = -1;
  int rc = curl_easy_setopt(handle, CURLOPT_URL, narrowUrl.c_str());
  rc |= curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
  rc |= curl_easy_setopt(handle, CURLOPT_FAILONERROR, 1L);
  rc |= curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, WriteOut);
  rc |= curl_easy_setopt(handle, CURLOPT_WRITEDATA, &out);
  rc |= curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
  rc |= curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, &CBindCallback::OnProgress);
  rc |= curl_easy_setopt(handle, CURLOPT_XFERINFODATA, bindCallback_.get());
  rc |= curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, 60L);
  rc |= ApplyTransferPolicy(handle);
  if (rc == 0) rc = curl_easy_perform(handle);
  curl_easy_cleanup(handle);
  const bool closed = out.Close();
  if (rc == 0 && closed && FileSize64(path_) >= 0) return 0;
  UTILS_LOGLN(L"error:%d", rc);
  RemovePath(path_);
  return rc == CURLE_COULDNT_CONNECT || rc == CURLE_COULDNT_RESOLVE_HOST ? kResourceNotFound : kDownloadFailure;
}

#include "curl_downloader.h"

#include "utils/log.h"
#include "utils/md5.h"
#include "utils/sysinfo.h"

namespace {
constexpr wchar_t kMechanism[] = L"LibCurl";
}

CCurlDownloader::CCurlDownloader(DownloadCallback callback, std::wstring url, std::wstring path)
    : callback_(std::move(callback)),
      path_(std::move(path)),
      url_(std::move(url)),
      client_(url_, path_, this) {
  client_.SetProgressFunc(&CCurlDownloader::OnProgress);
  RemovePath(client_.GetPartPath(true));
}

CCurlDownloader::~CCurlDownloader() {
  stopping_ = true;
  client_.RequestStop();
  worker_.reset();  // waits for a running worker
}

void CCurlDownloader::Start() {
  if (workerThreadId_.load() == Utils::CurrentThreadId()) {
    // Called from inside our own callback: the worker starts the next run
    // itself once the callback has returned.
    restartRequested_ = true;
    return;
  }
  std::lock_guard<std::mutex> guard(startLock_);
  if (worker_) {
    worker_->Join();
    worker_.reset();
  }
  worker_ = std::make_unique<Utils::Thread>(this, L"ABDEF", &CCurlDownloader::dlThreadFun);
  worker_->Resume();
}

uint32_t CCurlDownloader::dlThreadFun(void* self) {
  auto* downloader = static_cast<CCurlDownloader*>(self);
  downloader->workerThreadId_ = Utils::CurrentThreadId();
  do {
    downloader->RunOnce();
  } while (downloader->restartRequested_.exchange(false) && !downloader->stopping_);
  downloader->workerThreadId_ = 0;
  return 0;
}

void CCurlDownloader::OnProgress(void* owner, double speed, double, double percent) {
  if (speed > 0.0 && percent <= 100.0)
    static_cast<CCurlDownloader*>(owner)->Report(DL_CODE_PROGRESS, percent / 100.0, L"");
}

void CCurlDownloader::Report(int32_t code, double value, const wchar_t* text) {
  if (!stopping_) callback_(code, value, text);
}

int CCurlDownloader::TransferWithBudget() {
  int budget = kBudget;
  int rc = client_.Start();
  while (rc != 0) {
    budget -= rc == 18 ? 1 : 2;
    if (budget <= 0 || stopping_) {
      Report(DL_CODE_FAIL, rc, kMechanism);
      return rc;
    }
    UTILS_LOGLN(L"CurlDownLoader Code=%d", rc);
    Utils::SleepMilliseconds(kPauseMs);
    rc = client_.Start();
  }
  return 0;
}

// The digest the client took while writing; the file itself when the client
// could not take one. Empty when the destination cannot be read.
int CCurlDownloader::VerifyMd5() {
  const std::string expected = GetMd5FromUrl(client_.RealUrl());
  if (expected.size() != 32) {
    Report(DL_CODE_MD5_ERROR, 0.0, L"curl获取url-md5失败");
    return 0;
  }
  std::string actual = client_.Md5Hex();
  if (actual.empty()) actual = Utils::FileMd5W(path_);
  if (actual == expected) return 0;
  Report(DL_CODE_MD5_ERROR, 0.0, L"curl文件md5校验失败");
  return 1;
}

void CCurlDownloader::RunOnce() {
  Report(DL_CODE_START, 1.0, L"");
  if (path_.empty()) {
    Report(DL_CODE_FAIL, 1.0, L"");
    return;
  }
  if (TransferWithBudget() != 0) return;
  if (VerifyMd5() == 0) {
    Report(DL_CODE_SUCCESS, 0.0, kMechanism);
  } else if (retried_) {
    Report(DL_CODE_FAIL, 0.0, kMechanism);
  } else {
    retried_ = true;
    Report(DL_CODE_RETRY, 0.0, kMechanism);
  }
}

#include "curl_client.h"

#include <cerrno>
#include <cstring>
#include <ctime>

#include "downloader.h"
#include "installer_config.h"
#include "reporting.h"
#include "transfer_security.h"
#include "utils/format.h"
#include "utils/log.h"
#include "utils/text.h"

namespace {

// libcurl's receive buffer: large chunks mean few write calls and few
// system writes per megabyte on fast links.
constexpr long kReceiveBuffer = 512 * 1024;

size_t Discard(char*, size_t size, size_t count, void*) { return size * count; }

bool IsFileUrl(const std::wstring& url) { return url.rfind(L"file:///", 0) == 0; }

// The URL as libcurl gets it: UTF-8, or the ANSI code page for local files.
std::string NarrowUrl(const std::wstring& url) {
  return IsFileUrl(url) ? Utils::WideToMultiByte(url, Utils::kCodePageAnsi) : Utils::WideToUtf8(url);
}

std::wstring CurlText(int code) {
  return Utils::MultiByteToWide(curl_easy_strerror(static_cast<CURLcode>(code)), Utils::kCodePageAnsi);
}

// The two request headers of the transfer; they live until the process ends.
curl_slist* TransferHeaders() {
  static curl_slist* const headers = [] {
    curl_slist* list = curl_slist_append(nullptr, "Connection: keep-alive");
    return curl_slist_append(list, "Accept-Encoding: gzip, deflate");
  }();
  return headers;
}

}  // namespace

void ReportDownloadFailureReason(long status) {
  const std::wstring detail = Utils::FormatW(L"1.获取文件大小的状态码为=%ld；", status).substr(0, 199);
  TrackTaskEvent(L"下载失败原因", 0.0f, detail, AbContext{{L"AB", L"IN"}});
}

CurlClient::CurlClient(std::wstring url, std::wstring path, void* owner)
    : url_(std::move(url)), path_(std::move(path)), owner_(owner) {}

CurlClient::~CurlClient() {
  RemovePath(GetPartPath(true));
  stop_ = true;
}

std::wstring CurlClient::GetPartPath(bool part) const { return part ? path_ + L".part" : path_; }

CURL* CurlClient::Head(const std::string& url) {
  CURL* handle = curl_easy_init();
  int rc = 0;
  if (handle) {
    rc = curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    rc |= curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    rc |= curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
    rc |= curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, Discard);
    rc |= curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, 60L);
    rc |= ApplyTransferPolicy(handle);
    if (rc == 0) {
      rc = curl_easy_perform(handle);
      if (rc != 0) UTILS_LOG(L"error:%d:%s\n", rc, CurlText(rc));
    }
  }
  UTILS_LOGLN(L"error:%d:%s", rc, CurlText(rc));
  return handle;
}

std::string CurlClient::GetEffectiveUrl(CURL* handle) {
  char* effective = nullptr;
  if (handle && curl_easy_getinfo(handle, CURLINFO_EFFECTIVE_URL, &effective) == CURLE_OK && effective)
    return effective;
  return std::string();
}

double CurlClient::GetDownloadFileLength(CURL* handle) {
  if (!handle) return -1.0;
  curl_off_t length = -1;
  const int rc = curl_easy_getinfo(handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
  UTILS_LOGLN(L"error:%d:%s", rc, CurlText(rc));
  long status = 0;
  const bool statusOk = curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status) == CURLE_OK;
  if (statusOk && status >= 200 && status <= 399) return rc == CURLE_OK ? static_cast<double>(length) : -1.0;
  ReportDownloadFailureReason(statusOk ? status : 0);
  return -1.0;
}

double CurlClient::GetDownloadFileLength_Str(const std::string& url) {
  double length = -1.0;
  int rc = 0;
  CURL* handle = curl_easy_init();
  if (handle) {
    rc = curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    rc |= curl_easy_setopt(handle, CURLOPT_HEADER, 1L);
    rc |= curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
    rc |= curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, Discard);
    rc |= curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, 60L);
    rc |= ApplyTransferPolicy(handle);
    if (rc == 0) {
      curl_easy_perform(handle);
      curl_off_t reported = -1;
      if (curl_easy_getinfo(handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &reported) == CURLE_OK)
        length = static_cast<double>(reported);
      long status = 0;
      rc = curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
      if (rc != CURLE_OK || status < 200 || status > 400) ReportDownloadFailureReason(rc == CURLE_OK ? status : 0);
    }
    curl_easy_cleanup(handle);
  }
  UTILS_LOGLN(L"error:%d:%s", rc, CurlText(rc));
  return length;
}

std::string CurlClient::GetRealUrl_Str(const std::string& url) {
  std::string answer;
  if (CURL* handle = curl_easy_init()) {
    int rc = curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    rc |= curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    rc |= curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
    rc |= curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, Discard);
    rc |= curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, 60L);
    rc |= ApplyTransferPolicy(handle);
    if (rc == 0) {
      rc = curl_easy_perform(handle);
      if (rc != 0) UTILS_LOG(L"error:%d:%s\n", rc, CurlText(rc));
      else answer = GetEffectiveUrl(handle);
    }
    curl_easy_cleanup(handle);
  }
  return answer.empty() ? url : answer;
}

void CurlClient::Probe(const std::string& narrowUrl) {
  if (realUrl_.empty() || fileLength_ < kMinimumLength) {
    CURL* handle = Head(narrowUrl);
    realUrl_ = GetEffectiveUrl(handle);
    fileLength_ = GetDownloadFileLength(handle);
    if (handle) curl_easy_cleanup(handle);
  }
  if (realUrl_.empty() || fileLength_ < kMinimumLength) {
    realUrl_ = GetRealUrl_Str(narrowUrl);
    if (!realUrl_.empty()) fileLength_ = GetDownloadFileLength_Str(realUrl_);
  }
}

// Measures the partial file and primes the digest with the bytes it already
// holds. A partial file that is already complete needs no request; one that
// is longer than the package cannot be a prefix of it and starts over.
int CurlClient::PrepareResume(const std::wstring& partPath) {
  const int64_t length = static_cast<int64_t>(fileLength_);
  resumeFrom_ = FileSize64(partPath);
  if (resumeFrom_ > length) {
    part_.Close();
    if (!RemovePath(partPath) || !part_.OpenForAppend(partPath)) return kOpenFailed;
    resumeFrom_ = 0;
  }
  digest_.Reset();
  digesting_ = GetMd5FromUrl(realUrl_).size() == 32;
  if (digesting_ && resumeFrom_ > 0 && !HashFilePrefix(partPath, resumeFrom_, digest_)) digesting_ = false;
  return 0;
}

int CurlClient::Transfer(const std::wstring& partPath) {
  curl_easy_setopt(handle_, CURLOPT_HTTPHEADER, TransferHeaders());
  curl_easy_setopt(handle_, CURLOPT_TCP_KEEPALIVE, 1L);
  curl_easy_setopt(handle_, CURLOPT_TCP_KEEPIDLE, 10L);
  curl_easy_setopt(handle_, CURLOPT_TCP_KEEPINTVL, 10L);
  curl_easy_setopt(handle_, CURLOPT_TIMEOUT, 0L);
  int rc = curl_easy_setopt(handle_, CURLOPT_URL, realUrl_.c_str());
  rc |= curl_easy_setopt(handle_, CURLOPT_FOLLOWLOCATION, 1L);
  rc |= curl_easy_setopt(handle_, CURLOPT_WRITEFUNCTION, WriteToPart);
  rc |= curl_easy_setopt(handle_, CURLOPT_WRITEDATA, this);
  rc |= curl_easy_setopt(handle_, CURLOPT_NOPROGRESS, 0L);
  rc |= curl_easy_setopt(handle_, CURLOPT_XFERINFOFUNCTION, ProgressCallback);
  rc |= curl_easy_setopt(handle_, CURLOPT_XFERINFODATA, this);
  rc |= curl_easy_setopt(handle_, CURLOPT_FAILONERROR, 1L);
  rc |= curl_easy_setopt(handle_, CURLOPT_CONNECTTIMEOUT, 60L);
  rc |= curl_easy_setopt(handle_, CURLOPT_BUFFERSIZE, kReceiveBuffer);
  rc |= ApplyTransferPolicy(handle_);
  const int prepared = PrepareResume(partPath);
  if (prepared != 0) return prepared;
  if (resumeFrom_ == static_cast<int64_t>(fileLength_)) return 0;  // nothing left to ask for
  if (resumeFrom_ > 0)
    rc |= curl_easy_setopt(handle_, CURLOPT_RESUME_FROM_LARGE, static_cast<curl_off_t>(resumeFrom_));
  if (rc != 0) return rc;
  return curl_easy_perform(handle_);
}

// A transfer that libcurl calls finished may still be short (a server that
// announced fewer bytes than the probe found) or long: only the exact length
// counts. Short files are resumed by the next attempt; long ones start over.
int CurlClient::CheckPartComplete(const std::wstring& partPath) {
  const int64_t size = FileSize64(partPath);
  const int64_t length = static_cast<int64_t>(fileLength_);
  if (size == length) return 0;
  UTILS_LOGLN(L"part file holds %lld bytes of %lld", static_cast<long long>(size), static_cast<long long>(length));
  if (size > length) {
    RemovePath(partPath);
    return CURLE_WRITE_ERROR;
  }
  return CURLE_PARTIAL_FILE;
}

// The partial file takes the destination's name; success only when the
// destination then exists with every byte.
int CurlClient::PutInPlace(const std::wstring& partPath) {
  if (!RemovePath(path_) || !RenameReplacing(partPath, path_) ||
      FileSize64(path_) != static_cast<int64_t>(fileLength_)) {
    UTILS_LOGLN(L"cannot put the download in place: %s", path_);
    return kFinishFailed;
  }
  return 0;
}

int CurlClient::Start() {
  UTILS_LOGLN(L"start download");
  const std::wstring partPath = GetPartPath(true);
  md5Hex_.clear();
  Probe(NarrowUrl(url_));

  int rc = 0;
  if (fileLength_ < kMinimumLength) {
    rc = kNoLength;
  } else if ((handle_ = curl_easy_init()) == nullptr) {
    rc = kNoHandle;
  } else if (!part_.OpenForAppend(partPath)) {
    errorText_ = Utils::MultiByteToWide(std::strerror(errno), Utils::kCodePageAnsi).substr(0, 200);
    rc = kOpenFailed;
  } else {
    rc = Transfer(partPath);
  }
  UTILS_LOGLN(L"error:%d:%s", rc, CurlText(rc));
  if (handle_) {
    curl_easy_cleanup(handle_);
    handle_ = nullptr;
  }
  if (part_.IsOpen() && !part_.Close() && rc == 0) rc = CURLE_WRITE_ERROR;
  if (rc == 0) rc = CheckPartComplete(partPath);
  if (rc == 0) rc = PutInPlace(partPath);
  if (rc == 0 && digesting_) md5Hex_ = digest_.HexDigest();
  UTILS_LOGLN(L"end download");
  return rc;
}

size_t CurlClient::WriteToPart(char* data, size_t size, size_t count, void* client) {
  auto* self = static_cast<CurlClient*>(client);
  const size_t written = self->part_.Write(data, size * count);
  if (self->digesting_ && !self->digest_.Update(data, written)) self->digesting_ = false;
  return written;
}

int CurlClient::ProgressCallback(void* client, curl_off_t dltotal, curl_off_t dlnow, curl_off_t, curl_off_t) {
  auto* self = static_cast<CurlClient*>(client);
  if (self->stop_) return 1;
  const int64_t now = static_cast<int64_t>(std::time(nullptr));
  if (now - self->lastProgressTime_ < 1) return 0;
  self->lastProgressTime_ = now;
  curl_off_t speedBytes = 0;
  const double speed = curl_easy_getinfo(self->handle_, CURLINFO_SPEED_DOWNLOAD_T, &speedBytes) == CURLE_OK
                           ? static_cast<double>(speedBytes) : 0.0;
  double percent = 0.0;
  if (self->fileLength_ > kMinimumLength) {
    percent = (static_cast<double>(self->resumeFrom_ > 0 ? self->resumeFrom_ : 0) + static_cast<double>(dlnow)) /
              self->fileLength_ * 100.0;
  } else {
    if (dlnow <= 0 || dltotal <= 0) return 0;
    percent = static_cast<double>(dlnow) * 100.0 / static_cast<double>(dltotal);
  }
  if (percent == 0.0) return 0;
  if (self->progressFunc_) self->progressFunc_(self->owner_, speed, 0.0, percent);
  if (dltotal != 0) {
    UTILS_LOG(L" %dM %dM   progress:%f%%  speed:%f \n", static_cast<int>(dlnow / 1048576),
              static_cast<int>(dltotal / 1048576), static_cast<double>(static_cast<float>(percent)),
              static_cast<double>(static_cast<float>(speed / 1024)));
  }
  return 0;
}

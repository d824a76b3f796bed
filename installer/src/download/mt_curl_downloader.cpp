#include "mt_curl_downloader.h"

#include <ctime>

#include "installer_config.h"
#include "transfer_security.h"
#include "utils/format.h"
#include "utils/log.h"
#include "utils/sysinfo.h"
#include "utils/text.h"

namespace {

constexpr wchar_t kMechanism[] = L"LibCurl";
constexpr long kReceiveBuffer = 512 * 1024;

size_t Discard(char*, size_t size, size_t count, void*) { return size * count; }

std::wstring CurlText(int code) {
  return Utils::MultiByteToWide(curl_easy_strerror(static_cast<CURLcode>(code)), Utils::kCodePageAnsi);
}

}  // namespace

CMTCurlDownloader::CMTCurlDownloader(DownloadCallback callback, std::wstring url, std::wstring path)
    : callback_(std::move(callback)), path_(std::move(path)), url_(std::move(url)) {
  RemovePath(path_);
  DeletePartFiles();
}

CMTCurlDownloader::~CMTCurlDownloader() {
  stopping_ = true;  // range transfers abort at their next progress call
  {
    std::lock_guard<std::mutex> guard(startLock_);
    worker_.reset();
  }
  JoinRunThreads();
  ReleaseParts();
}

std::wstring CMTCurlDownloader::PartPath(int index) const { return path_ + L"_" + std::to_wstring(index); }

void CMTCurlDownloader::DeletePartFiles() {
  RemovePath(PartPath(0));
  RemovePath(PartPath(1));
}

void CMTCurlDownloader::Report(int32_t code, double value, const wchar_t* text) {
  if (!stopping_) callback_(code, value, text);
}

void CMTCurlDownloader::Start() {
  std::lock_guard<std::mutex> guard(startLock_);
  if (worker_) {
    worker_->Join();  // the worker ends right after launching; never the watcher
    worker_.reset();
  }
  worker_ = std::make_unique<Utils::Thread>(this, L"ABDEF", &CMTCurlDownloader::Start_Down);
  worker_->Resume();
}

void CMTCurlDownloader::JoinRunThreads() {
  // The previous run's watcher may be the thread that called Start from its
  // callback; it returns right after, so waiting here cannot deadlock.
  if (watcher_.joinable()) watcher_.join();
  for (std::thread& range : rangeThreads_)
    if (range.joinable()) range.join();
  rangeThreads_.clear();
}

std::vector<std::pair<int64_t, int64_t>> CMTCurlDownloader::SplitRanges(int64_t fileLength) {
  int64_t count = fileLength / kGranularity;
  if (count < 1) count = 1;
  if (count > kMaxParts) count = kMaxParts;
  const int64_t size = fileLength / count;
  std::vector<std::pair<int64_t, int64_t>> ranges;
  int64_t offset = 0;
  for (int64_t i = 0; i < count; ++i) {
    const int64_t length = i + 1 == count ? size + fileLength % count : size;
    ranges.emplace_back(offset, offset + length - 1);
    offset += length;
  }
  return ranges;
}

bool CMTCurlDownloader::getRealDownloadUrl(const std::string& narrowUrl) {
  realUrl_.clear();
  expectedMd5_.clear();
  fileLength_ = 0;
  if (!InstallerConfig.CurlAvailable) return false;
  CURL* handle = curl_easy_init();
  if (!handle) return false;
  static curl_slist* const headers = curl_slist_append(nullptr, "Connection: keep-alive");
  curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers);
  int rc = curl_easy_setopt(handle, CURLOPT_URL, narrowUrl.c_str());
  rc |= curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
  rc |= curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
  rc |= ApplyTransferPolicy(handle);
  rc |= curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, Discard);
  rc |= curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, 60L);
  if (rc != 0 || curl_easy_perform(handle) != CURLE_OK) {
    curl_easy_cleanup(handle);
    return false;
  }
  char* effective = nullptr;
  if (curl_easy_getinfo(handle, CURLINFO_EFFECTIVE_URL, &effective) == CURLE_OK && effective && *effective) {
    realUrl_ = effective;
    UTILS_LOGLN(L"Download File real url %s", realUrl_);
    expectedMd5_ = GetMd5FromUrl(realUrl_);
  }
  curl_off_t length = -1;
  long status = 0;
  if (curl_easy_getinfo(handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK &&
      curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status) == CURLE_OK && status >= 200 && status <= 399) {
    fileLength_ = length;
    UTILS_LOGLN(L"Download File Length %lld", static_cast<long long>(fileLength_));
  }
  curl_easy_cleanup(handle);
  return !realUrl_.empty() && fileLength_ >= kMinimumLength;
}

// Parts for the ranges of the file; a part file that holds more than its
// range cannot be a prefix of it and starts again from nothing.
void CMTCurlDownloader::PrepareParts() {
  digest_.Reset();
  digesting_ = expectedMd5_.size() == 32;
  const auto ranges = SplitRanges(fileLength_);
  for (size_t i = 0; i < ranges.size(); ++i) {
    auto part = std::make_unique<DownloadPartNode>();
    part->partPath = PartPath(static_cast<int>(i));
    part->first = ranges[i].first;
    part->last = ranges[i].second;
    int64_t existing = FileSize64(part->partPath);
    if (existing > part->last - part->first + 1) {
      RemovePath(part->partPath);
      existing = 0;
    }
    if (existing < 0) existing = 0;
    part->bytes = existing;
    part->next = part->first + existing;
    part->handle = curl_easy_init();
    part->url = realUrl_;
    if (i == 0 && digesting_) {
      if (existing > 0 && !HashFilePrefix(part->partPath, existing, digest_)) digesting_ = false;
      part->digest = &digest_;
    }
    if (part->next > part->last) {
      part->state = 0;
    } else {
      part->state = kStatePending;
      if (!part->file.OpenForAppend(part->partPath)) part->state = kStateOpenFailed;
    }
    parts_.push_back(std::move(part));
  }
}

uint32_t CMTCurlDownloader::Start_Down(void* arg) {
  auto* self = static_cast<CMTCurlDownloader*>(arg);
  self->JoinRunThreads();
  self->Report(DL_CODE_START, 1.0, L"");
  UTILS_LOGLN(L"start download");
  const bool fileUrl = self->url_.rfind(L"file:///", 0) == 0;
  const std::string narrowUrl = fileUrl ? Utils::WideToMultiByte(self->url_, Utils::kCodePageAnsi)
                                        : Utils::WideToUtf8(self->url_);
  RemovePath(self->path_);
  if (self->lastPercent_ == 0.0) self->DeletePartFiles();
  if (!(!self->realUrl_.empty() && self->fileLength_ >= kMinimumLength) && !self->getRealDownloadUrl(narrowUrl)) {
    self->Report(DL_CODE_FAIL, 0.0, kMechanism);
    return 0;
  }
  self->PrepareParts();
  for (auto& part : self->parts_) {
    if (part->state != kStatePending || self->stopping_) continue;
    self->runningParts_ += 1;  // before the thread starts, so the watcher never sees 0 too early
    DownloadPartNode* node = part.get();
    self->rangeThreads_.emplace_back([self, node] { self->downloadThreadFun(node); });
    Utils::SleepMilliseconds(100);
  }
  self->watcher_ = std::thread([self] { self->waitForFinishThreadFun(); });
  return 0;
}

void CMTCurlDownloader::downloadThreadFun(DownloadPartNode* part) {
  int budget = kBudget;
  int rc = downloadExe(part);
  while (rc != 0 && budget > 0 && !stopping_) {
    budget -= rc == 18 ? 1 : 2;
    UTILS_LOGLN(L"CurlDownLoader Code=%d", rc);
    Utils::SleepMilliseconds(400);
    if (stopping_) break;
    rc = downloadExe(part);
  }
  part->file.Close();
  runningParts_ -= 1;
}

int CMTCurlDownloader::downloadExe(DownloadPartNode* part) {
  const std::string range = Utils::Format("%lld-%lld", static_cast<long long>(part->next),
                                          static_cast<long long>(part->last));
  CURL* h = part->handle;
  if (!h) return part->state;
  part->refused = false;
  int rc = curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  rc |= curl_easy_setopt(h, CURLOPT_URL, part->url.c_str());
  rc |= curl_easy_setopt(h, CURLOPT_TIMEOUT, 0L);
  rc |= curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
  rc |= curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, WritePart);
  rc |= curl_easy_setopt(h, CURLOPT_WRITEDATA, part);
  rc |= curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
  rc |= curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, ProgressFunction);
  rc |= curl_easy_setopt(h, CURLOPT_XFERINFODATA, this);
  rc |= curl_easy_setopt(h, CURLOPT_FAILONERROR, 1L);
  rc |= curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, 60L);
  rc |= ApplyTransferPolicy(h);
  rc |= curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
  rc |= curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, 5L);
  rc |= curl_easy_setopt(h, CURLOPT_BUFFERSIZE, kReceiveBuffer);
  rc |= curl_easy_setopt(h, CURLOPT_RANGE, range.c_str());
  if (rc != 0) return rc;
  rc = curl_easy_perform(h);
  if (rc != 0) UTILS_LOGLN(L"error:%d:%s", rc, CurlText(rc));
  else UTILS_LOGLN(L"curl_easy_cleanup");
  curl_easy_reset(h);
  // A server that ended the transfer on the range's last byte completed it,
  // whatever libcurl says about the rest of its answer.
  if (part->next > part->last && !part->refused) rc = 0;
  if (rc == 0 && !part->file.Close()) rc = CURLE_WRITE_ERROR;
  part->state = rc;
  return rc;
}

size_t CMTCurlDownloader::WritePart(char* data, size_t size, size_t count, void* arg) {
  auto* part = static_cast<DownloadPartNode*>(arg);
  if (!part->file.IsOpen() || part->next > part->last) return 0;
  long status = 0;
  curl_easy_getinfo(part->handle, CURLINFO_RESPONSE_CODE, &status);
  // A 200 answer carries the file from its first byte: usable only for a
  // range that needs exactly those bytes; elsewhere it would write the
  // wrong bytes at this offset.
  if (status != 206 && !(status == 200 && part->next == 0)) {
    part->refused = true;
    UTILS_LOGLN(L"range %lld-%lld answered with status %ld", static_cast<long long>(part->next),
                static_cast<long long>(part->last), status);
    return 0;
  }
  const size_t length = size * count;
  const int64_t room = part->last - part->next + 1;
  const size_t wanted = static_cast<int64_t>(length) > room ? static_cast<size_t>(room) : length;
  const size_t written = part->file.Write(data, wanted);
  if (part->digest && !part->digest->Update(data, written)) part->digest = nullptr;
  part->next += static_cast<int64_t>(written);
  part->bytes += static_cast<int64_t>(written);
  return written;
}

int CMTCurlDownloader::ProgressFunction(void* arg, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  auto* self = static_cast<CMTCurlDownloader*>(arg);
  if (self->stopping_) return 1;
  std::lock_guard<std::mutex> guard(self->lock_);
  const int64_t now = static_cast<int64_t>(std::time(nullptr));
  if (now - self->lastProgressTime_ < 1) return 0;
  self->lastProgressTime_ = now;
  double sum = 0.0;
  if (self->fileLength_ >= kMinimumLength) {
    for (const auto& part : self->parts_) {
      const int64_t bytes = part->bytes.load();
      if (bytes > 0) sum += static_cast<double>(bytes) * 100.0 / static_cast<double>(self->fileLength_);
    }
  }
  if (sum > 100.0) return 0;
  if (sum - self->lastPercent_ < 1.0) return 0;
  self->lastPercent_ = sum;
  self->Report(DL_CODE_PROGRESS, sum / 100.0, L"");
  return 0;
}

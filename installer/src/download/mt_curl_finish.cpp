// The watcher of a CMTCurlDownloader run: wait for the ranges, join the
// part files into the destination, verify, report.
#include "mt_curl_downloader.h"

#include "utils/log.h"

namespace {
constexpr wchar_t kMechanism[] = L"LibCurl";
}

void CMTCurlDownloader::ReleaseParts() {
  for (auto& part : parts_) {
    if (part->handle) curl_easy_cleanup(part->handle);
    part->handle = nullptr;
    part->file.Close();
  }
  parts_.clear();
}

// Every part must hold exactly its range and be copied whole; the
// destination must then exist with the file's length. Anything less fails
// the run instead of leaving a short file behind.
int CMTCurlDownloader::JoinParts() {
  for (const auto& part : parts_) {
    if (FileSize64(part->partPath) != part->last - part->first + 1) {
      UTILS_LOGLN(L"part file %s does not hold its range", part->partPath);
      return kJoinFailed;
    }
  }
  OutputFile first;
  if (!first.OpenForAppend(parts_[0]->partPath)) return kJoinFailed;
  BackgroundMd5* digest = digesting_ && parts_[0]->digest ? &digest_ : nullptr;
  if (digesting_ && !digest) digesting_ = false;
  bool copied = true;
  for (size_t i = 1; i < parts_.size(); ++i) {
    const DownloadPartNode& part = *parts_[i];
    if (copied && AppendFile(part.partPath, first, digest) != part.last - part.first + 1) copied = false;
    UTILS_LOGLN(L"partPath::%s", part.partPath);
  }
  if (!first.Close() || !copied) return kJoinFailed;
  if (!RemovePath(path_) || !RenameReplacing(parts_[0]->partPath, path_) || FileSize64(path_) != fileLength_) {
    UTILS_LOGLN(L"cannot put the download in place: %s", path_);
    return kJoinFailed;
  }
  DeletePartFiles();
  return 0;
}

void CMTCurlDownloader::FinishWithFailure(int error) {
  ReleaseParts();
  if (lastPercent_ == 0.0) DeletePartFiles();
  if (retried_) {
    lastPercent_ = 0.0;
    Report(DL_CODE_FAIL, error, kMechanism);
  } else {
    retried_ = true;
    Report(DL_CODE_RETRY, error, kMechanism);
  }
}

void CMTCurlDownloader::waitForFinishThreadFun() {
  for (std::thread& range : rangeThreads_)
    if (range.joinable()) range.join();
  rangeThreads_.clear();
  if (stopping_) return;

  int error = 0;
  for (const auto& part : parts_) {
    if (part->state != 0) {
      error = part->state;
      break;
    }
  }
  if (error != 0) {
    FinishWithFailure(error);
    return;
  }

  lastPercent_ = 0.0;
  if (JoinParts() != 0) {
    // The part files may be half joined: the next run starts from nothing.
    ReleaseParts();
    DeletePartFiles();
    RemovePath(path_);
    FinishWithFailure(kJoinFailed);
    return;
  }

  if (expectedMd5_.size() == 32) {
    std::string actual = digesting_ ? digest_.HexDigest() : Utils::FileMd5W(path_);
    if (actual != expectedMd5_) {
      Report(DL_CODE_MD5_ERROR, 0.0, L"mtcurl文件md5校验失败");
      RemovePath(path_);
      ReleaseParts();
      if (retried_) {
        UTILS_LOGLN(L"finish recv, md5 chaek failed and retry failed.");
        Report(DL_CODE_FAIL, 0.0, kMechanism);
      } else {
        retried_ = true;
        UTILS_LOGLN(L"finish recv, md5 chaek failed retry once.");
        Report(DL_CODE_RETRY, 0.0, kMechanism);
      }
      return;
    }
  } else {
    Report(DL_CODE_MD5_ERROR, 0.0, L"mtcurl获取url-md5失败");
  }
  UTILS_LOGLN(L"finish recv");
  ReleaseParts();
  Report(DL_CODE_SUCCESS, 0.0, kMechanism);
}

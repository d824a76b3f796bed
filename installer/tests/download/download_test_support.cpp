#include "download_test_support.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <curl/curl.h>

#include "utils/format.h"
#include "utils/sysinfo.h"

namespace fs = std::filesystem;

namespace dltest {

DownloadCallback Recorder::Callback() {
  return [this](int32_t code, double value, const wchar_t* text) {
    CDownloader* again = nullptr;
    {
      std::lock_guard<std::mutex> guard(lock_);
      reports_.push_back({code, value, text ? text : L""});
      if (code == DL_CODE_SUCCESS || code == DL_CODE_FAIL) ended_ = true;
      if (code == DL_CODE_RETRY) again = downloader_;
    }
    changed_.notify_all();
    if (again) again->Start();
  };
}

std::vector<Report> Recorder::WaitForEnd() {
  std::unique_lock<std::mutex> lock(lock_);
  changed_.wait(lock, [this] { return ended_; });
  return reports_;
}

void Recorder::WaitFor(int32_t code) {
  std::unique_lock<std::mutex> lock(lock_);
  changed_.wait(lock, [this, code] {
    for (const Report& r : reports_)
      if (r.code == code) return true;
    return false;
  });
}

std::vector<Report> Recorder::Snapshot() {
  std::lock_guard<std::mutex> guard(lock_);
  return reports_;
}

std::vector<int32_t> Recorder::Milestones(const std::vector<Report>& reports) {
  std::vector<int32_t> codes;
  for (const Report& r : reports)
    if (r.code != DL_CODE_PROGRESS) codes.push_back(r.code);
  return codes;
}

ScratchFolder::ScratchFolder() {
  static std::atomic<int> counter{0};
  const fs::path base = fs::temp_directory_path() /
                        ("tv-dl-" + std::to_string(Utils::CurrentProcessId()) + "-" + std::to_string(counter++));
  fs::create_directories(base);
  root_ = base.wstring();
}

ScratchFolder::~ScratchFolder() {
  std::error_code error;
  fs::remove_all(fs::path(root_), error);
}

std::wstring ScratchFolder::Path(const std::wstring& leaf) const { return (fs::path(root_) / leaf).wstring(); }

std::string ReadFileBytes(const std::wstring& path) {
  std::ifstream in(fs::path(path), std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

bool FileExists(const std::wstring& path) {
  std::error_code error;
  return fs::exists(fs::path(path), error);
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  std::ofstream out(fs::path(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

namespace {

size_t Collect(char* data, size_t size, size_t count, void* out) {
  static_cast<std::string*>(out)->append(data, size * count);
  return size * count;
}

std::string Request(const std::string& url, const std::string* body) {
  std::string answer;
  CURL* handle = curl_easy_init();
  if (!handle) return answer;
  curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
  curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, Collect);
  curl_easy_setopt(handle, CURLOPT_WRITEDATA, &answer);
  if (body) curl_easy_setopt(handle, CURLOPT_POSTFIELDS, body->c_str());
  curl_easy_perform(handle);
  curl_easy_cleanup(handle);
  return answer;
}

}  // namespace

std::string HttpGet(const std::string& url) { return Request(url, nullptr); }
void HttpPost(const std::string& url, const std::string& body) { Request(url, &body); }

std::string ReadFirstLine(Utils::ChildProcess& child) {
  std::string line;
  char c = 0;
  while (child.ReadOutput(&c, 1) == 1 && c != '\n') line.push_back(c);
  return line;
}

}  // namespace dltest

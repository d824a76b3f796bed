// Helpers shared by the download tests: a recorder of downloader reports,
// a scratch folder, and (natively) the scripted fault server and nginx
// started as child processes on 127.0.0.1.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "downloader.h"
#include "utils/process.h"

namespace dltest {

struct Report {
  int32_t code;
  double value;
  std::wstring text;
};

// Collects every report; answers DL_CODE_RETRY by calling Start from inside
// the callback, as the install orchestrator does.
class Recorder {
 public:
  DownloadCallback Callback();
  void Attach(CDownloader* downloader) { downloader_ = downloader; }
  // Blocks until a run ended with DL_CODE_SUCCESS or DL_CODE_FAIL.
  std::vector<Report> WaitForEnd();
  // Blocks until the first report with that code.
  void WaitFor(int32_t code);
  // The codes other than DL_CODE_PROGRESS, in order.
  static std::vector<int32_t> Milestones(const std::vector<Report>& reports);
  std::vector<Report> Snapshot();

 private:
  std::mutex lock_;
  std::condition_variable changed_;
  std::vector<Report> reports_;
  CDownloader* downloader_ = nullptr;
  bool ended_ = false;
};

// A fresh folder under the temporary folder, removed with its content.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  std::wstring Path(const std::wstring& leaf) const;
  const std::wstring& Root() const { return root_; }

 private:
  std::wstring root_;
};

std::string ReadFileBytes(const std::wstring& path);
bool FileExists(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);

// HTTP helpers over libcurl for talking to the test servers.
std::string HttpGet(const std::string& url);
void HttpPost(const std::string& url, const std::string& body);

// The scripted fault server (tools/package_server/fault_server.py).
class FaultServer {
 public:
  // Files as "name:size[:seed]"; the package is the first one.
  FaultServer(const std::wstring& root, const std::vector<std::string>& files);
  ~FaultServer();
  std::string Base() const { return "http://127.0.0.1:" + std::to_string(port_); }
  std::wstring PackageUrl() const;
  // Replaces the fault script (JSON text, see the server's description).
  void Script(const std::string& json);
  // The request log as JSON text; Count counts a substring in it.
  std::string Log();
  size_t Count(const std::string& needle);

 private:
  std::unique_ptr<Utils::ChildProcess> child_;
  int port_ = 0;
};

// Reads the first line a child writes to its standard output.
std::string ReadFirstLine(Utils::ChildProcess& child);

}  // namespace dltest

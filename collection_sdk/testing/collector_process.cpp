#include "collector_process.h"

#include <cstdlib>
#include <exception>

#include "collect_sdk/http_sender.h"
#include "utils/file.h"
#include "utils/folders.h"
#include "utils/format.h"
#include "utils/text.h"

namespace collect_sdk_testing {

CollectorProcess::~CollectorProcess() { Stop(); }

std::wstring CollectorProcess::ScriptPath() {
  std::wstring path;
  Utils::JoinPath(Utils::PathDirectory(Utils::GetModulePath()), L"collector.py", &path);
  return path;
}

bool CollectorProcess::Start(const std::string& workDir, const CollectorOptions& options) {
  Stop();
  const std::wstring script = ScriptPath();
  if (!Utils::PathExists(script)) {
    error_ = "collector.py not found beside the executable";
    return false;
  }
  recordsPath_ = workDir + "/records.jsonl";
  requestsPath_ = workDir + "/requests.jsonl";
  const std::wstring commandLine = Utils::FormatW(
      L"python3 \"%s\" --records \"%s\" --requests \"%s\" --mode %s --hang-seconds %g --idle-seconds %g",
      script, Utils::Utf8ToWide(recordsPath_), Utils::Utf8ToWide(requestsPath_),
      Utils::Utf8ToWide(options.mode), options.hangSeconds, options.idleSeconds);
  const std::wstring withScript =
      options.script.empty() ? commandLine : commandLine + L" --script " + Utils::Utf8ToWide(options.script);
  try {
    child_ = new Utils::ChildProcess();
    child_->Launch(withScript);
  } catch (const std::exception& error) {
    error_ = error.what();
    Stop();
    return false;
  }
  // First output line: "port=N".
  std::string line;
  char c = 0;
  while (line.size() < 64 && child_->ReadOutput(&c, 1) == 1 && c != '\n') line.push_back(c);
  if (line.rfind("port=", 0) != 0) {
    error_ = "collector gave no port: " + line;
    Stop();
    return false;
  }
  port_ = std::atoi(line.c_str() + 5);
  return port_ > 0;
}

void CollectorProcess::Stop() {
  if (child_ == nullptr) return;
  if (child_->ExitCode() == Utils::ChildProcess::kStillActive) child_->Terminate(1);
  child_->Wait();
  child_->Close();
  delete child_;
  child_ = nullptr;
}

std::string CollectorProcess::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<std::string> CollectorProcess::Records() const { return ReadLines(recordsPath_); }
std::vector<std::string> CollectorProcess::RequestLog() const { return ReadLines(requestsPath_); }

bool CollectorProcess::Queue(const std::string& mode, int count) {
  const collect_sdk::HttpResponse response = collect_sdk::HttpSender::Post(
      Url("/_control"), std::string(), "mode=" + mode + "&count=" + std::to_string(count), {});
  return response.status == 200;
}

long JsonIntField(const std::string& objectText, const std::string& key, long fallback) {
  const std::string needle = "\"" + key + "\":";
  size_t at = objectText.find(needle);
  if (at == std::string::npos) return fallback;
  at += needle.size();
  while (at < objectText.size() && objectText[at] == ' ') ++at;
  return std::strtol(objectText.c_str() + at, nullptr, 10);
}

std::vector<std::string> ReadLines(const std::string& utf8Path) {
  std::vector<std::string> lines;
  std::string bytes;
  if (!Utils::ReadWholeFile(Utils::Utf8ToWide(utf8Path), bytes)) return lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

}  // namespace collect_sdk_testing

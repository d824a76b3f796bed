// Starting the scripted fault server as a child process (natively only:
// the server is Python).
#include <curl/curl.h>

#include "download_test_support.h"
#include "utils/cmdline.h"
#include "utils/format.h"

namespace dltest {

FaultServer::FaultServer(const std::wstring& root, const std::vector<std::string>& files) {
  static const bool curlReady = curl_global_init(CURL_GLOBAL_ALL) == CURLE_OK;
  (void)curlReady;
  std::wstring command = L"python3 " + Utils::QuoteWindowsArgument(Utils::Utf8ToWide(FAULT_SERVER_SCRIPT)) +
                         L" --max-seconds 300 --root " + Utils::QuoteWindowsArgument(root);
  if (!files.empty()) {
    command += L" --package " + Utils::Utf8ToWide(files[0].substr(0, files[0].find(':')));
    for (const std::string& file : files) command += L" --make " + Utils::Utf8ToWide(file);
  }
  child_ = std::make_unique<Utils::ChildProcess>();
  child_->Launch(command);
  const std::string line = ReadFirstLine(*child_);
  if (line.rfind("port=", 0) == 0) port_ = std::stoi(line.substr(5));
}

FaultServer::~FaultServer() {
  child_->Terminate(0);
  child_->Wait();
  child_->Close();
}

std::wstring FaultServer::PackageUrl() const { return Utils::Utf8ToWide(Base() + "/software/236"); }

void FaultServer::Script(const std::string& json) {
  HttpPost(Base() + "/_control/reset", "");
  HttpPost(Base() + "/_control/faults", json);
}

std::string FaultServer::Log() { return HttpGet(Base() + "/_control/log"); }

size_t FaultServer::Count(const std::string& needle) {
  const std::string log = Log();
  size_t count = 0;
  for (size_t at = log.find(needle); at != std::string::npos; at = log.find(needle, at + needle.size())) ++count;
  return count;
}

}  // namespace dltest

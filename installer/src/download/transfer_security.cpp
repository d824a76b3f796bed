#include "transfer_security.h"

#include <mutex>

#include "utils/folders.h"
#include "utils/format.h"

namespace {

std::mutex g_bundleLock;
std::string g_bundle;

std::string CurrentBundle() {
  {
    std::lock_guard<std::mutex> guard(g_bundleLock);
    if (!g_bundle.empty()) return g_bundle;
  }
  return Utils::WideToUtf8(Utils::GetEnvironmentText(L"TARNVELL_CA_BUNDLE"));
}

}  // namespace

void SetPackageCaBundle(const std::string& pemPath) {
  std::lock_guard<std::mutex> guard(g_bundleLock);
  g_bundle = pemPath;
}

CURLcode ApplyTransferPolicy(CURL* handle) {
  int rc = curl_easy_setopt(handle, CURLOPT_SSL_VERIFYPEER, 1L);
  rc |= curl_easy_setopt(handle, CURLOPT_SSL_VERIFYHOST, 2L);
  rc |= curl_easy_setopt(handle, CURLOPT_MAXREDIRS, kMaxRedirects);
  const std::string bundle = CurrentBundle();
  if (!bundle.empty()) rc |= curl_easy_setopt(handle, CURLOPT_CAINFO, bundle.c_str());
  return static_cast<CURLcode>(rc);
}

#include "collect_sdk/http_sender.h"

#include <curl/curl.h>

#include <stdexcept>

#include "collect_sdk/batch_body.h"
#include "stderr_line.h"

namespace collect_sdk {

namespace {

size_t AppendBody(char* data, size_t size, size_t count, void* user) {
  static_cast<std::string*>(user)->append(data, size * count);
  return size * count;
}

// Response headers are read so the transfer completes, and ignored.
size_t IgnoreHeader(char*, size_t size, size_t count, void*) { return size * count; }

}  // namespace

HttpSender::HttpSender() : handle_(curl_easy_init()) {
  if (handle_ == nullptr) throw std::runtime_error("Couldn't initialize curl handle");
}

HttpSender::~HttpSender() { curl_easy_cleanup(static_cast<CURL*>(handle_)); }

HttpResponse HttpSender::Perform(const std::string& url, const std::string& contentType,
                                 const std::string& body, const std::vector<std::string>& headers,
                                 long timeoutMilliseconds) {
  CURL* curl = static_cast<CURL*>(handle_);
  HttpResponse response;
  curl_slist* headerList = nullptr;
  curl_easy_setopt(curl, CURLOPT_POST, 1L);
  curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.data());
  curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE, static_cast<long>(body.size()));
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 0L);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 0L);
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, AppendBody);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &response.body);
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, IgnoreHeader);
  // Without a content type no header list is set, so a form post carries
  // libcurl's default "application/x-www-form-urlencoded".
  if (!contentType.empty()) {
    headerList = curl_slist_append(headerList, ("Content-Type: " + contentType).c_str());
  }
  for (const auto& header : headers) headerList = curl_slist_append(headerList, header.c_str());
  if (headerList != nullptr) curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headerList);
  curl_easy_setopt(curl, CURLOPT_USERAGENT, kUserAgent);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, timeoutMilliseconds);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  const CURLcode code = curl_easy_perform(curl);
  if (code != CURLE_OK) {
    response.status = -1;
    response.body = curl_easy_strerror(code);
  } else {
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    response.status = status;
  }
  curl_slist_free_all(headerList);
  curl_easy_reset(curl);
  return response;
}

HttpResponse HttpSender::Post(const std::string& url, const std::string& contentType,
                              const std::string& body, const std::vector<std::string>& headers,
                              long timeoutMilliseconds) {
  try {
    HttpSender sender;
    return sender.Perform(url, contentType, body, headers, timeoutMilliseconds);
  } catch (const std::runtime_error& error) {
    WriteStandardError(std::string(error.what()) + "\n");
    HttpResponse response;
    response.status = -1;
    response.body = error.what();
    return response;
  }
}

bool SendBatch(const std::string& serverUrl, const std::string& batchJson, long timeoutMilliseconds) {
  std::string body;
  if (!BuildBatchBody(batchJson, &body)) return false;
  const HttpResponse response = HttpSender::Post(serverUrl, std::string(), body, {}, timeoutMilliseconds);
  if (response.status == 200) return true;
  WriteStandardError("KvCollect SDK send failed: " + response.body + "\n");
  return false;
}

}  // namespace collect_sdk

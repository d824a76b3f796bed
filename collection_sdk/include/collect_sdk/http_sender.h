// HttpSender: one libcurl easy handle for one POST to the collector.
//
// The request: POST of the body, certificates not verified, user agent
// "KvCollect CPP SDK 0.9", a transfer timeout (3 s by default) with
// CURLOPT_NOSIGNAL, no header list unless a content type is given (so a
// form post carries libcurl's default "application/x-www-form-urlencoded").
// Response headers are read and ignored; the body is collected.
//
// The process must have run curl_global_init before the first request
// (the installer's entry point does; tests do it in their main).
// Thread safety: a sender belongs to one thread; Post and SendBatch may run
// on any thread concurrently. Both block for the transfer.
#pragma once

#include <string>
#include <vector>

namespace collect_sdk {

struct HttpResponse {
  long status = -1;  // HTTP status, -1 when the transfer itself failed
  std::string body;  // response body, or libcurl's error text for -1
};

class HttpSender {
 public:
  static constexpr long kTimeoutMilliseconds = 3000;
  static constexpr const char* kUserAgent = "KvCollect CPP SDK 0.9";

  // Throws std::runtime_error "Couldn't initialize curl handle" when
  // libcurl gives no easy handle.
  HttpSender();
  ~HttpSender();
  HttpSender(const HttpSender&) = delete;
  HttpSender& operator=(const HttpSender&) = delete;

  // One request on this sender's handle; never throws.
  HttpResponse Perform(const std::string& url, const std::string& contentType,
                       const std::string& body, const std::vector<std::string>& headers,
                       long timeoutMilliseconds = kTimeoutMilliseconds);

  // Creates a sender for one request. When no handle can be created the
  // error text goes to standard error (with a newline) and comes back as
  // the body of a -1 response. Never throws.
  static HttpResponse Post(const std::string& url, const std::string& contentType,
                           const std::string& body, const std::vector<std::string>& headers,
                           long timeoutMilliseconds = kTimeoutMilliseconds);

 private:
  void* handle_ = nullptr;  // CURL*
};

// The record store's send step: builds the body of the batch, posts it with
// an empty content type and no extra headers, and answers true only for
// status 200. Any other outcome writes "KvCollect SDK send failed: " + the
// response body + "\n" to standard error (compression failures write their
// own message, see batch_body.h). Never throws for transport failures.
bool SendBatch(const std::string& serverUrl, const std::string& batchJson,
               long timeoutMilliseconds = HttpSender::kTimeoutMilliseconds);

}  // namespace collect_sdk

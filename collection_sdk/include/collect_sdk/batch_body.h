// The wire format of one batch:
//   "data_list=" + UrlEncode(Base64(gzip(json array))) + "&gzip=1"
// gzip: deflate level 9, window bits 31 (gzip wrapper), memory level 8,
// default strategy, one finishing pass. Base64: RFC 4648 with "=" padding.
// URL encoding: A-Z a-z 0-9 - . _ ~ kept, every other byte "%XX" upper-case.
// Thread safety: any thread; no state.
#pragma once

#include <string>
#include <vector>

namespace collect_sdk {

enum class GzipStatus {
  kOk,          // out holds the gzip bytes
  kInitFailed,  // deflateInit2 refused
  kFailed,      // deflate ended with zlibCode other than Z_STREAM_END
};

struct GzipResult {
  GzipStatus status = GzipStatus::kOk;
  int zlibCode = 0;     // raw zlib result of the failing call
  std::string message;  // zlib's message text, may be empty
};

GzipResult GzipCompress(const std::string& text, std::string* out);
std::string Base64Encode(const std::string& bytes);
std::string UrlEncode(const std::string& text);

// "[" + records joined by "," + "]".
std::string BuildBatchJson(const std::vector<std::string>& records);

// The whole request body. When compression fails it writes
// "deflateInit2 failed while compressing.\n" or
// "Exception during zlib compression: (<code>) <message>\n" to standard
// error and returns false.
bool BuildBatchBody(const std::string& batchJson, std::string* body);

}  // namespace collect_sdk

#include "collect_sdk/batch_body.h"

#include <zlib.h>

#include "stderr_line.h"

namespace collect_sdk {

namespace {
constexpr int kGzipWindowBits = 31;  // 15 plus the gzip wrapper
constexpr int kMemoryLevel = 8;
constexpr size_t kChunk = 32768;
}  // namespace

GzipResult GzipCompress(const std::string& text, std::string* out) {
  GzipResult result;
  out->clear();
  z_stream stream{};
  const int init = deflateInit2(&stream, 9, Z_DEFLATED, kGzipWindowBits, kMemoryLevel, Z_DEFAULT_STRATEGY);
  if (init != Z_OK) {
    result.status = GzipStatus::kInitFailed;
    result.zlibCode = init;
    return result;
  }
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  stream.avail_in = static_cast<uInt>(text.size());
  // On the heap: a crash handler may run this on a small alternate stack.
  std::string chunk(kChunk, '\0');
  int code = Z_OK;
  do {
    stream.next_out = reinterpret_cast<Bytef*>(&chunk[0]);
    stream.avail_out = static_cast<uInt>(kChunk);
    code = deflate(&stream, Z_FINISH);
    out->append(chunk.data(), kChunk - stream.avail_out);
  } while (code == Z_OK);
  if (code != Z_STREAM_END) {
    result.status = GzipStatus::kFailed;
    result.zlibCode = code;
    result.message = stream.msg ? stream.msg : "";
    out->clear();
  }
  deflateEnd(&stream);
  return result;
}

std::string Base64Encode(const std::string& bytes) {
  static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  size_t i = 0;
  const auto at = [&](size_t k) { return static_cast<uint32_t>(static_cast<unsigned char>(bytes[k])); };
  for (; i + 3 <= bytes.size(); i += 3) {
    const uint32_t v = (at(i) << 16) | (at(i + 1) << 8) | at(i + 2);
    out.push_back(kAlphabet[(v >> 18) & 63]);
    out.push_back(kAlphabet[(v >> 12) & 63]);
    out.push_back(kAlphabet[(v >> 6) & 63]);
    out.push_back(kAlphabet[v & 63]);
  }
  const size_t rest = bytes.size() - i;
  if (rest > 0) {
    uint32_t v = at(i) << 16;
    if (rest == 2) v |= at(i + 1) << 8;
    out.push_back(kAlphabet[(v >> 18) & 63]);
    out.push_back(kAlphabet[(v >> 12) & 63]);
    out.push_back(rest == 2 ? kAlphabet[(v >> 6) & 63] : '=');
    out.push_back('=');
  }
  return out;
}

std::string UrlEncode(const std::string& text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (const char ch : text) {
    const unsigned char c = static_cast<unsigned char>(ch);
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                       c == '-' || c == '.' || c == '_' || c == '~';
    if (plain) {
      out.push_back(ch);
    } else {
      out.push_back('%');
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 15]);
    }
  }
  return out;
}

std::string BuildBatchJson(const std::vector<std::string>& records) {
  size_t total = 2;
  for (const auto& record : records) total += record.size() + 1;
  std::string json;
  json.reserve(total);
  json.push_back('[');
  for (size_t i = 0; i < records.size(); ++i) {
    if (i > 0) json.push_back(',');
    json.append(records[i]);
  }
  json.push_back(']');
  return json;
}

bool BuildBatchBody(const std::string& batchJson, std::string* body) {
  std::string gzipped;
  const GzipResult gzip = GzipCompress(batchJson, &gzipped);
  if (gzip.status == GzipStatus::kInitFailed) {
    WriteStandardError("deflateInit2 failed while compressing.\n");
    return false;
  }
  if (gzip.status == GzipStatus::kFailed) {
    WriteStandardError("Exception during zlib compression: (" + std::to_string(gzip.zlibCode) + ") " +
                       gzip.message + "\n");
    return false;
  }
  *body = "data_list=" + UrlEncode(Base64Encode(gzipped)) + "&gzip=1";
  return true;
}

}  // namespace collect_sdk

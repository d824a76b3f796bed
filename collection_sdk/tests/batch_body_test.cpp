// The wire format of a batch: gzip, Base64, URL encoding and the envelope.
#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

#include "collect_sdk/batch_body.h"
#include "test_support.h"

namespace {

std::string Gunzip(const std::string& bytes) {
  z_stream stream{};
  EXPECT_EQ(inflateInit2(&stream, 31), Z_OK);
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  stream.avail_in = static_cast<uInt>(bytes.size());
  std::string out;
  char chunk[4096];
  int code = Z_OK;
  while (code == Z_OK) {
    stream.next_out = reinterpret_cast<Bytef*>(chunk);
    stream.avail_out = sizeof chunk;
    code = inflate(&stream, Z_NO_FLUSH);
    out.append(chunk, sizeof chunk - stream.avail_out);
  }
  EXPECT_EQ(code, Z_STREAM_END);
  inflateEnd(&stream);
  return out;
}

std::string UrlDecode(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      out.push_back(static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16)));
      i += 2;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

std::string Base64Decode(const std::string& text) {
  static const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  uint32_t buffer = 0;
  int bits = 0;
  for (const char c : text) {
    if (c == '=') break;
    buffer = (buffer << 6) | static_cast<uint32_t>(alphabet.find(c));
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      out.push_back(static_cast<char>((buffer >> bits) & 0xFF));
    }
  }
  return out;
}

TEST(BatchBody, Base64FollowsRfc4648) {
  const struct {
    const char* in;
    const char* out;
  } vectors[] = {{"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},       {"foo", "Zm9v"},
                 {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"}, {"\xFB\xFF", "+/8="}};
  for (const auto& v : vectors) EXPECT_EQ(collect_sdk::Base64Encode(v.in), v.out) << v.in;
}

TEST(BatchBody, UrlEncodingKeepsUnreservedBytesOnly) {
  EXPECT_EQ(collect_sdk::UrlEncode("AZaz09-._~"), "AZaz09-._~");
  EXPECT_EQ(collect_sdk::UrlEncode("+/= &\xFF"), "%2B%2F%3D%20%26%FF");
}

TEST(BatchBody, JsonArrayJoinsRecordsInOrder) {
  EXPECT_EQ(collect_sdk::BuildBatchJson({}), "[]");
  EXPECT_EQ(collect_sdk::BuildBatchJson(sdk_test::NumberedRecords(1, 3)), "[{\"n\":1},{\"n\":2},{\"n\":3}]");
}

TEST(BatchBody, BodyIsEnvelopedUrlEncodedBase64OfGzip) {
  const std::string json = collect_sdk::BuildBatchJson(sdk_test::NumberedRecords(0, 30));
  std::string body;
  ASSERT_TRUE(collect_sdk::BuildBatchBody(json, &body));
  ASSERT_EQ(body.rfind("data_list=H4sI", 0), 0u) << body.substr(0, 20);
  ASSERT_GE(body.size(), 17u);
  EXPECT_EQ(body.substr(body.size() - 7), "&gzip=1");
  const std::string encoded = body.substr(10, body.size() - 17);
  EXPECT_EQ(encoded.find_first_of("+/="), std::string::npos);
  const std::string gzipped = Base64Decode(UrlDecode(encoded));
  ASSERT_GE(gzipped.size(), 10u);
  EXPECT_EQ(static_cast<unsigned char>(gzipped[0]), 0x1F);
  EXPECT_EQ(static_cast<unsigned char>(gzipped[1]), 0x8B);
  EXPECT_EQ(static_cast<unsigned char>(gzipped[2]), 0x08);
  EXPECT_EQ(static_cast<unsigned char>(gzipped[8]), 2);  // XFL: maximum compression (level 9)
  EXPECT_EQ(Gunzip(gzipped), json);
}

TEST(BatchBody, LargeTextCompressesAcrossSeveralOutputChunks) {
  std::string text;
  uint32_t x = 12345;
  for (int i = 0; i < 200000; ++i) {  // incompressible: more than one 32 KiB chunk out
    x = x * 1103515245u + 12345u;
    text.push_back(static_cast<char>('!' + (x >> 16) % 90));
  }
  std::string gzipped;
  const collect_sdk::GzipResult result = collect_sdk::GzipCompress(text, &gzipped);
  ASSERT_EQ(result.status, collect_sdk::GzipStatus::kOk);
  EXPECT_GT(gzipped.size(), 32768u * 2);
  EXPECT_EQ(Gunzip(gzipped), text);
}

}  // namespace

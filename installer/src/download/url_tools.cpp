// GetMd5FromUrl and UrlEncode: the two URL routines the downloaders share.
#include "downloader.h"

#include "utils/text.h"

std::string GetMd5FromUrl(const std::string& url) {
  const size_t fileSlash = url.rfind('/');
  if (fileSlash == std::string::npos) return std::string();
  const std::string directory = url.substr(0, fileSlash);
  const size_t dirSlash = directory.rfind('/');
  if (dirSlash == std::string::npos) return std::string();
  return directory.substr(dirSlash + 1);
}

std::wstring UrlEncode(const std::wstring& url) {
  static const char kHex[] = "0123456789ABCDEF";
  const std::string utf8 = Utils::WideToUtf8(url);
  std::string out;
  out.reserve(utf8.size() * 3);
  for (unsigned char c : utf8) {
    if (c >= 0x21 && c <= 0x7E) {
      out.push_back(static_cast<char>(c));
    } else if (c == 0x20) {
      out.push_back('+');
    } else {
      out.push_back('%');
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 0x0F]);
    }
  }
  return Utils::Utf8ToWide(out);
}

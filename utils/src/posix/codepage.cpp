// Code-page conversion with iconv. Code page 0 (ANSI) and 65001 are UTF-8.
#include <iconv.h>

#include <cerrno>
#include <string>
#include <vector>

#include "utils/text.h"

namespace Utils {

namespace {

std::string IconvName(unsigned codePage) {
  switch (codePage) {
    case 936: return "CP936";
    case 54936: return "GB18030";
    case 950: return "BIG5";
    case 932: return "SHIFT_JIS";
    case 949: return "CP949";
    case 1200: return "UTF-16LE";
    case 1201: return "UTF-16BE";
    case 20127: return "ASCII";
    case 28591: return "ISO-8859-1";
    default: return "CP" + std::to_string(codePage);
  }
}

const char* WideName() { return "WCHAR_T"; }

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

}  // namespace

std::wstring MultiByteToWide(std::string_view text, unsigned codePage) {
  const size_t zero = text.find('\0');
  if (zero != std::string_view::npos) text = text.substr(0, zero);
  if (codePage == kCodePageAnsi || codePage == kCodePageUtf8) return Utf8ToWide(text);
  Converter conv(WideName(), IconvName(codePage).c_str());
  if (!conv.ok() || text.empty()) return std::wstring();
  std::wstring out;
  std::vector<wchar_t> buffer(text.size() + 4);
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  while (inLeft > 0) {
    char* outPtr = reinterpret_cast<char*>(buffer.data());
    size_t outLeft = buffer.size() * sizeof(wchar_t);
    const size_t r = iconv(conv.get(), &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer.data(), (buffer.size() * sizeof(wchar_t) - outLeft) / sizeof(wchar_t));
    if (r == static_cast<size_t>(-1)) {
      if (errno == E2BIG) continue;
      // Invalid or incomplete sequence: one replacement character, skip a byte.
      out.push_back(static_cast<wchar_t>(0xFFFD));
      ++in;
      --inLeft;
      iconv(conv.get(), nullptr, nullptr, nullptr, nullptr);
    }
  }
  return out;
}

std::string WideToMultiByte(std::wstring_view text, unsigned codePage) {
  const size_t zero = text.find(L'\0');
  if (zero != std::wstring_view::npos) text = text.substr(0, zero);
  if (codePage == kCodePageAnsi || codePage == kCodePageUtf8) return WideToUtf8(text);
  Converter conv(IconvName(codePage).c_str(), WideName());
  if (!conv.ok() || text.empty()) return std::string();
  std::string out;
  std::vector<char> buffer(text.size() * 4 + 8);
  char* in = reinterpret_cast<char*>(const_cast<wchar_t*>(text.data()));
  size_t inLeft = text.size() * sizeof(wchar_t);
  while (inLeft > 0) {
    char* outPtr = buffer.data();
    size_t outLeft = buffer.size();
    const size_t r = iconv(conv.get(), &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer.data(), buffer.size() - outLeft);
    if (r == static_cast<size_t>(-1)) {
      if (errno == E2BIG) continue;
      out.push_back('?');
      in += sizeof(wchar_t);
      inLeft -= inLeft >= sizeof(wchar_t) ? sizeof(wchar_t) : inLeft;
      iconv(conv.get(), nullptr, nullptr, nullptr, nullptr);
    }
  }
  return out;
}

}  // namespace Utils

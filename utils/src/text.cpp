// Platform-independent text helpers. The code-page converters themselves
// live in the platform folders.
#include "utils/text.h"

namespace Utils {

namespace {

bool IsTrimSpace(wchar_t c) {
  return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

void AppendWide(std::wstring& out, uint32_t cp) {
  if constexpr (sizeof(wchar_t) == 2) {
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
      return;
    }
  }
  out.push_back(static_cast<wchar_t>(cp));
}

constexpr uint32_t kReplacement = 0xFFFD;

}  // namespace

// Strict UTF-8 decoding (no overlong forms, no surrogates); every byte that
// does not start a valid sequence becomes U+FFFD, as Windows' converter does.
std::wstring Utf8ToWide(std::string_view text) {
  std::wstring out;
  out.reserve(text.size());
  size_t i = 0;
  const size_t n = text.size();
  while (i < n) {
    const unsigned char b0 = static_cast<unsigned char>(text[i]);
    if (b0 < 0x80) {
      out.push_back(static_cast<wchar_t>(b0));
      ++i;
      continue;
    }
    int len = 0;
    uint32_t cp = 0, min = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) { len = 2; cp = b0 & 0x1F; min = 0x80; }
    else if (b0 >= 0xE0 && b0 <= 0xEF) { len = 3; cp = b0 & 0x0F; min = 0x800; }
    else if (b0 >= 0xF0 && b0 <= 0xF4) { len = 4; cp = b0 & 0x07; min = 0x10000; }
    bool ok = len > 0 && i + len <= n;
    for (int k = 1; ok && k < len; ++k) {
      const unsigned char b = static_cast<unsigned char>(text[i + k]);
      if ((b & 0xC0) != 0x80) ok = false;
      else cp = (cp << 6) | (b & 0x3F);
    }
    if (ok && (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) ok = false;
    if (!ok) {
      out.push_back(static_cast<wchar_t>(kReplacement));
      ++i;
      continue;
    }
    AppendWide(out, cp);
    i += len;
  }
  return out;
}

std::string WideToUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t cp = static_cast<uint32_t>(text[i]);
    if constexpr (sizeof(wchar_t) == 2) {
      if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size()) {
        const uint32_t lo = static_cast<uint32_t>(text[i + 1]);
        if (lo >= 0xDC00 && lo <= 0xDFFF) {
          cp = 0x10000 + ((cp - 0xD800) << 10) + (lo - 0xDC00);
          ++i;
        }
      }
    }
    if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = kReplacement;
    AppendUtf8(out, cp);
  }
  return out;
}

std::wstring TrimLeft(std::wstring_view text) {
  size_t b = 0;
  while (b < text.size() && IsTrimSpace(text[b])) ++b;
  return std::wstring(text.substr(b));
}

std::wstring TrimRight(std::wstring_view text) {
  size_t e = text.size();
  while (e > 0 && IsTrimSpace(text[e - 1])) --e;
  return std::wstring(text.substr(0, e));
}

std::wstring Trim(std::wstring_view text) { return TrimLeft(TrimRight(text)); }

std::wstring ToWString(uint32_t value) { return std::to_wstring(value); }

std::wstring ReplaceAll(std::wstring_view text, std::wstring_view pattern,
                        std::wstring_view replacement) {
  std::wstring out(text);
  if (pattern.empty() || replacement.find(pattern) != std::wstring_view::npos) return out;
  for (size_t pos = out.find(pattern); pos != std::wstring::npos; pos = out.find(pattern)) {
    out.replace(pos, pattern.size(), replacement);
  }
  return out;
}

}  // namespace Utils

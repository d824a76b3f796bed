// Value rules of the package and uninstaller output protocols.
#include "output_protocol.h"

#include <cerrno>
#include <climits>
#include <cwchar>
#include <cwctype>

namespace PackageProtocol {
namespace {

bool IsBlank(wchar_t c) {
  return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

}  // namespace

bool MatchKey(std::wstring_view line, std::wstring_view key, std::wstring* value) {
  if (line.size() < key.size() || line.compare(0, key.size(), key) != 0) return false;
  const std::wstring_view rest = line.substr(key.size());
  if (rest.size() > kMaxValueChars) {
    value->clear();
  } else {
    value->assign(rest);
  }
  return true;
}

double ParseNumber(const std::wstring& value) {
  const wchar_t* begin = value.c_str();
  wchar_t* end = nullptr;
  const double number = std::wcstod(begin, &end);
  return end == begin ? 0.0 : number;
}

int32_t ParseInteger(const std::wstring& value) {
  size_t i = 0;
  while (i < value.size() && IsBlank(value[i])) ++i;
  bool negative = false;
  if (i < value.size() && (value[i] == L'+' || value[i] == L'-')) negative = value[i++] == L'-';
  // Accumulate modulo 2^32, which is what a 32-bit scanner ends up storing
  // for a number that does not fit.
  uint32_t magnitude = 0;
  bool any = false;
  for (; i < value.size() && value[i] >= L'0' && value[i] <= L'9'; ++i) {
    magnitude = magnitude * 10u + static_cast<uint32_t>(value[i] - L'0');
    any = true;
  }
  if (!any) return 0;
  const uint32_t bits = negative ? 0u - magnitude : magnitude;
  return static_cast<int32_t>(bits);
}

int32_t ParseCodePageNumber(const std::wstring& value) {
  size_t i = 0;
  while (i < value.size() && IsBlank(value[i])) ++i;
  bool negative = false;
  if (i < value.size() && (value[i] == L'+' || value[i] == L'-')) negative = value[i++] == L'-';
  int64_t magnitude = 0;
  bool any = false;
  for (; i < value.size() && value[i] >= L'0' && value[i] <= L'9'; ++i) {
    magnitude = magnitude * 10 + (value[i] - L'0');
    any = true;
    if (magnitude > int64_t{INT32_MAX} + 1) return 0;  // cannot fit either sign
  }
  if (!any) return 0;
  const int64_t number = negative ? -magnitude : magnitude;
  if (number > INT32_MAX || number < INT32_MIN) return 0;
  return static_cast<int32_t>(number);
}

}  // namespace PackageProtocol

// Code-page conversion with the system's converters. Code page 0 is CP_ACP
// and 65001 CP_UTF8, the same numbers the system uses, so the number is
// passed through unchanged; an unknown code page makes the call fail, which
// gives an empty string.
#include <windows.h>

#include <climits>
#include <string>

#include "utils/text.h"

namespace Utils {

std::wstring MultiByteToWide(std::string_view text, unsigned codePage) {
  const size_t zero = text.find('\0');
  if (zero != std::string_view::npos) text = text.substr(0, zero);
  if (text.empty() || text.size() > INT_MAX) return std::wstring();
  const int length = static_cast<int>(text.size());
  const int needed = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
  if (needed <= 0) return std::wstring();
  std::wstring out(static_cast<size_t>(needed), L'\0');
  const int written = MultiByteToWideChar(codePage, 0, text.data(), length, &out[0], needed);
  if (written <= 0) return std::wstring();
  out.resize(static_cast<size_t>(written));
  return out;
}

std::string WideToMultiByte(std::wstring_view text, unsigned codePage) {
  const size_t zero = text.find(L'\0');
  if (zero != std::wstring_view::npos) text = text.substr(0, zero);
  if (text.empty() || text.size() > INT_MAX) return std::string();
  const int length = static_cast<int>(text.size());
  // No default-character arguments: UTF-8 refuses them, and the other code
  // pages then use their own default ('?').
  const int needed =
      WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return std::string();
  std::string out(static_cast<size_t>(needed), '\0');
  const int written =
      WideCharToMultiByte(codePage, 0, text.data(), length, &out[0], needed, nullptr, nullptr);
  if (written <= 0) return std::string();
  out.resize(static_cast<size_t>(written));
  return out;
}

}  // namespace Utils

// Type-safe printf-style formatting.
//
// Formats are the classic printf directives ("%s", "%d", "%05d", "%f%%",
// "%g", "%02x", ...), expanded by {fmt}'s printf engine, which checks every
// argument's type at run time instead of trusting the format. On top of that,
// "%s" accepts narrow and wide strings alike in both flavours:
//   - FormatW (wide format): narrow arguments are decoded from UTF-8;
//   - Format  (narrow format): wide arguments are encoded as UTF-8.
// A format that does not match its arguments never corrupts memory: {fmt}
// throws fmt::format_error, which callers that must not fail (the log) catch.
//
// Thread safety: pure functions, any thread.
#pragma once

#include <string>
#include <string_view>
#include <type_traits>

#include <fmt/printf.h>
#include <fmt/xchar.h>

namespace Utils {

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);

namespace detail {

// Pointer forms take the pointer by value, so a null check is meaningful
// (for arrays it is not, and compilers warn about it).
inline std::wstring WideFromNarrowPtr(const char* p) {
  return Utf8ToWide(p ? std::string_view(p) : std::string_view("(null)"));
}
inline std::wstring_view WideFromWidePtr(const wchar_t* p) { return p ? p : L"(null)"; }
inline std::string NarrowFromWidePtr(const wchar_t* p) {
  return WideToUtf8(p ? std::wstring_view(p) : std::wstring_view(L"(null)"));
}
inline std::string_view NarrowFromNarrowPtr(const char* p) { return p ? p : "(null)"; }

template <class T>
decltype(auto) WideArg(const T& value) {
  using D = std::decay_t<T>;
  if constexpr (std::is_same_v<D, char*> || std::is_same_v<D, const char*>) {
    return WideFromNarrowPtr(value);
  } else if constexpr (std::is_same_v<D, std::string> || std::is_same_v<D, std::string_view>) {
    return Utf8ToWide(value);
  } else if constexpr (std::is_same_v<D, wchar_t*> || std::is_same_v<D, const wchar_t*>) {
    return WideFromWidePtr(value);
  } else {
    return (value);
  }
}

template <class T>
decltype(auto) NarrowArg(const T& value) {
  using D = std::decay_t<T>;
  if constexpr (std::is_same_v<D, wchar_t*> || std::is_same_v<D, const wchar_t*>) {
    return NarrowFromWidePtr(value);
  } else if constexpr (std::is_same_v<D, std::wstring> || std::is_same_v<D, std::wstring_view>) {
    return WideToUtf8(value);
  } else if constexpr (std::is_same_v<D, char*> || std::is_same_v<D, const char*>) {
    return NarrowFromNarrowPtr(value);
  } else {
    return (value);
  }
}

}  // namespace detail

// Expands a wide printf-style format. Throws fmt::format_error on a malformed
// format or an argument of the wrong kind (for example "%d" given a string).
template <class... Args>
std::wstring FormatW(std::wstring_view format, const Args&... args) {
  return fmt::sprintf(format, detail::WideArg(args)...);
}

// Expands a narrow printf-style format; wide arguments become UTF-8.
template <class... Args>
std::string Format(std::string_view format, const Args&... args) {
  return fmt::sprintf(format, detail::NarrowArg(args)...);
}

}  // namespace Utils

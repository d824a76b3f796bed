// Text helpers: code-page conversion, trimming, number text, replacement.
//
// Code page 0 is the ANSI code page (the system's on Windows, UTF-8
// elsewhere); 65001 is UTF-8; any other number (936, 1252, ...) converts with
// the platform's converter (MultiByteToWideChar / iconv). Input is taken up
// to its first zero character. Undecodable bytes become U+FFFD, unencodable
// characters '?', as the Windows converters do; an unknown code page or a
// conversion that yields nothing gives an empty string.
//
// Thread safety: pure functions, any thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace Utils {

inline constexpr unsigned kCodePageAnsi = 0;
inline constexpr unsigned kCodePageUtf8 = 65001;

std::wstring MultiByteToWide(std::string_view text, unsigned codePage);
std::string WideToMultiByte(std::wstring_view text, unsigned codePage);

// UTF-8 <-> wide without the zero-character cut (used by the formatter).
std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);

// White space is exactly: space, tab, line feed, vertical tab, form feed,
// carriage return. Trim trims the right end first, then the left.
std::wstring TrimLeft(std::wstring_view text);
std::wstring TrimRight(std::wstring_view text);
std::wstring Trim(std::wstring_view text);

std::wstring ToWString(uint32_t value);

// Replaces the pattern until none is left, searching again from the start
// after every replacement. An empty pattern returns the text unchanged; a
// replacement that contains the pattern is refused the same way instead of
// looping forever.
std::wstring ReplaceAll(std::wstring_view text, std::wstring_view pattern,
                        std::wstring_view replacement);

}  // namespace Utils

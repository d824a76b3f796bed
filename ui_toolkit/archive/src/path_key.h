// Skin path normalisation shared by the archive and folder sources: splits
// a UTF-8 path on "\" and "/", and folds letter case so that two names a
// layout may use for the same file give the same key. Pure functions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace skinui::detail {

enum class PathShape {
  kRelative = 0,  // segments are usable
  kEmpty,         // nothing but separators and "."
  kAbsolute,      // leading separator, drive letter or UNC prefix
  kParent,        // a ".." segment
  kColon,         // a ':' inside a segment (drive-relative path, alternate stream)
};

struct SplitPath {
  PathShape shape = PathShape::kEmpty;
  std::vector<std::string_view> segments;  // views into the input; no "" or "."
};

// Splits `path`; the segments view into `path`, which must outlive them.
SplitPath SplitSkinPath(std::string_view path);

// Folds one code point to lower case: ASCII, Latin-1, Latin Extended-A,
// Greek, Cyrillic and full-width Latin letters. Others are returned as they are.
char32_t FoldCodePoint(char32_t c);

// Lower-cases valid UTF-8 code point by code point; bytes that are not valid
// UTF-8 are kept as they are.
std::string FoldUtf8(std::string_view text);

// Converts UTF-16 code units (as the 7z format stores names) to UTF-8; an
// unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(const std::uint16_t* units, std::size_t count);

// "/"-joined segments, each as it is, or folded with FoldUtf8.
std::string JoinSegments(const std::vector<std::string_view>& segments);
std::string FoldedKey(const std::vector<std::string_view>& segments);

}  // namespace skinui::detail

#include "skinui/core/attribute_parse.h"

#include <cctype>
#include <charconv>
#include <cwctype>

#include "skinui/painter/color.h"

namespace skinui {
namespace {

std::string_view TrimSpaces(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// Splits "a,b,c" into exactly `count` integers.
bool ParseIntList(std::string_view text, int* out, int count) {
  for (int i = 0; i < count; ++i) {
    const std::size_t comma = text.find(',');
    const bool last = i == count - 1;
    if (last != (comma == std::string_view::npos)) return false;
    const std::string_view part = last ? text : text.substr(0, comma);
    if (!ParseIntValue(part, &out[i])) return false;
    if (!last) text.remove_prefix(comma + 1);
  }
  return true;
}

}  // namespace

bool ParseIntValue(std::string_view text, int* out) {
  text = TrimSpaces(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return false;
  *out = value;
  return true;
}

bool ParseRectValue(std::string_view text, Rect* out) {
  int v[4];
  if (!ParseIntList(text, v, 4)) return false;
  *out = Rect{v[0], v[1], v[2], v[3]};
  return true;
}

bool ParseSizeValue(std::string_view text, Size* out) {
  int v[2];
  if (!ParseIntList(text, v, 2)) return false;
  *out = Size{v[0], v[1]};
  return true;
}

bool ParseBoolValue(std::string_view text, bool* out) {
  text = TrimSpaces(text);
  if (EqualsNoCase(text, "true")) {
    *out = true;
    return true;
  }
  if (EqualsNoCase(text, "false")) {
    *out = false;
    return true;
  }
  return false;
}

bool ParseColorValue(std::string_view text, Argb* out) { return ParseColor(TrimSpaces(text), out); }

std::string ToLowerAscii(std::string_view text) {
  std::string s(text);
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  }
  return true;
}

}  // namespace skinui

#include "path_key.h"

namespace skinui::detail {
namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

bool HasDrivePrefix(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

// Decodes one UTF-8 sequence at `text[pos]`. Returns its length, or 0 when
// the bytes there are not a valid, shortest-form sequence.
std::size_t DecodeUtf8(std::string_view text, std::size_t pos, char32_t* out) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  char32_t c = 0;
  if (lead < 0x80) {
    *out = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    c = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    c = lead & 0x07;
  } else {
    return 0;
  }
  if (pos + length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    c = (c << 6) | (byte(i) & 0x3F);
  }
  const bool overlong = (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
  if (overlong || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  *out = c;
  return length;
}

void AppendUtf8(char32_t c, std::string* out) {
  if (c < 0x80) {
    out->push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (c >> 6)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (c >> 12)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (c >> 18)));
    out->push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// Blocks of upper/lower pairs stored as even/odd neighbours (or odd/even).
bool InPairedBlock(char32_t c) {
  return (c >= 0x0100 && c <= 0x012F) || (c >= 0x0132 && c <= 0x0137) ||
         (c >= 0x014A && c <= 0x0177) || (c >= 0x0460 && c <= 0x0481) ||
         (c >= 0x048A && c <= 0x04BF) || (c >= 0x04D0 && c <= 0x052F);
}
bool InOddPairedBlock(char32_t c) {
  return (c >= 0x0139 && c <= 0x0148) || (c >= 0x0179 && c <= 0x017E) ||
         (c >= 0x04C1 && c <= 0x04CE);
}

}  // namespace

SplitPath SplitSkinPath(std::string_view path) {
  SplitPath result;
  if (!path.empty() && IsSeparator(path[0])) {
    result.shape = PathShape::kAbsolute;
    return result;
  }
  if (HasDrivePrefix(path)) {
    result.shape = PathShape::kAbsolute;
    return result;
  }
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = start;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    const std::string_view segment = path.substr(start, end - start);
    if (segment == "..") {
      result.shape = PathShape::kParent;
      result.segments.clear();
      return result;
    }
    if (segment.find(':') != std::string_view::npos) {
      result.shape = PathShape::kColon;
      result.segments.clear();
      return result;
    }
    if (!segment.empty() && segment != ".") result.segments.push_back(segment);
    start = end + 1;
  }
  result.shape = result.segments.empty() ? PathShape::kEmpty : PathShape::kRelative;
  return result;
}

char32_t FoldCodePoint(char32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 0x20 : c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  if (InPairedBlock(c)) return c | 1;
  if (InOddPairedBlock(c)) return (c & 1) ? c + 1 : c;
  if (c == 0x0178) return 0x00FF;
  if (c >= 0x0391 && c <= 0x03AB && c != 0x03A2) return c + 0x20;
  if (c == 0x0386) return 0x03AC;
  if (c >= 0x0388 && c <= 0x038A) return c + 0x25;
  if (c == 0x038C) return 0x03CC;
  if (c == 0x038E || c == 0x038F) return c + 0x3F;
  if (c >= 0x0400 && c <= 0x040F) return c + 0x50;
  if (c >= 0x0410 && c <= 0x042F) return c + 0x20;
  if (c >= 0xFF21 && c <= 0xFF3A) return c + 0x20;
  return c;
}

std::string FoldUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    char32_t c = 0;
    const std::size_t length = DecodeUtf8(text, pos, &c);
    if (length == 0) {
      out.push_back(text[pos]);
      ++pos;
      continue;
    }
    AppendUtf8(FoldCodePoint(c), &out);
    pos += length;
  }
  return out;
}

std::string Utf16ToUtf8(const std::uint16_t* units, std::size_t count) {
  std::string out;
  out.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    char32_t c = units[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < count && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    AppendUtf8(c, &out);
  }
  return out;
}

std::string JoinSegments(const std::vector<std::string_view>& segments) {
  std::string out;
  for (const std::string_view segment : segments) {
    if (!out.empty()) out.push_back('/');
    out.append(segment);
  }
  return out;
}

std::string FoldedKey(const std::vector<std::string_view>& segments) {
  return FoldUtf8(JoinSegments(segments));
}

}  // namespace skinui::detail

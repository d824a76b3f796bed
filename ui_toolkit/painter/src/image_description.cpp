// Image descriptions: a plain path or key='value' pairs.
#include "skinui/painter/image_description.h"

#include <cctype>
#include <string>

#include "skinui/painter/color.h"

namespace skinui {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string Lower(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return r;
}

// Reads "a,b,c,d" (optional spaces around numbers, optional minus sign).
// Returns the offset of the first bad character inside `v`, or npos.
std::size_t ParseFourInts(std::string_view v, Rect* out) {
  int values[4] = {0, 0, 0, 0};
  std::size_t i = 0;
  for (int n = 0; n < 4; ++n) {
    while (i < v.size() && v[i] == ' ') ++i;
    const std::size_t start = i;
    bool negative = false;
    if (i < v.size() && v[i] == '-') {
      negative = true;
      ++i;
    }
    long long value = 0;
    const std::size_t digits = i;
    while (i < v.size() && v[i] >= '0' && v[i] <= '9') {
      value = value * 10 + (v[i] - '0');
      if (value > 1000000) return start;
      ++i;
    }
    if (i == digits) return start;
    values[n] = static_cast<int>(negative ? -value : value);
    while (i < v.size() && v[i] == ' ') ++i;
    if (n < 3) {
      if (i >= v.size() || v[i] != ',') return i;
      ++i;
    }
  }
  if (i != v.size()) return i;
  *out = Rect{values[0], values[1], values[2], values[3]};
  return std::string_view::npos;
}

bool ParseBool(std::string_view v, bool* out) {
  const std::string s = Lower(v);
  if (s == "true") {
    *out = true;
    return true;
  }
  if (s == "false") {
    *out = false;
    return true;
  }
  return false;
}

bool Fail(DescriptionError* error, std::size_t offset, std::string message) {
  if (error) {
    error->offset = offset;
    error->message = std::move(message);
  }
  return false;
}

// Applies one key; `value_offset` is where the value starts in the text.
bool ApplyKey(const std::string& key, std::string_view value, std::size_t value_offset,
              ImageDescription* out, DescriptionError* error) {
  if (key == "file") {
    out->file.assign(value);
  } else if (key == "dest" || key == "corner") {
    Rect r;
    const std::size_t bad = ParseFourInts(value, &r);
    if (bad != std::string_view::npos)
      return Fail(error, value_offset + bad, key + " needs four integers l,t,r,b");
    if (key == "dest") {
      out->dest = r;
      out->has_dest = true;
    } else {
      out->corner = r;
    }
  } else if (key == "mask") {
    if (!ParseColor(value, &out->mask)) return Fail(error, value_offset, "bad mask colour");
    out->has_mask = true;
  } else if (key == "fade") {
    int fade = -1;
    std::size_t i = 0;
    while (i < value.size() && value[i] >= '0' && value[i] <= '9' && i < 4) {
      fade = (fade < 0 ? 0 : fade * 10) + (value[i] - '0');
      ++i;
    }
    if (fade < 0 || i != value.size() || fade > 255)
      return Fail(error, value_offset, "fade must be 0..255");
    out->fade = fade;
  } else if (key == "hole" || key == "xtiled" || key == "ytiled") {
    bool b = false;
    if (!ParseBool(value, &b)) return Fail(error, value_offset, key + " must be true or false");
    (key == "hole" ? out->hole : key == "xtiled" ? out->xtiled : out->ytiled) = b;
  }
  // Any other key is ignored on purpose: skins written for richer painters
  // still load.
  return true;
}

}  // namespace

bool ParseImageDescription(std::string_view text, ImageDescription* out, DescriptionError* error) {
  *out = ImageDescription{};
  if (text.find("='") == std::string_view::npos) {
    std::size_t b = 0, e = text.size();
    while (b < e && IsSpace(text[b])) ++b;
    while (e > b && IsSpace(text[e - 1])) --e;
    out->file.assign(text.substr(b, e - b));
    return true;
  }
  std::size_t i = 0;
  while (true) {
    while (i < text.size() && IsSpace(text[i])) ++i;
    if (i >= text.size()) break;
    const std::size_t key_start = i;
    while (i < text.size() && text[i] != '=' && !IsSpace(text[i])) ++i;
    if (i == key_start || i + 1 >= text.size() || text[i] != '=' || text[i + 1] != '\'')
      return Fail(error, key_start, "expected key='value'");
    const std::string key = Lower(text.substr(key_start, i - key_start));
    const std::size_t value_start = i + 2;
    const std::size_t close = text.find('\'', value_start);
    if (close == std::string_view::npos) return Fail(error, i + 1, "unterminated quote");
    if (!ApplyKey(key, text.substr(value_start, close - value_start), value_start, out, error))
      return false;
    i = close + 1;
    if (i < text.size() && !IsSpace(text[i])) return Fail(error, i, "expected a space after value");
  }
  return true;
}

}  // namespace skinui

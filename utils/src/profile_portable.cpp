// The project's own INI reader and writer with the Win32 profile semantics.
#include <algorithm>
#include <cwctype>
#include <vector>

#include "utils/file.h"
#include "utils/profile.h"
#include "utils/text.h"

namespace Utils {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\v' || c == L'\f'; }

std::wstring_view TrimBlanks(std::wstring_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::towlower(static_cast<wint_t>(a[i])) != std::towlower(static_cast<wint_t>(b[i]))) {
      return false;
    }
  }
  return true;
}

// Decodes a profile file: UTF-16LE with a byte-order mark, else UTF-8 (a
// UTF-8 byte-order mark is skipped).
std::wstring DecodeProfileBytes(const std::string& bytes) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    std::wstring out;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
      const uint32_t unit = static_cast<unsigned char>(bytes[i]) |
                            (static_cast<unsigned char>(bytes[i + 1]) << 8);
      out.push_back(static_cast<wchar_t>(unit));
    }
    if constexpr (sizeof(wchar_t) == 4) return Utf8ToWide(WideToUtf8(out));  // joins surrogates
    return out;
  }
  std::string_view view(bytes);
  if (view.size() >= 3 && view.substr(0, 3) == "\xEF\xBB\xBF") view.remove_prefix(3);
  return Utf8ToWide(view);
}

struct Line {
  std::wstring text;
  // Parsed form: section header, key line or other (comment, blank).
  enum Kind { kOther, kSection, kKey } kind = kOther;
  std::wstring name;   // section name or key
  std::wstring value;  // key value, trimmed
};

std::vector<Line> ParseLines(const std::wstring& content) {
  std::vector<Line> lines;
  size_t start = 0;
  while (start < content.size()) {
    size_t end = content.find(L'\n', start);
    if (end == std::wstring::npos) end = content.size();
    Line line;
    line.text = content.substr(start, end - start);
    if (!line.text.empty() && line.text.back() == L'\r') line.text.pop_back();
    const std::wstring_view t = TrimBlanks(line.text);
    if (!t.empty() && t.front() == L'[') {
      const size_t close = t.find(L']');
      line.kind = Line::kSection;
      line.name = std::wstring(TrimBlanks(t.substr(1, close == std::wstring_view::npos ? t.size() - 1 : close - 1)));
    } else if (!t.empty() && t.front() != L';') {
      const size_t eq = t.find(L'=');
      if (eq != std::wstring_view::npos) {
        line.kind = Line::kKey;
        line.name = std::wstring(TrimBlanks(t.substr(0, eq)));
        line.value = std::wstring(TrimBlanks(t.substr(eq + 1)));
      }
    }
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

bool LoadLines(const std::wstring& file, std::vector<Line>& lines) {
  std::string bytes;
  if (!ReadWholeFile(file, bytes)) return false;
  lines = ParseLines(DecodeProfileBytes(bytes));
  return true;
}

// Index range [first, last) of the first section of that name, or false.
bool FindSection(const std::vector<Line>& lines, const std::wstring& section, size_t& first,
                 size_t& last) {
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind == Line::kSection && EqualsNoCase(lines[i].name, section)) {
      first = i + 1;
      last = first;
      while (last < lines.size() && lines[last].kind != Line::kSection) ++last;
      return true;
    }
  }
  return false;
}

std::wstring Unquote(const std::wstring& value) {
  if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

std::wstring CutToBuffer(std::wstring text, size_t bufferChars) {
  if (bufferChars == 0) return std::wstring();
  if (text.size() > bufferChars - 1) text.resize(bufferChars - 1);
  return text;
}

bool LookUp(const std::wstring& section, const std::wstring& key, const std::wstring& file,
            std::wstring& value) {
  std::vector<Line> lines;
  size_t first = 0, last = 0;
  if (!LoadLines(file, lines) || !FindSection(lines, section, first, last)) return false;
  for (size_t i = first; i < last; ++i) {
    if (lines[i].kind == Line::kKey && EqualsNoCase(lines[i].name, key)) {
      value = Unquote(lines[i].value);
      return true;
    }
  }
  return false;
}

}  // namespace

// As the system converts a profile value: leading blanks and control
// characters skipped, an optional sign, then "0x", "0o" or "0b" choose
// base 16, 8 or 2, else base 10; digits are read while they fit the base,
// wrapping around on overflow; no digit at all gives 0.
int32_t ProfileTextToInt(const std::wstring& text) {
  size_t i = 0;
  while (i < text.size() && text[i] <= L' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
  uint32_t base = 10;
  if (i + 1 < text.size() && text[i] == L'0') {
    const wchar_t p = text[i + 1];
    if (p == L'x' || p == L'X') base = 16;
    else if (p == L'o' || p == L'O') base = 8;
    else if (p == L'b' || p == L'B') base = 2;
    if (base != 10) i += 2;
  }
  uint32_t value = 0;
  for (; i < text.size(); ++i) {
    const wchar_t c = text[i];
    uint32_t digit;
    if (c >= L'0' && c <= L'9') digit = static_cast<uint32_t>(c - L'0');
    else if (c >= L'a' && c <= L'f') digit = static_cast<uint32_t>(c - L'a' + 10);
    else if (c >= L'A' && c <= L'F') digit = static_cast<uint32_t>(c - L'A' + 10);
    else break;
    if (digit >= base) break;
    value = value * base + digit;
  }
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);
}

namespace PortableProfile {

std::wstring GetString(const std::wstring& section, const std::wstring& key,
                       const std::wstring& fallback, size_t bufferChars,
                       const std::wstring& file) {
  std::wstring value;
  if (LookUp(section, key, file, value)) return CutToBuffer(std::move(value), bufferChars);
  std::wstring def = fallback;
  while (!def.empty() && def.back() == L' ') def.pop_back();
  return CutToBuffer(std::move(def), bufferChars);
}

int32_t GetInt(const std::wstring& section, const std::wstring& key, int32_t fallback,
               const std::wstring& file) {
  std::wstring value;
  if (!LookUp(section, key, file, value) || value.empty()) return fallback;
  return ProfileTextToInt(value);
}

bool WriteString(const std::wstring& section, const std::wstring& key,
                 const std::wstring& value, const std::wstring& file) {
  if (section.empty() || key.empty()) return false;
  if (value.find_first_of(L"\r\n") != std::wstring::npos) return false;
  std::vector<Line> lines;
  LoadLines(file, lines);  // a missing file starts empty
  const std::wstring entry = key + L"=" + value;
  size_t first = 0, last = 0;
  if (!FindSection(lines, section, first, last)) {
    if (!lines.empty() && !TrimBlanks(lines.back().text).empty()) lines.push_back(Line{});
    Line header;
    header.text = L"[" + section + L"]";
    lines.push_back(header);
    Line keyLine;
    keyLine.text = entry;
    lines.push_back(keyLine);
  } else {
    bool replaced = false;
    for (size_t i = first; i < last && !replaced; ++i) {
      if (lines[i].kind == Line::kKey && EqualsNoCase(lines[i].name, key)) {
        lines[i].text = entry;
        replaced = true;
      }
    }
    if (!replaced) {
      // After the section's last non-blank line.
      size_t at = last;
      while (at > first && TrimBlanks(lines[at - 1].text).empty()) --at;
      Line keyLine;
      keyLine.text = entry;
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), keyLine);
    }
  }
  std::wstring content;
  for (const Line& line : lines) content.append(line.text).append(L"\r\n");
  return WriteFileAtomically(file, WideToUtf8(content));
}

}  // namespace PortableProfile
}  // namespace Utils

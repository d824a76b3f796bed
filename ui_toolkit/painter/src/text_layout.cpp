// Greedy line breaking: at spaces, around CJK characters (never before
// closing punctuation), and inside a word only when the word alone is too
// wide for the line.
#include "text_layout.h"

#include <algorithm>

#include "font_internal.h"

namespace skinui {
namespace {

bool IsCjk(char32_t c) {
  return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFFEF) || c >= 0x20000;
}

// Punctuation that must not start a line.
bool IsClosingPunctuation(char32_t c) {
  switch (c) {
    case 0x3001: case 0x3002: case 0xFF0C: case 0xFF0E: case 0xFF1A: case 0xFF1B:
    case 0xFF01: case 0xFF1F: case 0xFF09: case 0x300B: case 0x300D: case 0x201D:
    case 0x2019: case ',': case '.': case ':': case ';': case '!': case '?': case ')':
      return true;
    default:
      return false;
  }
}

int Advance(const Font& font, char32_t c) { return font.GlyphFor(c).advance; }

// Splits into paragraphs at line feeds ("\r\n" counts once; a lone "\r"
// too). Single-line text drops the line-break characters.
std::vector<std::u32string> Paragraphs(std::wstring_view text, bool single_line) {
  std::vector<std::u32string> out(1);
  std::size_t i = 0;
  while (i < text.size()) {
    const char32_t c = NextCodePoint(text, &i);
    if (c == U'\r' || c == U'\n') {
      if (c == U'\r' && i < text.size() && text[i] == L'\n') ++i;
      if (!single_line) out.emplace_back();
      continue;
    }
    out.back().push_back(c == U'\t' ? U' ' : c);
  }
  return out;
}

void TrimTrailingSpaces(std::u32string* s) {
  while (!s->empty() && s->back() == U' ') s->pop_back();
}

// Whether a line may start at `i` (i > 0): after a space, or next to a CJK
// character, unless closing punctuation would begin the line.
bool CanBreakBefore(const std::u32string& para, std::size_t i) {
  const char32_t c = para[i];
  if (IsClosingPunctuation(c)) return false;
  return para[i - 1] == U' ' || IsCjk(c) || IsCjk(para[i - 1]);
}

// Word-wraps one paragraph into `lines`.
void WrapParagraph(const Font& font, const std::u32string& para, int max_width,
                   std::vector<TextLine>* lines) {
  std::size_t start = 0;
  while (true) {
    while (start < para.size() && para[start] == U' ' && start > 0) ++start;
    if (start >= para.size() && start > 0) return;  // only spaces were left
    int width = 0;
    std::size_t end = para.size();
    std::size_t last_break = std::u32string::npos;  // latest place a line may start
    for (std::size_t i = start; i < para.size(); ++i) {
      const char32_t c = para[i];
      const bool breakable = i > start && CanBreakBefore(para, i);
      const int w = Advance(font, c);
      // Spaces may overhang the box: they are trimmed from the line's end.
      if (i > start && c != U' ' && width + w > max_width) {
        end = breakable ? i : (last_break != std::u32string::npos ? last_break : i);
        break;
      }
      if (breakable) last_break = i;
      width += w;
    }
    TextLine line;
    line.chars = para.substr(start, end - start);
    TrimTrailingSpaces(&line.chars);
    line.width = RunWidth(font, line.chars);
    lines->push_back(std::move(line));
    if (end >= para.size()) return;
    start = end;
  }
}

// Shortens `line` until it and "..." fit in max_width, then adds "...".
void AddEllipsis(const Font& font, TextLine* line, int max_width) {
  const std::u32string dots = U"...";
  const int dots_width = RunWidth(font, dots);
  while (!line->chars.empty() && RunWidth(font, line->chars) + dots_width > max_width)
    line->chars.pop_back();
  TrimTrailingSpaces(&line->chars);
  line->chars += dots;
  line->width = RunWidth(font, line->chars);
}

}  // namespace

int RunWidth(const Font& font, std::u32string_view chars) {
  int width = 0;
  for (char32_t c : chars) width += Advance(font, c);
  return width;
}

std::vector<TextLine> LayoutText(const Font& font, std::wstring_view text, int max_width,
                                 int max_height, unsigned format) {
  std::vector<TextLine> lines;
  if (!font.IsValid()) return lines;
  const bool single = (format & kTextSingleLine) != 0;
  const bool wrap = !single && (format & kTextWordBreak) != 0 && max_width > 0;
  const bool ellipsis = (format & kTextEndEllipsis) != 0 && max_width > 0;
  for (const std::u32string& para : Paragraphs(text, single)) {
    if (wrap && !para.empty()) {
      WrapParagraph(font, para, max_width, &lines);
    } else {
      lines.push_back(TextLine{para, RunWidth(font, para)});
    }
  }
  if (ellipsis) {
    for (TextLine& line : lines)
      if (line.width > max_width) AddEllipsis(font, &line, max_width);
    const int line_height = font.LineHeight();
    if (max_height > 0 && line_height > 0 &&
        static_cast<long long>(lines.size()) * line_height > max_height) {
      const std::size_t keep = std::max<std::size_t>(1, max_height / line_height);
      if (keep < lines.size()) {
        lines.resize(keep);
        TextLine& last = lines.back();
        if (last.width + RunWidth(font, U"...") > max_width) {
          AddEllipsis(font, &last, max_width);
        } else {
          last.chars += U"...";
          last.width = RunWidth(font, last.chars);
        }
      }
    }
  }
  return lines;
}

Size MeasureText(const Font& font, std::wstring_view text, int max_width, unsigned format) {
  const std::vector<TextLine> lines = LayoutText(font, text, max_width, 0, format);
  Size size;
  for (const TextLine& line : lines) size.width = std::max(size.width, line.width);
  size.height = static_cast<int>(lines.size()) * font.LineHeight();
  return size;
}

}  // namespace skinui

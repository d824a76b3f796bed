// The line protocol that the package and an earlier version's uninstaller
// speak on their standard output: "Key=value" lines, 8-bit text in a code
// page the child may switch with "Encode=".
//
// OutputLineBuffer turns the raw reads of a pipe into whole lines. A read
// ends wherever the pipe happened to hold data, so one line (and one
// multi-byte character) may arrive in several reads; lines are therefore
// cut at the line-feed byte before anything is decoded. Every code page the
// protocol allows (UTF-8, the ANSI code pages, 936) keeps 0x0A out of its
// multi-byte sequences, so cutting bytes there never splits a character.
//
// The value helpers implement the fixed value rules shared by both
// protocols.
//
// Thread safety: an OutputLineBuffer belongs to the one thread that reads
// the pipe; the free functions are pure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace PackageProtocol {

// Longest value text, in characters: a longer (or empty) rest of the line
// gives an empty value.
inline constexpr size_t kMaxValueChars = 771;

// The lines of one decoded chunk: split at each line feed; the line feed is
// removed, a carriage return before it stays; a final piece without a line
// feed is a line, an empty remainder after the last line feed is not.
template <class Visit>
void ForEachLine(std::wstring_view chunk, Visit&& visit) {
  size_t begin = 0;
  while (begin < chunk.size()) {
    const size_t end = chunk.find(L'\n', begin);
    if (end == std::wstring_view::npos) {
      visit(chunk.substr(begin));
      return;
    }
    visit(chunk.substr(begin, end - begin));
    begin = end + 1;
  }
}

// True when the line begins with the key (case-sensitive); value receives
// the rest of the line, or empty when that rest is longer than
// kMaxValueChars.
bool MatchKey(std::wstring_view line, std::wstring_view key, std::wstring* value);

// "%lf": a decimal number at the start (after blanks); 0.0 when none.
double ParseNumber(const std::wstring& value);
// "%d": a decimal integer at the start (after blanks); 0 when none. Values
// beyond 32 bits wrap, as the C runtime's scanner does.
int32_t ParseInteger(const std::wstring& value);
// The integer of an "Encode=" value: leading blanks and a sign allowed,
// digits up to the first other character; 0 when there is no digit or the
// number does not fit a signed 32-bit integer.
int32_t ParseCodePageNumber(const std::wstring& value);

// Whole lines out of the raw reads of a pipe.
class OutputLineBuffer {
 public:
  // Bytes kept of one line. Anything beyond cannot change how the line is
  // parsed (its value is already far over kMaxValueChars characters in every
  // code page), so the rest is dropped instead of growing without bound.
  static constexpr size_t kMaxLineBytes = 16384;

  // Appends one read; visit(std::string_view line) is called for every line
  // completed by it, without its line feed. Stops early, keeping the rest
  // buffered, when visit returns false.
  template <class Visit>
  void Feed(const char* data, size_t size, Visit&& visit) {
    for (size_t i = 0; i < size; ++i) {
      if (data[i] != '\n') {
        if (pending_.size() < kMaxLineBytes) pending_.push_back(data[i]);
        continue;
      }
      std::string line;
      line.swap(pending_);
      if (!visit(std::string_view(line))) {
        pending_.assign(data + i + 1, size - i - 1);
        return;
      }
    }
  }

  // At the end of the output: the final line that had no line feed, once.
  template <class Visit>
  void Finish(Visit&& visit) {
    if (pending_.empty()) return;
    std::string line;
    line.swap(pending_);
    visit(std::string_view(line));
  }

  size_t PendingBytes() const { return pending_.size(); }

 private:
  std::string pending_;
};

}  // namespace PackageProtocol

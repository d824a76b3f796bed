// The Windows command-line rules, written once for every platform.
#include "utils/cmdline.h"

namespace Utils {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// The program name: up to the next quote when it starts with one, else up to
// the first blank. Backslashes are ordinary characters here.
size_t ReadProgramName(std::wstring_view s, std::wstring& out) {
  size_t i = 0;
  if (i < s.size() && s[i] == L'"') {
    ++i;
    while (i < s.size() && s[i] != L'"') out.push_back(s[i++]);
    if (i < s.size()) ++i;  // closing quote
  } else {
    while (i < s.size() && !IsBlank(s[i])) out.push_back(s[i++]);
  }
  return i;
}

}  // namespace

std::vector<std::wstring> SplitWindowsCommandLine(std::wstring_view s) {
  std::vector<std::wstring> args;
  if (s.empty()) return args;

  std::wstring current;
  size_t i = ReadProgramName(s, current);
  args.push_back(current);
  current.clear();

  while (i < s.size() && IsBlank(s[i])) ++i;
  if (i >= s.size()) return args;

  // quotes counts the quotes seen in the current run: odd while inside a
  // quoted part. Three quotes in a row inside quotes give one literal quote
  // and leave the quoted part; two in a row end it.
  int quotes = 0;
  size_t backslashes = 0;
  bool inArgument = true;
  while (i < s.size()) {
    const wchar_t c = s[i];
    if (IsBlank(c) && quotes == 0) {
      if (backslashes) current.append(backslashes, L'\\');
      backslashes = 0;
      args.push_back(current);
      current.clear();
      inArgument = false;
      while (i < s.size() && IsBlank(s[i])) ++i;
      if (i < s.size()) inArgument = true;
      continue;
    }
    if (c == L'\\') {
      ++backslashes;
      ++i;
      continue;
    }
    if (c == L'"') {
      current.append(backslashes / 2, L'\\');
      if (backslashes % 2 == 1) {
        current.push_back(L'"');
      } else {
        ++quotes;
      }
      backslashes = 0;
      ++i;
      while (i < s.size() && s[i] == L'"') {
        if (++quotes == 3) {
          current.push_back(L'"');
          quotes = 0;
        }
        ++i;
      }
      if (quotes == 2) quotes = 0;
      continue;
    }
    if (backslashes) current.append(backslashes, L'\\');
    backslashes = 0;
    current.push_back(c);
    ++i;
  }
  if (backslashes) current.append(backslashes, L'\\');
  if (inArgument) args.push_back(current);
  return args;
}

std::wstring QuoteWindowsArgument(std::wstring_view arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring_view::npos) {
    return std::wstring(arg);
  }
  std::wstring out = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    if (c == L'"') {
      out.append(backslashes * 2 + 1, L'\\');
      out.push_back(L'"');
    } else {
      out.append(backslashes, L'\\');
      out.push_back(c);
    }
    backslashes = 0;
  }
  out.append(backslashes * 2, L'\\');
  out.push_back(L'"');
  return out;
}

}  // namespace Utils

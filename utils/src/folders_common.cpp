// Path helpers that need no system call.
#include "utils/folders.h"

namespace Utils {

namespace {
bool IsSeparator(wchar_t c) { return c == kPathSeparator || c == L'/'; }
}  // namespace

bool JoinPath(std::wstring_view base, std::wstring_view leaf, std::wstring* out) {
  std::wstring joined(base);
  while (!leaf.empty() && IsSeparator(leaf.front())) leaf.remove_prefix(1);
  if (!joined.empty() && !IsSeparator(joined.back()) && !leaf.empty()) {
    joined.push_back(kPathSeparator);
  }
  joined.append(leaf);
  if (joined.size() > kMaxPathChars) return false;
  *out = std::move(joined);
  return true;
}

std::wstring PathDirectory(std::wstring_view path) {
  size_t pos = path.size();
  while (pos > 0 && !IsSeparator(path[pos - 1])) --pos;
  if (pos == 0) return std::wstring();
  size_t end = pos - 1;
  if (end == 0) return std::wstring(path.substr(0, 1));  // "/name": the root
  return std::wstring(path.substr(0, end));
}

std::wstring PathFileName(std::wstring_view path) {
  size_t pos = path.size();
  while (pos > 0 && !IsSeparator(path[pos - 1])) --pos;
  return std::wstring(path.substr(pos));
}

}  // namespace Utils

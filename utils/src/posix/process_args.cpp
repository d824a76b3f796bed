#include <string>
#include <vector>

#include "utils/cmdline.h"
#include "utils/file.h"
#include "utils/text.h"

namespace Utils {

std::vector<std::wstring> GetProcessArguments() {
  std::vector<std::wstring> args;
  std::string bytes;
  if (!ReadWholeFile(L"/proc/self/cmdline", bytes)) return args;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\0', start);
    if (end == std::string::npos) end = bytes.size();
    args.push_back(Utf8ToWide(std::string_view(bytes).substr(start, end - start)));
    start = end + 1;
  }
  return args;
}

}  // namespace Utils

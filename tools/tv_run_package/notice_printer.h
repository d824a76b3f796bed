// One line per notification on standard output: "<code> <value> <text>",
// the value in its shortest exact decimal form, the text in UTF-8. Shared
// by the command-line front ends.
//
// Thread safety: any thread; lines never interleave.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "utils/standard_output.h"
#include "utils/text.h"

namespace FrontEnd {

inline void PrintNotice(int32_t code, double value, const wchar_t* text) {
  static std::mutex lock;
  const std::string line = fmt::format("{} {} {}\n", code, value,
                                       Utils::WideToUtf8(text ? text : L""));
  std::lock_guard<std::mutex> hold(lock);
  Utils::WriteStandardOutput(line.data(), line.size());
}

// The value of "--name VALUE" among the arguments, when present.
inline bool OptionValue(const std::vector<std::wstring>& args, const wchar_t* name,
                        std::wstring* value) {
  for (size_t i = 1; i + 1 < args.size(); ++i) {
    if (args[i] == name) {
      *value = args[i + 1];
      return true;
    }
  }
  return false;
}

inline bool ParseFlag(const std::wstring& text, bool* flag) {
  if (text == L"true") *flag = true;
  else if (text == L"false") *flag = false;
  else return false;
  return true;
}

}  // namespace FrontEnd

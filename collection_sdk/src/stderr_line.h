// Diagnostics of the SDK go to the process's standard error, as the SDK's
// only way of reporting a refused call.
#pragma once

#include <cstdio>
#include <string>

namespace collect_sdk {

inline void WriteStandardError(const std::string& text) noexcept {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
}

}  // namespace collect_sdk

// KvException: the tracker library's one error type.
//
// Thrown by tracking operations for missing or invalid fields and by the
// initialisation; the wrapper (KvTrackerWrapper) catches every exception
// that leaves a tracking call, so the installer never sees one. The source
// file, function and line are kept for a debugger; nothing prints them.
#pragma once

#include <stdexcept>
#include <string>

namespace kelvo {
namespace tracker {

class KvException : public std::runtime_error {
 public:
  KvException(const std::string& message, const char* file, const char* function, int line)
      : std::runtime_error(message), file_(file ? file : ""), function_(function ? function : ""),
        line_(line) {}

  const std::string& file() const noexcept { return file_; }
  const std::string& function() const noexcept { return function_; }
  int line() const noexcept { return line_; }

 private:
  std::string file_;
  std::string function_;
  int line_;
};

}  // namespace tracker
}  // namespace kelvo

// KV_THROW("appName is empty"): raises a KvException naming the call site.
#define KV_THROW(message) \
  throw ::kelvo::tracker::KvException((message), __FILE__, __func__, __LINE__)
// The same, with an explicit function name recorded in the exception.
#define KV_THROW_IN(function, message) \
  throw ::kelvo::tracker::KvException((message), __FILE__, (function), __LINE__)

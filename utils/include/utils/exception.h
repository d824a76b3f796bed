// Utils::Exception: thrown only when a pipe or a process cannot be created
// (and when a child command line does not fit its buffer). Its text is the
// wide message converted to the ANSI code page.
#pragma once

#include <stdexcept>
#include <string>

namespace Utils {

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::wstring& message = std::wstring());
};

}  // namespace Utils

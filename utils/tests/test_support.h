// Helpers shared by the utils tests.
#pragma once

#include <string>

#include "utils/cmdline.h"
#include "utils/folders.h"
#include "utils/identity.h"
#include "utils/process.h"
#include "utils/text.h"

namespace test {

// Full path of the child helper, beside the test executable.
inline std::wstring ChildPath() {
  return Utils::PathDirectory(Utils::GetModulePath()) + Utils::kPathSeparator + UTILS_TEST_CHILD_NAME;
}

// Command line: the quoted child path, then the rest verbatim.
inline std::wstring ChildCommand(const std::wstring& rest) {
  return Utils::QuoteWindowsArgument(ChildPath()) + L" " + rest;
}

struct ChildResult {
  std::string output;
  uint32_t exitCode = 0;
};

// Runs the child to its end, reading all of its standard output.
inline ChildResult RunChild(const std::wstring& rest) {
  Utils::ChildProcess child;
  child.Launch(ChildCommand(rest));
  ChildResult result;
  char buffer[1024];
  long n;
  while ((n = child.ReadOutput(buffer, sizeof buffer)) > 0) result.output.append(buffer, static_cast<size_t>(n));
  result.exitCode = child.Wait();
  child.Close();
  // A Windows child writes its standard output in text mode.
  for (size_t at = result.output.find("\r\n"); at != std::string::npos; at = result.output.find("\r\n", at)) {
    result.output.erase(at, 1);
  }
  return result;
}

// A fresh, empty folder under the system temporary folder.
inline std::wstring MakeTempDir(const std::wstring& tag) {
  std::wstring base = Utils::GetTempFolder();
  std::wstring dir = base + L"test_" + tag + L"_" + Utils::NewGuidString();
  Utils::CreateDirectories(dir);
  return dir;
}

inline std::wstring Join(const std::wstring& a, const std::wstring& b) {
  return a + Utils::kPathSeparator + b;
}

}  // namespace test

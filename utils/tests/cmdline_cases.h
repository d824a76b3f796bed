// Command lines and the arguments the Windows rules make of them. Shared by
// the portable splitter's test and, on Windows, the comparison with the
// system's CommandLineToArgvW.
#pragma once

#include <string>
#include <vector>

namespace test {

struct CommandLineCase {
  const wchar_t* line;
  std::vector<std::wstring> args;
};

inline const std::vector<CommandLineCase>& CommandLineCases() {
  static const std::vector<CommandLineCase> cases = {
      {L"prog", {L"prog"}},
      {L"prog a b", {L"prog", L"a", L"b"}},
      {L"prog  a\t\tb  ", {L"prog", L"a", L"b"}},
      {L"\"C:\\Program Files\\x.exe\" /S", {L"C:\\Program Files\\x.exe", L"/S"}},
      // The program name takes no backslash escapes.
      {L"\"C:\\dir\\\\\" a", {L"C:\\dir\\\\", L"a"}},
      {L"C:\\a\\b.exe -x=1", {L"C:\\a\\b.exe", L"-x=1"}},
      {L"prog \"a b\" c", {L"prog", L"a b", L"c"}},
      {L"prog a\"b c\"d", {L"prog", L"ab cd"}},
      {L"prog \"\" x", {L"prog", L"", L"x"}},
      {L"prog \\\"a", {L"prog", L"\"a"}},
      {L"prog \\\\\"a b\"", {L"prog", L"\\a b"}},
      {L"prog \\\\\\\"a", {L"prog", L"\\\"a"}},
      {L"prog a\\\\b c\\", {L"prog", L"a\\\\b", L"c\\"}},
      {L"prog \"a\\\\\" b", {L"prog", L"a\\", L"b"}},
      {L"prog -instdir=\"C:\\Program Files\\Tarnvell\" /D=C:\\Program Files\\Tarnvell",
       {L"prog", L"-instdir=C:\\Program Files\\Tarnvell", L"/D=C:\\Program", L"Files\\Tarnvell"}},
      {L"prog \"\"\"", {L"prog", L"\""}},
      {L"prog \"a\"\"b\"", {L"prog", L"a\"b"}},
      {L"prog \"a\"\"b c\"", {L"prog", L"a\"b", L"c"}},
      {L"prog \"unterminated arg", {L"prog", L"unterminated arg"}},
      {L"prog -downloadurl=http://h/a?b=1&c=2 -instcmd=", {L"prog", L"-downloadurl=http://h/a?b=1&c=2", L"-instcmd="}},
      {L"prog 中文 \"路径 名\"", {L"prog", L"中文", L"路径 名"}},
  };
  return cases;
}

}  // namespace test

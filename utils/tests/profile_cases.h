// Profile files and what reading them gives. Shared by the portable
// reader's test and, on Windows, the comparison with the system's profile
// functions.
#pragma once

#include <string>
#include <vector>

namespace test {

struct ProfileReadCase {
  const char* content;  // file bytes
  const wchar_t* section;
  const wchar_t* key;
  const wchar_t* fallback;
  size_t bufferChars;
  const wchar_t* expected;
};

inline const std::vector<ProfileReadCase>& ProfileReadCases() {
  static const std::vector<ProfileReadCase> cases = {
      {"[Install]\r\nDownloadUrl=http://h/x\r\n", L"Install", L"DownloadUrl", L"def", 260, L"http://h/x"},
      {"[Install]\nDownloadUrl=http://h/x\n", L"install", L"downloadurl", L"def", 260, L"http://h/x"},
      {"[Install]\r\n", L"Install", L"IsCheckNet", L"true", 260, L"true"},
      {"[Other]\r\nIsCheckNet=false\r\n", L"Install", L"IsCheckNet", L"true", 260, L"true"},
      {"[Install]\r\nIsCheckNet=\r\n", L"Install", L"IsCheckNet", L"true", 260, L""},
      {"[Install]\r\n  Key  =   spaced value   \r\n", L"Install", L"Key", L"", 260, L"spaced value"},
      {"[Install]\r\nKey=\"quoted\"\r\n", L"Install", L"Key", L"", 260, L"quoted"},
      {"[Install]\r\nKey=a=b=c\r\n", L"Install", L"Key", L"", 260, L"a=b=c"},
      {"[Install]\r\nKey=first\r\nKey=second\r\n", L"Install", L"Key", L"", 260, L"first"},
      {"[Install]\r\n;Key=commented\r\nKey=real\r\n", L"Install", L"Key", L"", 260, L"real"},
      {"[Install]\r\nKey=value ; not a comment\r\n", L"Install", L"Key", L"", 260, L"value ; not a comment"},
      {"[Install]\r\nKey=0123456789\r\n", L"Install", L"Key", L"", 5, L"0123"},
      {"[Install]\r\n", L"Install", L"Key", L"fallback   ", 260, L"fallback"},
      {"[Install]\r\n", L"Install", L"Key", L"0123456789", 5, L"0123"},
      {"", L"Install", L"Key", L"fb", 260, L"fb"},
      {"[Install]\r\nName=\xE4\xB8\xAD\xE6\x96\x87\r\n", L"Install", L"Name", L"", 260, L"\x4E2D\x6587"},
  };
  return cases;
}

struct ProfileIntCase {
  const char* value;  // nullptr: key absent
  int fallback;
  int expected;
};

inline const std::vector<ProfileIntCase>& ProfileIntCases() {
  static const std::vector<ProfileIntCase> cases = {
      {nullptr, 1, 1}, {"", 1, 1},      {"3", 1, 3},     {"  7", 1, 7}, {"-2", 1, -2},
      {"12abc", 1, 12}, {"abc", 1, 0},  {"+5", 1, 5},    {"0x10", 1, 16},
      {"0b101", 1, 5},  {"0o17", 1, 15}, {"010", 1, 10},  {"0x", 1, 0},  {"4294967297", 1, 1},
  };
  return cases;
}

}  // namespace test

// The SDK's checks of names, identifiers and string values.
//
// Each check that fails writes its message to the process's standard error
// and returns false; none throws. Messages, exactly:
//   CheckId:   "The <name> is empty.\n"
//              "The <name> is too long, max length is 255.\n"
//   CheckName: "The <name> is empty or too long, max length is 100"
//              "The <name> need to be a valid variable name."  (no newline)
//   CheckStringValue:
//              "String property '<key>' is too long, value: <value>\n"
//              "String property '<key>' is not valid UTF-8 string, value: <value>\n"
// Thread safety: any thread; no state.
#pragma once

#include <cstddef>
#include <string>

namespace collect_sdk {

constexpr size_t kMaxIdLength = 255;
constexpr size_t kMaxNameLength = 100;
constexpr size_t kMaxStringValueLength = 8192;

// 1 to 255 bytes.
bool CheckId(const std::string& displayName, const std::string& value);

// 1 to 100 bytes; first byte a letter, "$" or "_"; the others letters,
// digits, "$" or "_".
bool CheckName(const std::string& displayName, const std::string& value);

// At most 8192 bytes and strict UTF-8 (below).
bool CheckStringValue(const std::string& key, const std::string& value);

// Strict UTF-8 that also refuses control bytes: single bytes 0x09, 0x0A,
// 0x0D and 0x20..0x7E; well-formed 2-, 3- and 4-byte sequences without
// overlong forms, surrogates or values above U+10FFFF. A sequence cut off by
// the end is invalid; the empty text is valid. Quiet (writes nothing). The
// tracker uses it to decide whether a text needs converting to UTF-8.
bool IsValidUtf8(const std::string& value);

}  // namespace collect_sdk

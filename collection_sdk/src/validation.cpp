#include "collect_sdk/validation.h"

#include "stderr_line.h"

namespace collect_sdk {

namespace {

bool IsLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool InRange(unsigned char c, unsigned char low, unsigned char high) { return c >= low && c <= high; }

// Length of the valid sequence starting at text[i], 0 when it is invalid.
size_t ValidSequenceLength(const std::string& text, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  const size_t left = text.size() - i;
  const unsigned char c = byte(i);
  if (c == 0x09 || c == 0x0A || c == 0x0D || InRange(c, 0x20, 0x7E)) return 1;
  if (InRange(c, 0xC2, 0xDF)) return left >= 2 && InRange(byte(i + 1), 0x80, 0xBF) ? 2 : 0;
  const auto tail = [&](size_t from, size_t count) {
    for (size_t k = from; k < from + count; ++k) {
      if (!InRange(byte(k), 0x80, 0xBF)) return false;
    }
    return true;
  };
  if (c >= 0xE0 && c <= 0xEF) {
    if (left < 3) return 0;
    const unsigned char c1 = byte(i + 1);
    bool ok = false;
    if (c == 0xE0) ok = InRange(c1, 0xA0, 0xBF);
    else if (c == 0xED) ok = InRange(c1, 0x80, 0x9F);
    else ok = InRange(c1, 0x80, 0xBF);  // E1..EC, EE..EF
    return ok && tail(i + 2, 1) ? 3 : 0;
  }
  if (c >= 0xF0 && c <= 0xF4) {
    if (left < 4) return 0;
    const unsigned char c1 = byte(i + 1);
    bool ok = false;
    if (c == 0xF0) ok = InRange(c1, 0x90, 0xBF);
    else if (c == 0xF4) ok = InRange(c1, 0x80, 0x8F);
    else ok = InRange(c1, 0x80, 0xBF);  // F1..F3
    return ok && tail(i + 2, 2) ? 4 : 0;
  }
  return 0;
}

}  // namespace

bool CheckId(const std::string& displayName, const std::string& value) {
  if (value.empty()) {
    WriteStandardError("The " + displayName + " is empty.\n");
    return false;
  }
  if (value.size() > kMaxIdLength) {
    WriteStandardError("The " + displayName + " is too long, max length is 255.\n");
    return false;
  }
  return true;
}

bool CheckName(const std::string& displayName, const std::string& value) {
  if (value.empty() || value.size() > kMaxNameLength) {
    WriteStandardError("The " + displayName + " is empty or too long, max length is 100");
    return false;
  }
  for (size_t i = 0; i < value.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(value[i]);
    const bool allowed = IsLetter(c) || c == '$' || c == '_' || (i > 0 && IsDigit(c));
    if (!allowed) {
      WriteStandardError("The " + displayName + " need to be a valid variable name.");
      return false;
    }
  }
  return true;
}

bool IsValidUtf8(const std::string& value) {
  size_t i = 0;
  while (i < value.size()) {
    const size_t length = ValidSequenceLength(value, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

bool CheckStringValue(const std::string& key, const std::string& value) {
  if (value.size() > kMaxStringValueLength) {
    WriteStandardError("String property '" + key + "' is too long, value: " + value + "\n");
    return false;
  }
  if (!IsValidUtf8(value)) {
    WriteStandardError("String property '" + key + "' is not valid UTF-8 string, value: " + value +
                       "\n");
    return false;
  }
  return true;
}

}  // namespace collect_sdk

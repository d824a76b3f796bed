#include "tracker/kv_context_properties.h"

#include "tracker/kv_exception.h"

namespace kelvo {
namespace tracker {

namespace {

constexpr char kAbKey[] = "kvc_ab";

bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsUpperOrDigit(char c) { return IsUpper(c) || (c >= '0' && c <= '9'); }

int CheckedIndex(KvEventType kind) {
  const int n = static_cast<int>(kind);
  // Negative values are as far out of the table as values above 14.
  if (n < 0 || n >= kKvEventTypeCount) KV_THROW("KvEvent[" + std::to_string(n) + "] overflow!");
  return n;
}

}  // namespace

bool KvContextProperties::isValidABValue(const std::string& value) {
  if (value.empty()) return false;
  if (value.size() >= 4) KV_THROW("value's length is great than 3.");
  if (!IsUpper(value[0])) KV_THROW("First char is not in A to Z");
  if (value.size() >= 2 && !IsUpperOrDigit(value[1]))
    KV_THROW("second char is not in A to Z and 0 to 9");
  if (value.size() >= 3 && !IsUpperOrDigit(value[2]))
    KV_THROW("third char is not in A to Z and 0 to 9");
  return true;
}

void KvContextProperties::setProperty(const std::vector<KvEventType>& kinds,
                                      const std::string& value) {
  if (!registered_.insert(kAbKey).second)
    KV_THROW(std::string("Property[") + kAbKey + "] already exist!");
  for (KvEventType kind : kinds) lists_[CheckedIndex(kind)].emplace_back(kAbKey, value);
}

const KvContextProperties::EntryList& KvContextProperties::getEventProperties(
    KvEventType kind) const {
  return lists_[CheckedIndex(kind)];
}

}  // namespace tracker
}  // namespace kelvo

// KvContextProperties: properties a caller attaches to events of chosen
// kinds (the installer uses it for its A/B value, "kvc_ab").
//
// One object per caller; not locked, so one thread fills it before handing
// it (by const reference) to tracking calls, which only read it.
#pragma once

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "tracker/kv_types.h"

namespace kelvo {
namespace tracker {

class KvContextProperties {
 public:
  using Entry = std::pair<std::string, std::string>;  // name, STRING value
  using EntryList = std::vector<Entry>;

  // False for the empty text, true for one upper-case letter followed by at
  // most two upper-case letters or digits ("IN", "A1", "B2C"); any other
  // text throws KvException naming the first rule it breaks.
  static bool isValidABValue(const std::string& value);

  // Registers "kvc_ab" = value for every listed kind, in order. Throws
  // "Property[kvc_ab] already exist!" on a second call, and
  // "KvEvent[n] overflow!" for a kind above 14 (kinds before it keep their
  // entry).
  void setProperty(const std::vector<KvEventType>& kinds, const std::string& value);

  // The entries registered for a kind; "KvEvent[n] overflow!" above 14.
  const EntryList& getEventProperties(KvEventType kind) const;

 private:
  std::set<std::string> registered_;
  EntryList lists_[kKvEventTypeCount];
};

}  // namespace tracker
}  // namespace kelvo

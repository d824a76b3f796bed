// NativeUserTracker: turns one user-profile value into the SDK profile call
// its key's update kind asks for (set once, increment, set).
//
// Each call queues exactly one profile record, or throws KvException for a
// key outside the kind table or a kind that does not fit the value type.
// Any thread: the kind table is built once, on first use, and only read.
#pragma once

#include <cstdint>
#include <string>

namespace kelvo {
namespace tracker {

enum class ProfileKind : int { NotSupported = 0, SetOnce = 1, Increment = 2, Set = 3 };

class NativeUserTracker {
 public:
  static ProfileKind KindOf(const std::string& key);

  static void ProfileUserPropertyString(const std::string& key, const std::string& value);
  static void ProfileUserPropertyNumber(const std::string& key, int value);
  static void ProfileUserPropertyNumber(const std::string& key, double value);
  // A value of at least 157789440000 is milliseconds since the epoch, a
  // smaller one seconds.
  static void ProfileUserPropertyDateTime(const std::string& key, int64_t time);
};

}  // namespace tracker
}  // namespace kelvo

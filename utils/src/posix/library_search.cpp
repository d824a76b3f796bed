#include "utils/library_search.h"

namespace Utils {

// Nothing to harden here: the dynamic loader searches only the paths built
// into the executable and the system's folders, never the executable's own
// folder or the current directory.
void HardenDllSearch() {}

}  // namespace Utils

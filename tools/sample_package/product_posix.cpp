// The product on Linux: headless, it stays up until it is sent SIGTERM (or
// SIGINT), then exits 0.
#include <csignal>

#include "sample_script.h"

namespace SamplePackage {

int RunProduct() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGINT);
  sigprocmask(SIG_BLOCK, &set, nullptr);
  int received = 0;
  sigwait(&set, &received);
  return 0;
}

}  // namespace SamplePackage

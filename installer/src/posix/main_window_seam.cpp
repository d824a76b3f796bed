// Headless placeholder for the main window: the "modal loop" waits for the
// signals that close a desktop program (SIGTERM, SIGINT, SIGHUP). They are
// blocked and taken with sigwait, so tear-down runs normally on the main
// thread instead of inside a signal handler.
#include <signal.h>

#include "main_window_seam.h"
#include "utils/log.h"

namespace {

class HeadlessMainWindow final : public MainWindowSeam {
 public:
  HeadlessMainWindow() {
    sigemptyset(&closeSignals_);
    sigaddset(&closeSignals_, SIGTERM);
    sigaddset(&closeSignals_, SIGINT);
    sigaddset(&closeSignals_, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &closeSignals_, &previous_);
  }
  ~HeadlessMainWindow() override { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }

  void RunModal() override {
    UTILS_LOGLN(L"main window open (headless); closes on SIGTERM, SIGINT or SIGHUP");
    int signal = 0;
    sigwait(&closeSignals_, &signal);
    UTILS_LOGLN(L"main window closed by signal %d", signal);
  }

 private:
  sigset_t closeSignals_;
  sigset_t previous_;
};

}  // namespace

std::unique_ptr<MainWindowSeam> CreateMainWindowSeam(void*) {
  return std::make_unique<HeadlessMainWindow>();
}

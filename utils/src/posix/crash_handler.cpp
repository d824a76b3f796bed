// Crash handler elsewhere than Windows: the fatal signals run the callback on
// an alternate stack (so a stack overflow can still report), then the
// default action is restored and the signal raised again.
#include "utils/crash_handler.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>

namespace Utils {

namespace {

std::atomic<CrashCallback> g_callback{nullptr};
std::atomic<bool> g_reporting{false};
constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT};

void OnFatalSignal(int signal) {
  // Only the first fault reports; a fault inside the report (or on a second
  // thread meanwhile) goes straight to the default action.
  CrashCallback callback = g_callback.load();
  if (callback && !g_reporting.exchange(true)) callback();
  struct sigaction dfl {};
  dfl.sa_handler = SIG_DFL;
  sigemptyset(&dfl.sa_mask);
  sigaction(signal, &dfl, nullptr);
  raise(signal);
}

}  // namespace

void InstallCrashHandler(CrashCallback callback) {
  g_callback.store(callback);
  // The alternate stack lives for the whole process; a static buffer needs
  // no allocation and is never reported as leaked.
  alignas(16) static char alternateStack[1 << 16];
  static bool stackReady = false;
  if (!stackReady) {
    stack_t stack{};
    stack.ss_size = sizeof alternateStack;
    stack.ss_sp = alternateStack;
    if (sigaltstack(&stack, nullptr) == 0) stackReady = true;
  }
  struct sigaction action {};
  action.sa_handler = OnFatalSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_ONSTACK | SA_NODEFER;
  for (int s : kSignals) sigaction(s, &action, nullptr);
}

}  // namespace Utils

// Last-chance crash handler.
//
// Windows: SetUnhandledExceptionFilter; the callback runs, then the filter
// returns EXCEPTION_CONTINUE_SEARCH so the system's own crash handling goes
// on. Elsewhere: sigaction for SIGSEGV, SIGBUS, SIGILL, SIGFPE and SIGABRT on
// an alternate stack; the callback runs, then the default action is restored
// and the signal raised again, so the process still dies of it.
//
// The callback runs on the faulting thread, possibly while that thread holds
// locks; it must not wait for anything without a deadline.
#pragma once

namespace Utils {

using CrashCallback = void (*)();

void InstallCrashHandler(CrashCallback callback);

}  // namespace Utils

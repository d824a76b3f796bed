// A small program for the process tests: what it does is chosen by its
// first argument. Output goes to standard output, as UTF-8 lines.
//   args            prints every argument as "[arg]"
//   exit N          exits with N
//   silent          exits 0 without output
//   print TEXT      prints TEXT and exits 0
//   sleep MS        sleeps, then exits 0
//   lock NAME       exits 0 when it could take the single-instance lock NAME, else 1
//   crash           installs the crash handler, then faults (illegal instruction)
#include <cstdio>
#if defined(_MSC_VER)
#include <intrin.h>
#endif
#include <cstdlib>
#include <string>
#include <vector>

#include "utils/cmdline.h"
#include "utils/crash_handler.h"
#include "utils/single_instance.h"
#include "utils/sysinfo.h"
#include "utils/text.h"

namespace {

void Print(const std::wstring& text) {
  const std::string bytes = Utils::WideToUtf8(text);
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  std::fflush(stdout);
}

void OnCrash() { Print(L"crash-callback\n"); }

// A real processor fault (illegal instruction): it reaches the crash
// handler on every platform, where a null store might be caught first by a
// sanitizer's own checks.
[[noreturn]] void Fault() {
#if defined(_MSC_VER)
  __ud2();
#else
  __builtin_trap();
#endif
}

}  // namespace

int main() {
  const std::vector<std::wstring> args = Utils::GetProcessArguments();
  const std::wstring command = args.size() > 1 ? args[1] : L"";
  const std::wstring operand = args.size() > 2 ? args[2] : L"";
  if (command == L"args") {
    for (size_t i = 1; i < args.size(); ++i) Print(L"[" + args[i] + L"]\n");
    return 0;
  }
  if (command == L"exit") return std::wcstol(operand.c_str(), nullptr, 10);
  if (command == L"silent") return 0;
  if (command == L"print") {
    Print(operand);
    return 0;
  }
  if (command == L"sleep") {
    Utils::SleepMilliseconds(static_cast<uint32_t>(std::wcstoul(operand.c_str(), nullptr, 10)));
    return 0;
  }
  if (command == L"lock") {
    Utils::SingleInstanceLock lock(operand);
    lock.Acquire();
    return lock.Held() ? 0 : 1;
  }
  if (command == L"crash") {
    Utils::InstallCrashHandler(&OnCrash);
    Fault();
  }
  return 2;
}

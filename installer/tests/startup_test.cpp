// The installer executable as a whole: a second instance leaves at once.
#include <gtest/gtest.h>

#include "startup.h"
#include "utils/folders.h"
#include "utils/process.h"
#include "utils/single_instance.h"
#include "utils/cmdline.h"

namespace {

std::wstring InstallerPath() {
  return Utils::PathDirectory(Utils::GetModulePath()) + Utils::kPathSeparator + INSTALLER_EXE_NAME;
}

TEST(Startup, SecondInstanceExitsWithMinusOneAndLeavesTheFirstAlone) {
  Utils::SingleInstanceLock first(kSingleInstanceName);
  first.Acquire();
  ASSERT_TRUE(first.Held()) << "another installer is running on this machine";
  Utils::ChildProcess second;
  second.Launch(Utils::QuoteWindowsArgument(InstallerPath()) + L" -downloadtype=3");
  const uint32_t code = second.Wait();
  second.Close();
  // -1: all ones on Windows; the low byte, 255, as a POSIX exit status.
  EXPECT_TRUE(code == 0xFFFFFFFFu || code == 255u) << code;
  EXPECT_TRUE(first.Held());
}

}  // namespace

#include <gtest/gtest.h>

#include "test_support.h"
#include "utils/exception.h"
#include "utils/process.h"

namespace {

TEST(ChildProcess, ReadsOutputAndExitCode) {
  const test::ChildResult r = test::RunChild(L"print \"hello 中文\"");
  EXPECT_EQ(r.output, "hello 中文");
  EXPECT_EQ(r.exitCode, 0u);
  EXPECT_EQ(test::RunChild(L"exit 3").exitCode, 3u);
}

TEST(ChildProcess, SilentChildLeavesOutputAtEndOfData) {
  Utils::ChildProcess child;
  child.Launch(test::ChildCommand(L"silent"));
  char buffer[64];
  EXPECT_EQ(child.ReadOutput(buffer, sizeof buffer), 0);
  EXPECT_EQ(child.Wait(), 0u);
  child.Close();
}

TEST(ChildProcess, StillActiveWhileRunningThenExitCode) {
  Utils::ChildProcess child;
  child.Launch(test::ChildCommand(L"sleep 300"));
  EXPECT_EQ(child.ExitCode(), Utils::ChildProcess::kStillActive);
  EXPECT_NE(child.ProcessId(), 0u);
  EXPECT_EQ(child.Wait(), 0u);
  EXPECT_EQ(child.ExitCode(), 0u);
  child.Close();
}

TEST(ChildProcess, TerminateEndsAHangingChild) {
  Utils::ChildProcess child;
  child.Launch(test::ChildCommand(L"sleep 60000"));
  ASSERT_TRUE(child.Terminate(9));
  EXPECT_NE(child.Wait(), Utils::ChildProcess::kStillActive);
  child.Close();
}

TEST(ChildProcess, MissingProgramThrows) {
  Utils::ChildProcess child;
  EXPECT_THROW(child.Launch(test::Join(Utils::GetTempFolder(), L"no-such-program.exe") + L" /S"),
               Utils::Exception);
}

TEST(ChildProcess, CommandLineOf1024CharactersIsRefusedNotCut) {
  const std::wstring head = test::ChildCommand(L"print ");
  std::wstring fits = head + std::wstring(1023 - head.size(), L'x');
  ASSERT_EQ(fits.size(), 1023u);
  {
    Utils::ChildProcess child;
    child.Launch(fits);
    std::string out;
    char buffer[2048];
    long n;
    while ((n = child.ReadOutput(buffer, sizeof buffer)) > 0) out.append(buffer, static_cast<size_t>(n));
    child.Wait();
    child.Close();
    EXPECT_EQ(out.size(), 1023u - head.size());  // every character arrived
  }
  Utils::ChildProcess child;
  EXPECT_THROW(child.Launch(fits + L"x"), Utils::Exception);
}

TEST(ChildProcess, CloseIsSafeWithoutLaunchAndTwice) {
  Utils::ChildProcess child;
  child.Close();
  child.Close();
}

TEST(CrashHandler, CallbackRunsThenTheProcessStillDies) {
  const test::ChildResult r = test::RunChild(L"crash");
  // The callback ran exactly once; a system crash reporter may add its own
  // text after it.
  EXPECT_EQ(r.output.rfind("crash-callback\n", 0), 0u) << r.output;
  EXPECT_EQ(r.output.find("crash-callback", 1), std::string::npos) << r.output;
  EXPECT_NE(r.exitCode, 0u);
  EXPECT_NE(r.exitCode, Utils::ChildProcess::kStillActive);
}

}  // namespace

// The installer's crash filter on a fatal signal: it reports, then the
// process still dies of the signal.
#include <signal.h>

#include <gtest/gtest.h>

#include "startup.h"
#include "utils/crash_handler.h"

namespace {

TEST(CrashFilterDeathTest, ReportsThenDiesOfTheSignal) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        Utils::InstallCrashHandler(&CrashFilter);
        raise(SIGSEGV);
      },
      ::testing::KilledBySignal(SIGSEGV), ">: CRASH\r\n");
}

}  // namespace

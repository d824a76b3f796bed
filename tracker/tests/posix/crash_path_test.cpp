// The crash path: a thread faults while another thread holds the record
// store's flush lock for a send that hangs. The crash report must neither
// deadlock nor hang; its records end up staged on disk, and the process
// still dies of its signal.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <thread>

#include "tracker/crash_scope.h"
#include "tracker_fixture.h"
#include "utils/crash_handler.h"
#include "utils/sysinfo.h"

using namespace kelvo::tracker;
using namespace tracker_test;

namespace {

// A listening socket that never accepts: connections complete in the
// kernel, requests are never answered, so every send runs into its timeout.
int SilentListener(int& port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
  listen(fd, 16);
  socklen_t len = sizeof a;
  getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
  port = ntohs(a.sin_port);
  return fd;
}

void ReportCrash() {
  CrashReportScope scope;
  const auto tracker = getTracker();
  if (!tracker) return;
  KvContextProperties ab;
  ab.setProperty({KvEventType::Task}, "IN");
  KvEventTask task;
  task.name = "崩溃退出";
  tracker->trackTask(task, ab);
  tracker->trackCrash("崩溃");
}

}  // namespace

TEST(CrashPathDeathTest, StagesInsteadOfWaitingForABusyStore) {
  GTEST_FLAG_SET(death_test_style, "fast");
  TrackerConfig config = MakeConfig();
  const TrackerPaths paths = ResolveTrackerPaths(Utils::Utf8ToWide(config.appName), L"");
  EXPECT_EXIT(
      {
        int port = 0;
        const int listener = SilentListener(port);
        config.serverUrl = "http://127.0.0.1:" + std::to_string(port) + "/sa?project=pc";
        createTracker(config);
        KvEventClick click;
        click.name = "before";
        getTracker()->trackClick(click, KvContextProperties());
        // This thread holds the flush lock while its batch hangs.
        std::thread busy([] { getTracker()->trackUninstall("u", KvContextProperties()); });
        busy.detach();
        Utils::SleepMilliseconds(300);
        Utils::InstallCrashHandler(&ReportCrash);
        raise(SIGSEGV);
        close(listener);
      },
      ::testing::KilledBySignal(SIGSEGV), "");
  const std::string staged = ReadText(paths.stagingFile);
  EXPECT_TRUE(Contains(staged, "\"event\":\"AppCrashed\"")) << staged;
  EXPECT_TRUE(Contains(staged, "\"kv_task_name\":\"崩溃退出\"")) << staged;
}

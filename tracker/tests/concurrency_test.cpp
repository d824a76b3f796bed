// Tracking from several threads at once, with a flush now and then, while
// the endpoint is down: every record is kept exactly once, and the queue
// and counter survive the contention (run under TSan too).
#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <vector>

#include "tracker_fixture.h"

using namespace kelvo::tracker;
using namespace tracker_test;

TEST(TrackerConcurrency, ManyThreadsTrackWithoutLossOrDuplicates) {
  constexpr int kThreads = 6;
  constexpr int kPerThread = 40;
  TrackerRun run;
  KvContextProperties ab;
  ab.setProperty({KvEventType::Click, KvEventType::Task}, "IN");
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kPerThread; ++i) {
        const std::string name = "t" + std::to_string(t) + "_" + std::to_string(i);
        if (i % 2 == 0) {
          KvEventClick click;
          click.name = name;
          run.tracker().trackClick(click, ab);
        } else {
          KvEventTask task;
          task.name = name;
          run.tracker().trackTask(task, ab);
        }
        if (i == kPerThread / 2) run.tracker().trackUninstall("u", ab);  // flushes now
      }
    });
  }
  for (std::thread& th : threads) th.join();
  const auto records = run.ReleaseAndReadStaged();
  std::set<std::string> names;
  for (const std::string& r : records) {
    const std::string n = ValueOf(r, r.find("kv_task_name") != std::string::npos ? "kv_task_name" : "kv_name");
    if (n != "<absent>") names.insert(n);
  }
  EXPECT_EQ(records.size(), static_cast<size_t>(kThreads * kPerThread + kThreads));
  EXPECT_EQ(names.size(), static_cast<size_t>(kThreads * kPerThread));
}

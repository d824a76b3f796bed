#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "utils/sysinfo.h"
#include "utils/thread.h"

namespace {

TEST(Thread, BodyRunsOnlyAfterResumeWithItsArgument) {
  std::atomic<int> value{0};
  std::atomic<uint32_t> bodyThread{0};
  {
    Utils::Thread t(&value, L"ABDEF", [&](void* arg) -> uint32_t {
      static_cast<std::atomic<int>*>(arg)->store(42);
      bodyThread = Utils::CurrentThreadId();
      return 7;
    });
    ASSERT_TRUE(t.Exists());
    Utils::SleepMilliseconds(50);
    EXPECT_EQ(value.load(), 0);  // still suspended
    const uint32_t id = t.Id();
    EXPECT_NE(id, 0xFFFFFFFFu);
    ASSERT_TRUE(t.Resume());
    t.Join();
    EXPECT_EQ(value.load(), 42);
    EXPECT_EQ(bodyThread.load(), id);
    EXPECT_EQ(t.Id(), 0xFFFFFFFFu);
    EXPECT_FALSE(t.Exists());
    t.Join();  // twice: harmless
    EXPECT_FALSE(t.Resume());
  }
}

TEST(Thread, NeverResumedThreadIsReleasedWithoutRunningItsBody) {
  std::atomic<bool> ran{false};
  {
    Utils::Thread t(nullptr, L"ABDEF", [&](void*) -> uint32_t {
      ran = true;
      return 0;
    });
  }  // must not hang
  EXPECT_FALSE(ran.load());
}

TEST(Thread, DestructionWaitsForARunningBody) {
  std::atomic<bool> finished{false};
  const auto start = std::chrono::steady_clock::now();
  {
    Utils::Thread t(nullptr, L"UnInstaller", [&](void*) -> uint32_t {
      Utils::SleepMilliseconds(200);
      finished = true;
      return 0;
    });
    t.Resume();
  }
  EXPECT_TRUE(finished.load());
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));
}

TEST(Thread, DebuggerNames) {
  Utils::Thread named(nullptr, L"ABDEF", [](void*) -> uint32_t { return 0; });
  EXPECT_EQ(named.DebuggerName(), "ABDEF");
  Utils::Thread unnamed(nullptr, L"", [](void*) -> uint32_t { return 0; });
  EXPECT_EQ(unnamed.DebuggerName(), "t" + std::to_string(unnamed.Id()));
}

TEST(Thread, ManyThreadsRunConcurrently) {
  std::atomic<int> count{0};
  std::vector<std::unique_ptr<Utils::Thread>> threads;
  for (int i = 0; i < 16; ++i) {
    threads.push_back(std::make_unique<Utils::Thread>(nullptr, L"ABDEF", [&](void*) -> uint32_t {
      for (int k = 0; k < 1000; ++k) count.fetch_add(1);
      return 0;
    }));
  }
  for (auto& t : threads) t->Resume();
  threads.clear();
  EXPECT_EQ(count.load(), 16000);
}

}  // namespace

// The crash path: a flush from a crash handler on a thread that may hold
// the store's locks must neither deadlock nor hang, and what it cannot send
// must end up in the staging file.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "bounded_lock.h"
#include "collect_sdk/crash_path.h"
#include "collect_sdk/flush_policy.h"
#include "collect_sdk/record_store.h"
#include "collect_sdk/sdk.h"
#include "record_store_state.h"
#include "test_support.h"

namespace collect_sdk {

class RecordStoreTestPeer {
 public:
  static OwnedMutex& FlushLock(RecordStore& store) { return store.state_->flushLock; }
  static OwnedMutex& QueueLock(RecordStore& store) { return store.state_->queueLock; }
};

}  // namespace collect_sdk

namespace {

using collect_sdk::CrashPathScope;
using collect_sdk::RecordStore;
using collect_sdk::RecordStoreTestPeer;

class CrashPath : public testing::Test {
 protected:
  RecordStore::SendFunction Send(bool deliver) {
    return [this, deliver](const std::string& json, long timeout) {
      sends_.push_back(json);
      timeouts_.push_back(timeout);
      return deliver;
    };
  }
  void Fill(RecordStore& store, int count) {
    for (const auto& record : sdk_test::NumberedRecords(0, count)) ASSERT_TRUE(store.AddSerialized(record));
  }
  std::vector<std::string> Staged() { return sdk_test::SplitLines(sdk_test::ReadFile(staging_)); }

  sdk_test::TempFolder folder_;
  std::string staging_ = folder_.File("staging.txt");
  std::vector<std::string> sends_;
  std::vector<long> timeouts_;
};

// The thread faulted inside a send: it holds the flush lock itself.
TEST_F(CrashPath, OwnFlushLockHeldStagesInsteadOfDeadlocking) {
  RecordStore store(staging_, Send(true));
  Fill(store, 5);
  auto& flushLock = RecordStoreTestPeer::FlushLock(store);
  ASSERT_TRUE(flushLock.Lock());
  {
    CrashPathScope crashPath;
    EXPECT_FALSE(store.FlushAll());
  }
  flushLock.Unlock();
  EXPECT_TRUE(sends_.empty());
  EXPECT_EQ(Staged(), sdk_test::NumberedRecords(0, 5));
}

// The thread faulted inside Add: it holds the queue lock itself. Nothing
// can be read or added safely, but nothing waits either.
TEST_F(CrashPath, OwnQueueLockHeldGivesUpAtOnce) {
  RecordStore store(staging_, Send(true));
  Fill(store, 3);
  auto& queueLock = RecordStoreTestPeer::QueueLock(store);
  ASSERT_TRUE(queueLock.Lock());
  {
    CrashPathScope crashPath;
    EXPECT_FALSE(store.AddSerialized("{\"crash\":1}"));
    EXPECT_FALSE(store.FlushAll());
    EXPECT_FALSE(store.Stage());
  }
  queueLock.Unlock();
  EXPECT_TRUE(sends_.empty());
  EXPECT_EQ(store.Size(), 3u);
}

// Another thread is stuck in a transfer and never lets go of the flush
// lock: the crash path waits a bounded time, then stages.
TEST_F(CrashPath, FlushLockHeldByAStuckThreadIsWaitedForBriefly) {
  RecordStore store(staging_, Send(true));
  Fill(store, 4);
  std::mutex m;
  std::condition_variable cv;
  bool held = false, release = false;
  std::thread stuck([&] {
    auto& flushLock = RecordStoreTestPeer::FlushLock(store);
    flushLock.Lock();
    {
      std::unique_lock<std::mutex> lock(m);
      held = true;
      cv.notify_all();
      cv.wait(lock, [&] { return release; });
    }
    flushLock.Unlock();
  });
  {
    std::unique_lock<std::mutex> lock(m);
    cv.wait(lock, [&] { return held; });
  }
  {
    CrashPathScope crashPath;
    EXPECT_FALSE(store.FlushAll());
  }
  EXPECT_EQ(Staged(), sdk_test::NumberedRecords(0, 4));
  {
    std::lock_guard<std::mutex> lock(m);
    release = true;
  }
  cv.notify_all();
  stuck.join();
  // Outside the crash path the lock is simply waited for.
  EXPECT_TRUE(store.FlushAll());
  EXPECT_EQ(sends_.size(), 1u);
}

TEST_F(CrashPath, FailedSendLeavesRecordsStagedBehindEarlierOnes) {
  sdk_test::WriteFile(staging_, "{\"earlier\":1}\r\n");
  RecordStore store(staging_, Send(false));
  Fill(store, 2);
  {
    CrashPathScope crashPath(1500);
    EXPECT_FALSE(store.FlushAll());
  }
  ASSERT_EQ(timeouts_.size(), 1u);
  EXPECT_GT(timeouts_[0], 0);
  EXPECT_LE(timeouts_[0], 1500);  // the transfer never outlasts the budget
  EXPECT_EQ(Staged(), (std::vector<std::string>{"{\"earlier\":1}", "{\"n\":0}", "{\"n\":1}"}));
}

TEST_F(CrashPath, SpentBudgetSendsNothingAndStages) {
  RecordStore store(staging_, Send(true));
  Fill(store, 2);
  {
    CrashPathScope crashPath(0);
    EXPECT_FALSE(store.FlushBatch());
  }
  EXPECT_TRUE(sends_.empty());
  EXPECT_EQ(Staged(), sdk_test::NumberedRecords(0, 2));
}

TEST_F(CrashPath, DeliveredFlushLeavesAnEmptyStagingFile) {
  sdk_test::WriteFile(staging_, "{\"earlier\":1}\r\n");
  RecordStore store(staging_, Send(true));
  Fill(store, 2);
  {
    CrashPathScope crashPath;
    EXPECT_TRUE(store.FlushAll());
  }
  EXPECT_EQ(sends_.size(), 1u);
  EXPECT_EQ(sdk_test::ReadFile(staging_), "");
}

TEST(CrashPathScopeTest, NestedScopesKeepTheEarliestDeadline) {
  EXPECT_FALSE(CrashPathScope::Active());
  {
    CrashPathScope outer(100);
    {
      CrashPathScope inner(100000);
      EXPECT_LE(CrashPathScope::RemainingMilliseconds(), 100u);
    }
    EXPECT_TRUE(CrashPathScope::Active());
  }
  EXPECT_FALSE(CrashPathScope::Active());
  bool otherThreadActive = true;
  CrashPathScope scope;
  std::thread([&] { otherThreadActive = CrashPathScope::Active(); }).join();
  EXPECT_FALSE(otherThreadActive);
}

// A crash report while the pending counter is 0 is not sent (that is the
// flush rule), but it must not be lost with the dying process.
TEST(CrashPathPolicy, FlushNowWithNothingPendingStagesTheCrashRecord) {
  sdk_test::TempFolder folder;
  const std::string staging = folder.File("staging.txt");
  ASSERT_TRUE(collect_sdk::Sdk::Init(staging, "http://127.0.0.1:9/sa", "d", false));
  collect_sdk::FlushPolicy policy;
  {
    CrashPathScope crashPath;
    ASSERT_TRUE(collect_sdk::Sdk::Track("AppCrashed", collect_sdk::PropertiesNode()));
    EXPECT_FALSE(policy.FlushNow());
  }
  const auto staged = sdk_test::SplitLines(sdk_test::ReadFile(staging));
  ASSERT_EQ(staged.size(), 1u);
  EXPECT_NE(staged[0].find("\"event\":\"AppCrashed\""), std::string::npos);
  collect_sdk::Sdk::Shutdown();
}

}  // namespace

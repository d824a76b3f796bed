// Tracking and flushing from several threads at once: nothing is lost or
// duplicated, each producer's records keep their order, batches go out one
// at a time.
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "collect_sdk/flush_policy.h"
#include "collect_sdk/record_store.h"
#include "collect_sdk/sdk.h"
#include "test_support.h"

namespace {

using collect_sdk::RecordStore;

constexpr int kProducers = 4;
constexpr int kPerProducer = 200;

// "{\"p\":P,\"k\":K}" -> (P, K)
std::pair<int, int> Parse(const std::string& record) {
  int p = -1, k = -1;
  std::sscanf(record.c_str(), "{\"p\":%d,\"k\":%d}", &p, &k);
  return {p, k};
}

// Splits a batch JSON array "[{...},{...}]" into its records.
std::vector<std::string> Records(const std::string& batch) {
  std::vector<std::string> out;
  size_t start = 1;
  while (start < batch.size() - 1) {
    const size_t end = batch.find('}', start);
    out.push_back(batch.substr(start, end - start + 1));
    start = end + 2;
  }
  return out;
}

TEST(Concurrency, ProducersAndFlushersShareOneStore) {
  sdk_test::TempFolder folder;
  std::mutex deliveredLock;
  std::vector<std::string> delivered;
  std::atomic<int> inFlight{0};
  std::atomic<bool> overlapped{false};
  std::atomic<int> calls{0};
  RecordStore store(folder.File("staging.txt"), [&](const std::string& batch, long) {
    if (inFlight.fetch_add(1) != 0) overlapped = true;
    const bool deliver = calls.fetch_add(1) % 3 != 0;  // every third batch fails
    if (deliver) {
      std::lock_guard<std::mutex> lock(deliveredLock);
      for (auto& record : Records(batch)) delivered.push_back(record);
    }
    inFlight.fetch_sub(1);
    return deliver;
  });

  std::atomic<int> producersDone{0};
  std::vector<std::thread> threads;
  for (int p = 0; p < kProducers; ++p) {
    threads.emplace_back([&, p] {
      for (int k = 0; k < kPerProducer; ++k) {
        store.AddSerialized("{\"p\":" + std::to_string(p) + ",\"k\":" + std::to_string(k) + "}");
      }
      producersDone.fetch_add(1);
    });
  }
  for (int f = 0; f < 2; ++f) {
    threads.emplace_back([&] {
      while (producersDone.load() < kProducers) store.FlushBatch();
    });
  }
  for (auto& thread : threads) thread.join();
  while (store.Size() > 0) store.FlushAll();

  EXPECT_FALSE(overlapped.load());
  ASSERT_EQ(delivered.size(), static_cast<size_t>(kProducers * kPerProducer));
  std::map<int, int> next;
  for (const auto& record : delivered) {
    const auto [p, k] = Parse(record);
    EXPECT_EQ(k, next[p]) << "producer " << p;  // in order, once each
    next[p] = k + 1;
  }
}

TEST(Concurrency, SdkTrackingIdentityAndSuperPropertiesFromSeveralThreads) {
  sdk_test::TempFolder folder;
  const std::string staging = folder.File("staging.txt");
  ASSERT_TRUE(collect_sdk::Sdk::Init(staging, "http://127.0.0.1:9/sa", "device", false));
  collect_sdk::FlushPolicy policy;
  std::vector<std::thread> threads;
  for (int t = 0; t < kProducers; ++t) {
    threads.emplace_back([&, t] {
      for (int k = 0; k < 50; ++k) {
        collect_sdk::PropertiesNode properties;
        properties.SetNumber("k", k);
        collect_sdk::Sdk::Track("T" + std::to_string(t), properties);
        policy.FlushLater();
      }
    });
  }
  threads.emplace_back([] {
    for (int k = 0; k < 50; ++k) {
      collect_sdk::PropertiesNode super;
      super.SetNumber("s", k);
      collect_sdk::Sdk::MergeSuperProperties(super);
      collect_sdk::Sdk::SetDistinctId(k % 2 ? "user" : "device", k % 2 == 1);
    }
  });
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(policy.Pending(), kProducers * 50);
  EXPECT_EQ(collect_sdk::Sdk::QueuedRecordCount(), static_cast<size_t>(kProducers * 50));
  collect_sdk::Sdk::Shutdown();
  EXPECT_EQ(sdk_test::SplitLines(sdk_test::ReadFile(staging)).size(), static_cast<size_t>(kProducers * 50));
}

}  // namespace

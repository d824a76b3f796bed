// Queue, batches, put-back and staging of the RecordStore, with the send
// step replaced by a recorder (the HTTP path is tested against the real
// collector elsewhere).
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "collect_sdk/batch_body.h"
#include "collect_sdk/record_store.h"
#include "test_support.h"

namespace {

using collect_sdk::RecordStore;

// Records every batch it is given; answers from a per-call script
// (true = delivered, false = failed, throws for "throw").
class ScriptedSend {
 public:
  std::vector<std::string> script;  // "ok", "fail", "throw"; then "ok"
  std::vector<std::string> batches;

  RecordStore::SendFunction Function() {
    return [this](const std::string& json, long) {
      batches.push_back(json);
      const std::string step = calls_ < script.size() ? script[calls_] : "ok";
      ++calls_;
      if (step == "throw") throw std::runtime_error("boom");
      return step == "ok";
    };
  }

 private:
  size_t calls_ = 0;
};

class RecordStoreTest : public testing::Test {
 protected:
  void Fill(RecordStore& store, int first, int count) {
    for (const auto& record : sdk_test::NumberedRecords(first, count)) ASSERT_TRUE(store.AddSerialized(record));
  }
  std::vector<std::string> Staged() { return sdk_test::SplitLines(sdk_test::ReadFile(staging_)); }

  sdk_test::TempFolder folder_;
  std::string staging_ = folder_.File("staging.txt");
  ScriptedSend send_;
};

TEST_F(RecordStoreTest, CapacityDropsTheOldestRecord) {
  RecordStore store(staging_, send_.Function());
  Fill(store, 0, 1025);
  const auto queued = store.Snapshot();
  ASSERT_EQ(queued.size(), 1024u);
  EXPECT_EQ(queued.front(), "{\"n\":1}");
  EXPECT_EQ(queued.back(), "{\"n\":1024}");
}

TEST_F(RecordStoreTest, FlushAllSendsBatchesOfThirtyInQueueOrder) {
  RecordStore store(staging_, send_.Function());
  Fill(store, 0, 75);
  EXPECT_TRUE(store.FlushAll());
  ASSERT_EQ(send_.batches.size(), 3u);
  EXPECT_EQ(send_.batches[0], collect_sdk::BuildBatchJson(sdk_test::NumberedRecords(0, 30)));
  EXPECT_EQ(send_.batches[1], collect_sdk::BuildBatchJson(sdk_test::NumberedRecords(30, 30)));
  EXPECT_EQ(send_.batches[2], collect_sdk::BuildBatchJson(sdk_test::NumberedRecords(60, 15)));
  EXPECT_EQ(store.Size(), 0u);
  EXPECT_TRUE(store.FlushBatch());  // empty queue: nothing to send, success
  EXPECT_EQ(send_.batches.size(), 3u);
}

TEST_F(RecordStoreTest, FailedBatchGoesBackInOrderAndStopsTheFlush) {
  RecordStore store(staging_, send_.Function());
  send_.script = {"ok", "fail"};
  Fill(store, 0, 75);
  EXPECT_FALSE(store.FlushAll());
  EXPECT_EQ(send_.batches.size(), 2u);
  EXPECT_EQ(store.Snapshot(), sdk_test::NumberedRecords(30, 45));
}

// A throw while the batch is out of the queue used to lose the batch; it
// now goes back exactly like a failed send.
TEST_F(RecordStoreTest, ExceptionWhileBatchIsOutPutsItBack) {
  RecordStore store(staging_, send_.Function());
  send_.script = {"throw"};
  Fill(store, 0, 40);
  testing::internal::CaptureStderr();
  EXPECT_FALSE(store.FlushBatch());
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Exception when flush failed: (boom) ");
  EXPECT_EQ(store.Snapshot(), sdk_test::NumberedRecords(0, 40));
  EXPECT_TRUE(store.FlushAll());
  EXPECT_EQ(send_.batches.size(), 3u);
}

TEST_F(RecordStoreTest, PutBackWithLittleRoomKeepsTheNewestOfTheBatch) {
  RecordStore* storePtr = nullptr;
  // While the first batch is out, the queue refills to 1014: 10 places left.
  RecordStore store(staging_, [&](const std::string&, long) {
    for (const auto& record : sdk_test::NumberedRecords(1000, 1014)) storePtr->AddSerialized(record);
    return false;
  });
  storePtr = &store;
  Fill(store, 0, 30);
  EXPECT_FALSE(store.FlushBatch());
  const auto queued = store.Snapshot();
  ASSERT_EQ(queued.size(), 1024u);
  const auto newest = sdk_test::NumberedRecords(20, 10);
  EXPECT_EQ(std::vector<std::string>(queued.begin(), queued.begin() + 10), newest);
  EXPECT_EQ(queued[10], "{\"n\":1000}");
}

TEST_F(RecordStoreTest, StagingLoadKeepsValidLinesInFrontOnce) {
  sdk_test::WriteFile(staging_, "{\"s\":1}\r\n\r\nplain text\r\n{\"s\":2}\r\n{\"s\":3}\n{broken\r\n{\"s\":4}\r\n{\"s\":5}");
  RecordStore store(staging_, send_.Function());
  send_.script = {"fail"};
  Fill(store, 0, 2);
  EXPECT_FALSE(store.FlushBatch());
  const std::vector<std::string> expected = {"{\"s\":1}", "{\"s\":2}", "{\"s\":3}", "{\"s\":4}",
                                             "{\"s\":5}", "{\"n\":0}", "{\"n\":1}"};
  EXPECT_EQ(store.Snapshot(), expected);
  EXPECT_EQ(sdk_test::ReadFile(staging_), "");  // emptied after loading
  sdk_test::WriteFile(staging_, "{\"late\":1}\r\n");
  EXPECT_TRUE(store.FlushAll());  // not read a second time
  EXPECT_EQ(store.Size(), 0u);
  EXPECT_EQ(send_.batches.back().find("late"), std::string::npos);
}

TEST_F(RecordStoreTest, StagingLoadKeepsOnlyTheLastLinesThatFit) {
  std::string bytes;
  for (const auto& line : sdk_test::NumberedRecords(0, 2000)) bytes += line + "\r\n";
  sdk_test::WriteFile(staging_, bytes);
  {
    RecordStore store(staging_, send_.Function());
    send_.script.assign(1, "fail");
    EXPECT_FALSE(store.FlushBatch());
    const auto queued = store.Snapshot();
    ASSERT_EQ(queued.size(), 1024u);
    EXPECT_EQ(queued.front(), "{\"n\":976}");
    EXPECT_EQ(queued.back(), "{\"n\":1999}");
  }
  // The destructor stores the queue: CR LF after every record.
  const std::string stored = sdk_test::ReadFile(staging_);
  EXPECT_EQ(stored.substr(0, 11), "{\"n\":976}\r\n");
  EXPECT_EQ(Staged().size(), 1024u);
}

TEST_F(RecordStoreTest, DestructionWithoutFlushMergesStagedAndQueuedRecords) {
  sdk_test::WriteFile(staging_, "{\"old\":1}\r\n");
  {
    RecordStore store(staging_, send_.Function());
    Fill(store, 0, 2);
  }
  EXPECT_EQ(Staged(), (std::vector<std::string>{"{\"old\":1}", "{\"n\":0}", "{\"n\":1}"}));
  EXPECT_TRUE(send_.batches.empty());
}

// Storing replaces the file (temporary file + rename) instead of rewriting
// it in place: a second name for the old file still shows the old records,
// as a crash in the middle of storing would leave them.
TEST_F(RecordStoreTest, StoringReplacesTheStagingFileAtomically) {
  sdk_test::WriteFile(staging_, "{\"old\":1}\r\n");
  const std::string witness = folder_.File("witness.txt");
  std::error_code error;
  std::filesystem::create_hard_link(std::filesystem::u8path(staging_), std::filesystem::u8path(witness), error);
  if (error) GTEST_SKIP() << "no hard links here: " << error.message();
  {
    RecordStore store(staging_, send_.Function());
    Fill(store, 0, 3);
  }
  EXPECT_EQ(Staged().size(), 4u);
  EXPECT_EQ(sdk_test::ReadFile(witness), "{\"old\":1}\r\n");
  // No temporary file is left behind.
  size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::u8path(folder_.Path()))) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 2u);
}

TEST_F(RecordStoreTest, UnwritableStagingPathLosesNothingElseAndReportsNothing) {
  const std::string missingFolder = folder_.File("no/such/folder/staging.txt");
  RecordStore store(missingFolder, send_.Function());
  Fill(store, 0, 1);
  testing::internal::CaptureStderr();
  EXPECT_FALSE(store.Stage());
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(store.Size(), 1u);
}

}  // namespace

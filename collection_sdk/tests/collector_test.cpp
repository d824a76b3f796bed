// End to end against the real local collector (tools/collector), run as a
// child process with the fault each test asks for.
#include <curl/curl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "collect_sdk/crash_path.h"
#include "collect_sdk/flush_policy.h"
#include "collect_sdk/http_sender.h"
#include "collect_sdk/record_store.h"
#include "collect_sdk/sdk.h"
#include "collector_process.h"
#include "test_support.h"

namespace {

using collect_sdk::PropertiesNode;
using collect_sdk::RecordStore;
using collect_sdk::Sdk;
using collect_sdk_testing::CollectorOptions;
using collect_sdk_testing::CollectorProcess;
using collect_sdk_testing::JsonIntField;

class CurlEnvironment : public testing::Environment {
 public:
  void SetUp() override { curl_global_init(CURL_GLOBAL_ALL); }
  void TearDown() override { curl_global_cleanup(); }
};
const auto* const kCurl = testing::AddGlobalTestEnvironment(new CurlEnvironment);

class CollectorTest : public testing::Test {
 protected:
  void StartCollector(const CollectorOptions& options = CollectorOptions()) {
    ASSERT_TRUE(collector_.Start(folder_.Path(), options)) << collector_.Error();
  }
  static void TrackNumbered(int first, int count) {
    for (int i = first; i < first + count; ++i) {
      PropertiesNode properties;
      properties.SetNumber("i", i);
      ASSERT_TRUE(Sdk::Track("Numbered", properties));
    }
  }
  // The "i" property of every record the collector kept.
  std::vector<long> ReceivedNumbers() {
    std::vector<long> numbers;
    for (const auto& record : collector_.Records()) numbers.push_back(JsonIntField(record, "i"));
    return numbers;
  }
  static std::vector<long> Range(long first, long count) {
    std::vector<long> out;
    for (long i = first; i < first + count; ++i) out.push_back(i);
    return out;
  }
  // Store records into the raw RecordStore of a test.
  static void Fill(RecordStore& store, int first, int count) {
    for (int i = first; i < first + count; ++i) {
      ASSERT_TRUE(store.AddSerialized("{\"i\":" + std::to_string(i) + "}"));
    }
  }

  sdk_test::TempFolder folder_;
  std::string staging_ = folder_.File("staging.txt");
  CollectorProcess collector_;
};

TEST_F(CollectorTest, SeventyFiveRecordsArriveAsThreeOrderedBatchesOnTheWireFormat) {
  StartCollector();
  ASSERT_TRUE(Sdk::Init(staging_, collector_.Url(), "device-1", false));
  TrackNumbered(0, 75);
  EXPECT_TRUE(Sdk::FlushAll());
  EXPECT_EQ(Sdk::QueuedRecordCount(), 0u);
  Sdk::Shutdown();

  const auto requests = collector_.RequestLog();
  ASSERT_EQ(requests.size(), 3u);
  const long sizes[] = {30, 30, 15};
  for (size_t i = 0; i < 3; ++i) {
    const std::string& r = requests[i];
    EXPECT_EQ(JsonIntField(r, "records"), sizes[i]) << r;
    EXPECT_EQ(JsonIntField(r, "status"), 200) << r;
    EXPECT_NE(r.find("\"user_agent\": \"KvCollect CPP SDK 0.9\""), std::string::npos) << r;
    EXPECT_NE(r.find("\"content_type\": \"application/x-www-form-urlencoded\""), std::string::npos) << r;
    EXPECT_NE(r.find("\"path\": \"/sa\", \"query\": \"project=pc\""), std::string::npos) << r;
    EXPECT_NE(r.find("\"body_head\": \"data_list=H4sI"), std::string::npos) << r;
    EXPECT_NE(r.find("&gzip=1\""), std::string::npos) << r;
  }
  EXPECT_EQ(ReceivedNumbers(), Range(0, 75));
  const std::string first = collector_.Records().front();
  EXPECT_EQ(first.rfind("{\"_track_id\":", 0), 0u) << first;
  EXPECT_NE(first.find(",\"distinct_id\":\"device-1\",\"event\":\"Numbered\",\"lib\":{"), std::string::npos);
  EXPECT_EQ(sdk_test::ReadFile(staging_), "");
}

TEST_F(CollectorTest, FailedSecondBatchReturnsToTheFrontAndIsSentNextTime) {
  CollectorOptions options;
  options.script = "ok,500";
  StartCollector(options);
  RecordStore store(collector_.Url(), staging_);
  Fill(store, 0, 75);
  testing::internal::CaptureStderr();
  EXPECT_FALSE(store.FlushAll());
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "KvCollect SDK send failed: \n");
  EXPECT_EQ(ReceivedNumbers(), Range(0, 30));
  ASSERT_EQ(store.Size(), 45u);
  EXPECT_EQ(store.Snapshot().front(), "{\"i\":30}");
  EXPECT_TRUE(store.FlushAll());
  EXPECT_EQ(ReceivedNumbers(), Range(0, 75));
}

TEST_F(CollectorTest, EveryFaultCountsAsAFailedBatch) {
  CollectorOptions options;
  options.hangSeconds = 5;  // past the 3 s transfer timeout
  StartCollector(options);
  RecordStore store(collector_.Url(), staging_);
  Fill(store, 0, 2);
  for (const std::string mode : {"500", "204", "close", "hang"}) {
    ASSERT_TRUE(collector_.Queue(mode, 1));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(store.FlushBatch()) << mode;
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.rfind("KvCollect SDK send failed: ", 0), 0u) << mode << ": " << err;
    EXPECT_EQ(store.Snapshot(), (std::vector<std::string>{"{\"i\":0}", "{\"i\":1}"})) << mode;
  }
  EXPECT_TRUE(collector_.Records().empty());
  EXPECT_TRUE(store.FlushBatch());
  EXPECT_EQ(ReceivedNumbers(), Range(0, 2));
}

TEST_F(CollectorTest, UnreachableEndpointGivesMinusOneWithLibcurlsText) {
  StartCollector();
  const std::string url = collector_.Url();
  collector_.Stop();  // nothing listens on that port any more
  const collect_sdk::HttpResponse response = collect_sdk::HttpSender::Post(url, "", "data_list=x&gzip=1", {});
  EXPECT_EQ(response.status, -1);
  EXPECT_EQ(response.body, curl_easy_strerror(CURLE_COULDNT_CONNECT));
}

TEST_F(CollectorTest, RecordsStagedWhileDownAreSentByTheNextRun) {
  StartCollector();
  const std::string url = collector_.Url();
  collector_.Queue("500", 100);
  {
    ASSERT_TRUE(Sdk::Init(staging_, url, "device-1", false));
    collect_sdk::FlushPolicy policy;
    TrackNumbered(0, 3);
    policy.FlushLater();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(policy.FlushAtDestruction());  // three attempts, all refused
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(policy.Pending(), 1);
    Sdk::Shutdown();
  }
  EXPECT_EQ(sdk_test::SplitLines(sdk_test::ReadFile(staging_)).size(), 3u);
  collector_.Stop();
  StartCollector();
  {
    ASSERT_TRUE(Sdk::Init(staging_, collector_.Url(), "device-1", false));
    TrackNumbered(3, 1);
    EXPECT_TRUE(Sdk::FlushAll());
    Sdk::Shutdown();
  }
  EXPECT_EQ(ReceivedNumbers(), Range(0, 4));
  EXPECT_EQ(sdk_test::ReadFile(staging_), "");
}

TEST_F(CollectorTest, FlushNowSendsOnlyWhenSomethingIsPending) {
  StartCollector();
  ASSERT_TRUE(Sdk::Init(staging_, collector_.Url(), "device-1", false));
  collect_sdk::FlushPolicy policy;
  TrackNumbered(0, 2);
  EXPECT_FALSE(policy.FlushNow());  // counter 0: nothing goes out
  EXPECT_TRUE(collector_.RequestLog().empty());
  policy.FlushLater();
  policy.FlushLater();
  EXPECT_EQ(policy.Pending(), 2);
  TrackNumbered(2, 1);
  EXPECT_TRUE(policy.FlushNow());
  EXPECT_EQ(policy.Pending(), 0);
  EXPECT_EQ(ReceivedNumbers(), Range(0, 3));
  Sdk::Shutdown();
}

// The crash handler's flush against a collector that never answers: it
// gives up within its budget and the records wait in the staging file.
TEST_F(CollectorTest, CrashPathFlushAgainstAHangingCollectorStages) {
  CollectorOptions options;
  options.mode = "hang";
  options.hangSeconds = 10;
  StartCollector(options);
  ASSERT_TRUE(Sdk::Init(staging_, collector_.Url(), "device-1", false));
  collect_sdk::FlushPolicy policy;
  policy.AddPending(1);
  {
    collect_sdk::CrashPathScope crashPath(1500);
    PropertiesNode properties;
    properties.SetString("app_crashed_reason", "SIGSEGV");
    ASSERT_TRUE(Sdk::Track("AppCrashed", properties));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(policy.FlushNow());
    testing::internal::GetCapturedStderr();
  }
  const auto staged = sdk_test::SplitLines(sdk_test::ReadFile(staging_));
  ASSERT_EQ(staged.size(), 1u);
  EXPECT_NE(staged[0].find("\"app_crashed_reason\":\"SIGSEGV\""), std::string::npos);
  Sdk::Shutdown();
}

}  // namespace

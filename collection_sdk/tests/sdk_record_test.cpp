// Records built by the Sdk: layout, key order, checks and identity, read
// back from the staging file the Sdk writes (no network involved).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "collect_sdk/sdk.h"
#include "test_support.h"

namespace {

using collect_sdk::PropertiesNode;
using collect_sdk::Sdk;

class SdkRecords : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Sdk::Init(staging_, "http://127.0.0.1:9/sa?project=pc", "device-1", false));
  }
  void TearDown() override { Sdk::Shutdown(); }

  // The records queued so far, oldest first.
  std::vector<std::string> Queued() {
    EXPECT_TRUE(Sdk::Stage());
    return sdk_test::SplitLines(sdk_test::ReadFile(staging_));
  }
  std::string Last() {
    const auto records = Queued();
    return records.empty() ? std::string() : records.back();
  }

  sdk_test::TempFolder folder_;
  std::string staging_ = folder_.File("staging.txt");
};

// Strips the two values that change per run: "_track_id" and "time".
std::string Stable(const std::string& record) {
  std::string out = record;
  for (const std::string key : {"\"_track_id\":", "\"time\":"}) {
    const size_t at = out.find(key);
    if (at == std::string::npos) continue;
    size_t end = at + key.size();
    while (end < out.size() && (isdigit(static_cast<unsigned char>(out[end])) || out[end] == '-')) ++end;
    out.replace(at + key.size(), end - at - key.size(), "#");
  }
  return out;
}

TEST_F(SdkRecords, TrackRecordHasItsKeysInOrderWithSuperProperties) {
  PropertiesNode super;
  super.SetString("$os", "Linux");
  Sdk::MergeSuperProperties(super);
  PropertiesNode properties;
  properties.SetString("kv_name", "btn");
  properties.SetString("$os", "caller wins");
  ASSERT_TRUE(Sdk::Track("KvEventClick", properties));
  EXPECT_EQ(Stable(Last()),
            "{\"_track_id\":#,\"distinct_id\":\"device-1\",\"event\":\"KvEventClick\","
            "\"lib\":{\"$lib\":\"cpp\",\"$lib_method\":\"code\",\"$lib_version\":\"0.9\"},"
            "\"properties\":{\"$lib\":\"cpp\",\"$lib_version\":\"0.9\",\"$os\":\"caller wins\","
            "\"kv_name\":\"btn\"},\"time\":#,\"type\":\"track\"}");
}

TEST_F(SdkRecords, TimeAndProjectMoveOutOfTheProperties) {
  PropertiesNode properties;
  properties.SetDateTime("$time", 1700000000, 123);
  properties.SetString("$project", "proj");
  ASSERT_TRUE(Sdk::Track("E", properties));
  const std::string record = Last();
  EXPECT_NE(record.find("\"time\":1700000000123,"), std::string::npos) << record;
  EXPECT_NE(record.find("\"project\":\"proj\",\"properties\":{\"$lib\":\"cpp\",\"$lib_version\":\"0.9\"}"),
            std::string::npos)
      << record;
  EXPECT_EQ(record.find("$time"), std::string::npos);

  PropertiesNode emptyProject;
  emptyProject.SetString("$project", "");
  ASSERT_TRUE(Sdk::Track("E", emptyProject));
  EXPECT_EQ(Last().find("project"), std::string::npos);
}

TEST_F(SdkRecords, RefusedCallsQueueNothingAndSayWhy) {
  const struct {
    const char* event;
    PropertiesNode properties;
    const char* message;
  } cases[] = {
      {"9lives", {}, "The Event Name need to be a valid variable name."},
      {"a-b", {}, "The Event Name need to be a valid variable name."},
      {"ok", [] { PropertiesNode n; n.SetBool("bad key", true); return n; }(),
       "The Property Key need to be a valid variable name."},
      {"ok", [] { PropertiesNode n; n.SetString("$time", "x"); return n; }(),
       "The property '$time' should be DateTime type."},
  };
  for (const auto& c : cases) {
    testing::internal::CaptureStderr();
    EXPECT_FALSE(Sdk::Track(c.event, c.properties)) << c.event;
    EXPECT_EQ(testing::internal::GetCapturedStderr(), c.message) << c.event;
  }
  EXPECT_TRUE(Queued().empty());
}

TEST_F(SdkRecords, SignUpCarriesOriginalIdAndSwitchesIdentity) {
  ASSERT_TRUE(Sdk::TrackSignUp("user-42"));
  EXPECT_EQ(Sdk::GetDistinctId(), "user-42");
  EXPECT_TRUE(Sdk::IsLoginId());
  ASSERT_TRUE(Sdk::Track("After", PropertiesNode()));
  const auto records = Queued();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(Stable(records[0]),
            "{\"_track_id\":#,\"distinct_id\":\"user-42\",\"event\":\"$SignUp\","
            "\"lib\":{\"$lib\":\"cpp\",\"$lib_method\":\"code\",\"$lib_version\":\"0.9\"},"
            "\"original_id\":\"device-1\",\"properties\":{\"$lib\":\"cpp\",\"$lib_version\":\"0.9\"},"
            "\"time\":#,\"type\":\"track_signup\"}");
  EXPECT_NE(records[1].find("\"distinct_id\":\"user-42\""), std::string::npos);
  EXPECT_NE(records[1].find("\"$is_login_id\":true"), std::string::npos);
}

TEST_F(SdkRecords, ProfileRecordsHaveNoEventAndNoSuperProperties) {
  ASSERT_TRUE(Sdk::ProfileSet("kv_os", std::string("Linux")));
  ASSERT_TRUE(Sdk::ProfileSetOnce("count", 3));
  ASSERT_TRUE(Sdk::ProfileIncrement("kv_paid_count", 1));
  ASSERT_TRUE(Sdk::ProfileSet("amount", 2.5));
  ASSERT_TRUE(Sdk::ProfileAppend("tags", "t1"));
  const auto records = Queued();
  ASSERT_EQ(records.size(), 5u);
  const char* expected[] = {
      "\"properties\":{\"kv_os\":\"Linux\"},\"time\":#,\"type\":\"profile_set\"}",
      "\"properties\":{\"count\":3},\"time\":#,\"type\":\"profile_set_once\"}",
      "\"properties\":{\"kv_paid_count\":1},\"time\":#,\"type\":\"profile_increment\"}",
      "\"properties\":{\"amount\":2.5},\"time\":#,\"type\":\"profile_set\"}",
      "\"properties\":{\"tags\":[\"t1\"]},\"time\":#,\"type\":\"profile_append\"}",
  };
  for (size_t i = 0; i < 5; ++i) {
    const std::string record = Stable(records[i]);
    EXPECT_EQ(record.find("\"event\""), std::string::npos) << record;
    EXPECT_EQ(record.find("original_id"), std::string::npos) << record;
    EXPECT_NE(record.find(std::string("\"lib\":{\"$lib\":\"cpp\",\"$lib_method\":\"code\",\"$lib_version\":\"0.9\"},") +
                          expected[i]),
              std::string::npos)
        << record;
  }
}

TEST_F(SdkRecords, InstallationSourceDefaultsToEmptyAndCallerWins) {
  ASSERT_TRUE(Sdk::TrackInstallation("KvEventActivity", PropertiesNode()));
  PropertiesNode source;
  source.SetString("$ios_install_source", "android_id=123");
  ASSERT_TRUE(Sdk::TrackInstallation("KvEventActivity", source));
  const auto records = Queued();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_NE(records[0].find("\"$ios_install_source\":\"\""), std::string::npos);
  EXPECT_NE(records[1].find("\"$ios_install_source\":\"android_id=123\""), std::string::npos);
}

TEST_F(SdkRecords, SecondInitKeepsTheFirstInstance) {
  EXPECT_TRUE(Sdk::Init(folder_.File("other.txt"), "http://127.0.0.1:1/x", "device-2", true));
  EXPECT_EQ(Sdk::GetDistinctId(), "device-1");
  EXPECT_FALSE(Sdk::IsLoginId());
  ASSERT_TRUE(Sdk::Track("E", PropertiesNode()));
  EXPECT_EQ(Queued().size(), 1u);  // still the first staging path
}

TEST(SdkLifecycle, InvalidDistinctIdCreatesNothingAndCallsAreIgnored) {
  testing::internal::CaptureStderr();
  EXPECT_FALSE(Sdk::Init("unused.txt", "http://127.0.0.1:9/", "", false));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "The Distinct ID is empty.\n");
  EXPECT_FALSE(Sdk::IsInitialized());
  EXPECT_FALSE(Sdk::Track("E", PropertiesNode()));
  EXPECT_FALSE(Sdk::FlushAll());
  Sdk::Shutdown();  // harmless without an instance
}

TEST(SdkLifecycle, ShutdownStagesUnsentRecordsForTheNextRun) {
  sdk_test::TempFolder folder;
  const std::string staging = folder.File("staging.txt");
  ASSERT_TRUE(Sdk::Init(staging, "http://127.0.0.1:9/", "d", false));
  ASSERT_TRUE(Sdk::Track("First", PropertiesNode()));
  Sdk::Shutdown();
  EXPECT_FALSE(Sdk::IsInitialized());
  const std::string bytes = sdk_test::ReadFile(staging);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
  ASSERT_TRUE(Sdk::Init(staging, "http://127.0.0.1:9/", "d", false));
  ASSERT_TRUE(Sdk::Track("Second", PropertiesNode()));
  EXPECT_EQ(Sdk::QueuedRecordCount(), 1u);  // the staged one is read by the first flush
  Sdk::Shutdown();
  const auto lines = sdk_test::SplitLines(sdk_test::ReadFile(staging));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_NE(lines[0].find("\"event\":\"First\""), std::string::npos);
  EXPECT_NE(lines[1].find("\"event\":\"Second\""), std::string::npos);
}

TEST(RecordId, HasTwoThreeAndFourDigitParts) {
  for (int i = 0; i < 200; ++i) {
    const int64_t id = collect_sdk::NewRecordId(1700000001234LL);
    EXPECT_GE(id, 0);
    EXPECT_LE(id, 989989999);
    EXPECT_EQ(id % 10000, 1234);
    EXPECT_LE(id / 10000 % 1000, 999);
    EXPECT_LE(id / 10000000, 98);  // rand() % 99 + 100 keeps 00..98
  }
}

}  // namespace

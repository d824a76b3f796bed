// The process-wide handle and the wrapper.
#include <gtest/gtest.h>

#include "kv_tracker_wrapper.h"
#include "tracker_fixture.h"

using namespace kelvo::tracker;
using namespace tracker_test;

namespace {

// An inner tracker whose every call throws; it may or may not have a logger.
class ThrowingTracker : public KvTrackerImpl {
 public:
  explicit ThrowingTracker(bool withLogger) : KvTrackerImpl(TrackerConfig{}), withLogger_(withLogger) {}
  void trackTask(const KvEventTask&, const KvContextProperties&) override { throw std::runtime_error("x"); }
  void trackCrash(const std::string&) override { throw 42; }
  TrackLogger* getLogger() override { return withLogger_ ? &logger_ : nullptr; }

 private:
  bool withLogger_;
  NativeTrackLogger logger_;
};

}  // namespace

TEST(TrackerHandle, FailedInitialisationStillGivesAQuietHandle) {
  TrackerConfig config = MakeConfig();
  config.appStore.clear();
  createTracker(config);
  std::shared_ptr<KvTracker> t = getTracker();
  ASSERT_TRUE(t);
  EXPECT_EQ(t->getLogger(), nullptr);
  KvEventTask task;  // empty name: throws inside, contained by the wrapper
  t->trackTask(task, KvContextProperties());
  t->trackCrash("c");
  EXPECT_EQ(t->getPrimaryDistinctId(), "");
  t.reset();
  releaseTracker();
  EXPECT_FALSE(getTracker());
  releaseTracker();  // a second release is harmless
}

TEST(TrackerHandle, WorkingTrackerBehindTheWrapper) {
  const TrackerConfig config = MakeConfig();
  createTracker(config);
  std::shared_ptr<KvTracker> t = getTracker();
  ASSERT_TRUE(t);
  EXPECT_EQ(t->getLogger(), nullptr);  // the wrapper never exposes the logger
  EXPECT_EQ(t->getPrimaryDistinctId().size(), 36u);
  KvEventClick click;
  click.name = "c";
  t->trackClick(click, KvContextProperties());
  t.reset();
  releaseTracker();
  const TrackerPaths p = ResolveTrackerPaths(Utils::Utf8ToWide(config.appName), L"");
  EXPECT_EQ(SplitLines(ReadText(p.stagingFile)).size(), 1u);
}

TEST(TrackerWrapper, ContainsEveryException) {
  for (bool withLogger : {false, true}) {
    KvTrackerWrapper wrapper(std::make_unique<ThrowingTracker>(withLogger));
    EXPECT_NO_THROW(wrapper.trackTask(KvEventTask{}, KvContextProperties()));
    EXPECT_NO_THROW(wrapper.trackCrash("x"));
    EXPECT_EQ(wrapper.getLogger(), nullptr);
  }
  KvTrackerWrapper empty(nullptr);
  EXPECT_NO_THROW(empty.trackCrash("x"));
  EXPECT_EQ(empty.getPrimaryDistinctId(), "");
}

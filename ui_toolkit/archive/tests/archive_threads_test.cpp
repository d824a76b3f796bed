// Many threads reading one freshly opened archive at once: the first reads
// race to decode the blocks, which must happen once and serve everyone the
// same correct bytes.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "fixtures.h"
#include "skinui/archive/seven_zip_archive.h"

namespace skinui {
namespace {

void ReadConcurrently(const std::string& fixture) {
  const std::vector<std::uint8_t> bytes = testing::ReadFixture(fixture);
  const std::vector<std::string>& names = testing::SkinFileNames();
  std::vector<std::vector<std::uint8_t>> expected;
  for (const std::string& name : names) expected.push_back(testing::ReadFixture("skin/" + name));

  constexpr int kThreads = 6;
  constexpr int kRounds = 8;
  for (int round = 0; round < kRounds; ++round) {
    SevenZipOpenResult opened = SevenZipArchive::Open(bytes.data(), bytes.size());
    ASSERT_EQ(opened.error, SkinOpenError::kOk) << opened.text;
    const SevenZipArchive& archive = *opened.archive;
    std::atomic<int> ready{0};
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
      threads.emplace_back([&, t] {
        ready.fetch_add(1);
        while (ready.load() < kThreads) std::this_thread::yield();  // start together
        for (std::size_t k = 0; k < names.size() * 3; ++k) {
          const std::size_t i = (k + static_cast<std::size_t>(t) * 3) % names.size();
          std::vector<std::uint8_t> out;
          if (archive.Read(names[i], &out) != SkinReadResult::kOk || out != expected[i]) {
            wrong.fetch_add(1);
          }
        }
      });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(wrong.load(), 0) << fixture << " round " << round;
  }
}

TEST(SevenZipThreadsTest, SolidBlockDecodesOnceForAllReaders) { ReadConcurrently("skin_solid.7z"); }

TEST(SevenZipThreadsTest, SeparateBlocksDecodeInParallel) { ReadConcurrently("skin_lzma_blocks.7z"); }

}  // namespace
}  // namespace skinui

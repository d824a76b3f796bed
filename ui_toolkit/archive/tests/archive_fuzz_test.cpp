// Damaged archives: every truncation of a small archive, thousands of
// deterministic bit flips and byte changes, and header changes whose CRCs
// are recomputed so that they reach the header parser itself. Each must end
// in an error or in correct data, never in a crash (these also run under
// ASan+UBSan).
#include <gtest/gtest.h>

#include <cstdio>

#include <7zCrc.h>

#include "fixtures.h"
#include "skinui/archive/seven_zip_archive.h"

namespace skinui {
namespace {

// Deterministic pseudo-random numbers (xorshift32), so failures repeat.
class Random {
 public:
  explicit Random(std::uint32_t seed) : state_(seed ? seed : 1) {}
  std::uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  std::size_t Below(std::size_t n) { return Next() % n; }

 private:
  std::uint32_t state_;
};

struct Original {
  std::vector<std::uint8_t> archive;
  std::vector<std::vector<std::uint8_t>> files;  // in SmallFileNames() order
};

const Original& Small() {
  static const Original original = [] {
    Original o;
    o.archive = testing::ReadFixture("small.7z");
    for (const std::string& name : testing::SmallFileNames()) {
      o.files.push_back(testing::ReadFixture("small/" + name));
    }
    return o;
  }();
  return original;
}

// Opens the bytes; when that works, reads every file and every listed name.
// A read may fail but must never return bytes other than the original's.
// Returns whether the archive opened.
bool OpenAndCheck(const std::vector<std::uint8_t>& bytes, bool expect_exact) {
  SevenZipOpenResult opened = SevenZipArchive::Open(bytes.data(), bytes.size());
  if (opened.error != SkinOpenError::kOk) {
    EXPECT_EQ(opened.archive, nullptr);
    return false;
  }
  const std::vector<std::string>& names = testing::SmallFileNames();
  for (std::size_t i = 0; i < names.size(); ++i) {
    std::vector<std::uint8_t> out;
    const SkinReadResult result = opened.archive->Read(names[i], &out);
    if (result == SkinReadResult::kOk && expect_exact) {
      EXPECT_EQ(out, Small().files[i]) << names[i];
    }
  }
  for (const std::string& name : opened.archive->FileNames()) {
    std::vector<std::uint8_t> out;
    opened.archive->Read(name, &out);
  }
  return true;
}

TEST(SevenZipFuzzTest, FixtureIsIntact) {
  ASSERT_FALSE(Small().archive.empty());
  EXPECT_TRUE(OpenAndCheck(Small().archive, true));
  SevenZipOpenResult opened = SevenZipArchive::Open(Small().archive);
  ASSERT_EQ(opened.error, SkinOpenError::kOk);
  for (std::size_t i = 0; i < testing::SmallFileNames().size(); ++i) {
    std::vector<std::uint8_t> out;
    ASSERT_EQ(opened.archive->Read(testing::SmallFileNames()[i], &out), SkinReadResult::kOk);
    EXPECT_EQ(out, Small().files[i]);
  }
}

TEST(SevenZipFuzzTest, EveryTruncationIsRefused) {
  const std::vector<std::uint8_t>& full = Small().archive;
  for (std::size_t length = 0; length < full.size(); ++length) {
    const std::vector<std::uint8_t> cut(full.begin(), full.begin() + length);
    EXPECT_FALSE(OpenAndCheck(cut, true)) << "opened at length " << length;
  }
}

TEST(SevenZipFuzzTest, BitFlipsAndByteChangesGiveErrorsOrCorrectData) {
  Random random(0x5EED1234);
  int opened = 0;
  for (int round = 0; round < 4000; ++round) {
    std::vector<std::uint8_t> bytes = Small().archive;
    const int changes = 1 + static_cast<int>(random.Below(3));
    for (int c = 0; c < changes; ++c) {
      const std::size_t at = random.Below(bytes.size());
      if (round % 2 == 0) {
        bytes[at] ^= static_cast<std::uint8_t>(1u << random.Below(8));
      } else {
        bytes[at] = static_cast<std::uint8_t>(random.Next());
      }
    }
    if (OpenAndCheck(bytes, true)) ++opened;
  }
  // Changes in the packed data leave the CRC-checked headers readable.
  EXPECT_GT(opened, 0);
  std::printf("changed archives that opened: %d of 4000\n", opened);
}

// Recomputes the start header's CRC and the next header's CRC, so that a
// changed header is parsed instead of being refused by its checksum.
void RepairHeaderCrcs(std::vector<std::uint8_t>* bytes) {
  auto get64 = [&](std::size_t at) {
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i) v = (v << 8) | (*bytes)[at + i];
    return v;
  };
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) (*bytes)[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  const std::uint64_t offset = get64(12);
  const std::uint64_t size = get64(20);
  const std::uint64_t room = bytes->size() - 32;  // the fixture is larger than a start header
  if (offset <= room && size <= room - offset) {
    put32(28, CrcCalc(bytes->data() + 32 + offset, static_cast<std::size_t>(size)));
  }
  put32(8, CrcCalc(bytes->data() + 12, 20));
}

TEST(SevenZipFuzzTest, HeaderChangesWithRepairedCrcsNeverCrash) {
  CrcGenerateTable();
  const std::vector<std::uint8_t>& full = Small().archive;
  std::uint64_t offset = 0;
  for (int i = 7; i >= 0; --i) offset = (offset << 8) | full[12 + i];
  const std::size_t header_start = static_cast<std::size_t>(32 + offset);
  ASSERT_LT(header_start, full.size());
  const std::size_t header_size = full.size() - header_start;

  Random random(0xC0FFEE);
  int opened = 0;
  for (int round = 0; round < 3000; ++round) {
    std::vector<std::uint8_t> bytes = full;
    const int changes = 1 + static_cast<int>(random.Below(2));
    for (int c = 0; c < changes; ++c) {
      // Mostly the header, sometimes the start header's sizes and offsets.
      const std::size_t at = round % 8 == 0 ? 12 + random.Below(16)
                                            : header_start + random.Below(header_size);
      if (random.Below(2)) {
        bytes[at] ^= static_cast<std::uint8_t>(1u << random.Below(8));
      } else {
        bytes[at] = static_cast<std::uint8_t>(random.Next());
      }
    }
    RepairHeaderCrcs(&bytes);
    if (OpenAndCheck(bytes, false)) ++opened;
  }
  // The repaired checksums let some changed headers through to the reader
  // (otherwise this would test the CRC check only), while most are refused.
  EXPECT_GT(opened, 0);
  EXPECT_LT(opened, 3000);
  std::printf("changed headers that opened: %d of 3000\n", opened);
}

}  // namespace
}  // namespace skinui

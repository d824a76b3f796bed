// Opening archives: what the index holds, how blocks are laid out, and the
// error each kind of bad input gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include <7z.h>

#include "fixtures.h"
#include "skinui/archive/seven_zip_archive.h"

namespace skinui {
namespace {

using testing::Bytes;
using testing::ReadFixture;

TEST(SevenZipArchiveTest, IndexListsFilesButNotDirectories) {
  SevenZipOpenResult opened = SevenZipArchive::Open(ReadFixture("skin_solid.7z"));
  ASSERT_EQ(opened.error, SkinOpenError::kOk) << opened.text;
  std::vector<std::string> names = opened.archive->FileNames();
  std::sort(names.begin(), names.end());
  std::vector<std::string> expected = testing::SkinFileNames();
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(names, expected);
  EXPECT_TRUE(opened.archive->Contains("RES\\mainwnd\\BG1.png"));
  EXPECT_FALSE(opened.archive->Contains("res\\mainWnd"));
}

TEST(SevenZipArchiveTest, SolidArchiveIsOneBlockAndPerFileArchiveIsMany) {
  SevenZipOpenResult solid = SevenZipArchive::Open(ReadFixture("skin_solid.7z"));
  SevenZipOpenResult blocks = SevenZipArchive::Open(ReadFixture("skin_lzma_blocks.7z"));
  ASSERT_EQ(solid.error, SkinOpenError::kOk) << solid.text;
  ASSERT_EQ(blocks.error, SkinOpenError::kOk) << blocks.text;
  EXPECT_EQ(solid.archive->BlockCount(), 1u);
  // Every non-empty file has its own block.
  EXPECT_EQ(blocks.archive->BlockCount(), testing::SkinFileNames().size() - 1);
}

TEST(SevenZipArchiveTest, BorrowedBytesAreReadInPlaceAndDescribed) {
  const std::vector<std::uint8_t> bytes = ReadFixture("skin_solid.7z");
  SevenZipOpenResult opened = SevenZipArchive::Open(bytes.data(), bytes.size());
  ASSERT_EQ(opened.error, SkinOpenError::kOk) << opened.text;
  EXPECT_EQ(opened.archive->Describe(), "archive (" + std::to_string(bytes.size()) + " bytes)");
  std::vector<std::uint8_t> out;
  ASSERT_EQ(opened.archive->Read("ExitTipWnd.xml", &out), SkinReadResult::kOk);
  EXPECT_EQ(out, ReadFixture("skin/exitTipWnd.xml"));
}

struct BadInput {
  const char* label;
  std::vector<std::uint8_t> bytes;
  SkinOpenError error;
  int sdk_code;
};

std::vector<std::uint8_t> SignatureOnly() {
  return std::vector<std::uint8_t>(k7zSignature, k7zSignature + k7zSignatureSize);
}

// A whole start header, but the headers it points to are cut away.
std::vector<std::uint8_t> StartHeaderOnly() {
  std::vector<std::uint8_t> bytes = ReadFixture("small.7z");
  bytes.resize(std::min<std::size_t>(bytes.size(), 40));
  return bytes;
}

std::vector<std::uint8_t> WithStartHeaderZeroed() {
  std::vector<std::uint8_t> bytes = ReadFixture("small.7z");
  std::fill(bytes.begin() + 12, bytes.begin() + 32, 0);  // offsets, sizes, CRC
  return bytes;
}

TEST(SevenZipArchiveTest, BadInputGivesItsErrorAndNoArchive) {
  const BadInput cases[] = {
      {"empty", {}, SkinOpenError::kNotAnArchive, SZ_ERROR_NO_ARCHIVE},
      {"text", Bytes("<Window size=\"600,400\"/>"), SkinOpenError::kNotAnArchive,
       SZ_ERROR_NO_ARCHIVE},
      {"zip signature", Bytes("PK\x03\x04 and more bytes than a 7z start header has......"),
       SkinOpenError::kNotAnArchive, SZ_ERROR_NO_ARCHIVE},
      // Too short to hold a start header: nothing says it is an archive.
      {"7z signature only", SignatureOnly(), SkinOpenError::kNotAnArchive, SZ_ERROR_NO_ARCHIVE},
      {"start header only", StartHeaderOnly(), SkinOpenError::kCorrupt, SZ_ERROR_INPUT_EOF},
      {"start header damaged", WithStartHeaderZeroed(), SkinOpenError::kCorrupt, SZ_ERROR_CRC},
      {"AES-encrypted data", ReadFixture("encrypted.7z"), SkinOpenError::kUnsupported,
       SZ_ERROR_UNSUPPORTED},
  };
  for (const BadInput& input : cases) {
    SCOPED_TRACE(input.label);
    SevenZipOpenResult opened = SevenZipArchive::Open(input.bytes);
    EXPECT_EQ(opened.error, input.error);
    EXPECT_EQ(opened.sdk_code, input.sdk_code);
    EXPECT_FALSE(opened.text.empty());
    EXPECT_EQ(opened.archive, nullptr);
  }
}

TEST(SevenZipArchiveTest, NullPointerIsNotAnArchive) {
  SevenZipOpenResult opened = SevenZipArchive::Open(nullptr, 100);
  EXPECT_EQ(opened.error, SkinOpenError::kNotAnArchive);
}

// In a stored archive the file's bytes sit in the archive as they are, so
// one can be changed without touching the CRC-protected headers.
TEST(SevenZipArchiveTest, DamagedFileDataFailsItsCrcCheck) {
  std::vector<std::uint8_t> bytes = ReadFixture("skin_stored.7z");
  const std::vector<std::uint8_t> original = ReadFixture("skin/exitTipWnd.xml");
  ASSERT_FALSE(original.empty());
  auto at = std::search(bytes.begin(), bytes.end(), original.begin(), original.end());
  ASSERT_NE(at, bytes.end());
  at[original.size() / 2] ^= 0x20;

  SevenZipOpenResult opened = SevenZipArchive::Open(std::move(bytes));
  ASSERT_EQ(opened.error, SkinOpenError::kOk) << opened.text;
  std::vector<std::uint8_t> out;
  const SevenZipReadStatus status = opened.archive->ReadDetailed("exitTipWnd.xml", &out);
  EXPECT_EQ(status.result, SkinReadResult::kCorrupt);
  EXPECT_EQ(status.sdk_code, SZ_ERROR_CRC);
  EXPECT_EQ(opened.archive->Read("exitTipWnd.xml", &out), SkinReadResult::kCorrupt);
}

// LZMA2 data damaged in the middle of the solid block: no read ever serves
// wrong bytes, the damage is reported for the files after it, and a failed
// block stays failed.
TEST(SevenZipArchiveTest, DamagedSolidBlockNeverServesWrongBytes) {
  std::vector<std::uint8_t> bytes = ReadFixture("skin_solid.7z");
  ASSERT_GT(bytes.size(), 4000u);
  for (std::size_t i = 2000; i < 2016; ++i) bytes[i] ^= 0xFF;
  SevenZipOpenResult opened = SevenZipArchive::Open(std::move(bytes));
  ASSERT_EQ(opened.error, SkinOpenError::kOk) << opened.text;
  std::vector<SkinReadResult> first;
  for (int round = 0; round < 2; ++round) {
    std::vector<SkinReadResult> results;
    for (const std::string& name : testing::SkinFileNames()) {
      std::vector<std::uint8_t> out;
      results.push_back(opened.archive->Read(name, &out));
      if (results.back() == SkinReadResult::kOk) {
        EXPECT_EQ(out, ReadFixture("skin/" + name)) << name;
      } else {
        EXPECT_EQ(results.back(), SkinReadResult::kCorrupt) << name;
      }
    }
    if (round == 0) first = results;
    EXPECT_EQ(results, first);
  }
  std::vector<std::uint8_t> last;
  EXPECT_EQ(opened.archive->Read("res/mainWnd/bg1.png", &last), SkinReadResult::kCorrupt);
}

}  // namespace
}  // namespace skinui

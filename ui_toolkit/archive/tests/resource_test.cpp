// Resources embedded into this test executable by skinui_embed_resource()
// (tests/CMakeLists.txt): PE resources under Windows, the linked-in
// registry elsewhere; the same look-ups must work on both.
#include <gtest/gtest.h>

#include "fixtures.h"
#include "skinui/archive/resource.h"
#include "skinui/archive/seven_zip_archive.h"

namespace skinui {
namespace {

std::vector<std::uint8_t> ToVector(const ResourceBytes& bytes) {
  return std::vector<std::uint8_t>(bytes.data, bytes.data + bytes.size);
}

TEST(ResourceTest, EmbeddedSkinArchiveIsFoundByTypeAndIdAndOpensInPlace) {
  const std::optional<ResourceBytes> skin = FindResourceBytes(L"SKINRES", 147);
  ASSERT_TRUE(skin.has_value());
  EXPECT_EQ(ToVector(*skin), testing::ReadFixture("skin_solid.7z"));

  const std::optional<ResourceBytes> lower = FindResourceBytes(L"skinres", 147);
  ASSERT_TRUE(lower.has_value());
  EXPECT_EQ(lower->data, skin->data);

  SevenZipOpenResult opened = SevenZipArchive::Open(skin->data, skin->size);
  ASSERT_EQ(opened.error, SkinOpenError::kOk) << opened.text;
  std::vector<std::uint8_t> out;
  ASSERT_EQ(opened.archive->Read("MainWnd.xml", &out), SkinReadResult::kOk);
  EXPECT_EQ(out, testing::ReadFixture("skin/mainWnd.xml"));
}

TEST(ResourceTest, NumericTypeAndEmptyResource) {
  const std::optional<ResourceBytes> numeric = FindResourceBytes(10, 3);
  ASSERT_TRUE(numeric.has_value());
  EXPECT_EQ(ToVector(*numeric), testing::ReadFixture("skin/exitTipWnd.xml"));
  const std::optional<ResourceBytes> by_name = FindResourceBytes(L"#10", 3);
  ASSERT_TRUE(by_name.has_value());
  EXPECT_EQ(by_name->data, numeric->data);

  const std::optional<ResourceBytes> empty = FindResourceBytes(L"EMPTYRES", 1);
  ASSERT_TRUE(empty.has_value());
  EXPECT_EQ(empty->size, 0u);
}

TEST(ResourceTest, AbsentResourcesAreEmpty) {
  EXPECT_FALSE(FindResourceBytes(L"SKINRES", 148).has_value());
  EXPECT_FALSE(FindResourceBytes(L"OTHERRES", 147).has_value());
  EXPECT_FALSE(FindResourceBytes(10, 147).has_value());
}

TEST(ResourceTest, RegistryKeepsTheFirstRegistration) {
  static const std::uint8_t first[] = {1, 2, 3};
  static const std::uint8_t second[] = {4};
  EXPECT_TRUE(RegisterEmbeddedResource(L"TESTRES", 7, first, sizeof first));
  EXPECT_FALSE(RegisterEmbeddedResource(L"testres", 7, second, sizeof second));
  const std::optional<ResourceBytes> found = FindResourceBytes(L"TestRes", 7);
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->data, first);
  EXPECT_EQ(found->size, sizeof first);
}

}  // namespace
}  // namespace skinui

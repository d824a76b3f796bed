// OpenSkinSource picks the source kind from what the path names.
#include <gtest/gtest.h>

#include <fstream>

#include "fixtures.h"
#include "skinui/archive/open_skin_source.h"

namespace skinui {
namespace {

namespace fs = std::filesystem;

TEST(OpenSkinSourceTest, FolderGivesFolderSourceAndFileGivesArchive) {
  SkinSourceOpenResult folder = OpenSkinSource(testing::FixturePath("skin"));
  ASSERT_EQ(folder.error, SkinOpenError::kOk) << folder.text;
  EXPECT_EQ(folder.source->Describe().rfind("folder ", 0), 0u);

  const fs::path archive_path = testing::FixturePath("skin_solid.7z");
  SkinSourceOpenResult archive = OpenSkinSource(archive_path);
  ASSERT_EQ(archive.error, SkinOpenError::kOk) << archive.text;
  EXPECT_EQ(archive.source->Describe(),
            "archive (" + std::to_string(fs::file_size(archive_path)) + " bytes)");

  for (SkinSource* source : {folder.source.get(), archive.source.get()}) {
    std::vector<std::uint8_t> out;
    ASSERT_EQ(source->Read("res\\中文\\图标.txt", &out), SkinReadResult::kOk);
    EXPECT_EQ(out, testing::ReadFixture("skin/res/中文/图标.txt"));
  }
}

TEST(OpenSkinSourceTest, MissingPathAndNonArchiveFileAreErrors) {
  SkinSourceOpenResult missing = OpenSkinSource(testing::FixturePath("no-such-skin.7z"));
  EXPECT_EQ(missing.error, SkinOpenError::kNotFound);
  EXPECT_EQ(missing.source, nullptr);
  EXPECT_NE(missing.text.find("no-such-skin.7z"), std::string::npos);

  SkinSourceOpenResult text = OpenSkinSource(testing::FixturePath("skin/mainWnd.xml"));
  EXPECT_EQ(text.error, SkinOpenError::kNotAnArchive);
  EXPECT_EQ(text.source, nullptr);

  SkinSourceOpenResult encrypted = OpenSkinSource(testing::FixturePath("encrypted.7z"));
  EXPECT_EQ(encrypted.error, SkinOpenError::kUnsupported);
  EXPECT_NE(encrypted.text.find("AES"), std::string::npos) << encrypted.text;
}

}  // namespace
}  // namespace skinui

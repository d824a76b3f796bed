// FolderSource over a real folder: look-ups without case on any file
// system, and the refusals that keep a layout inside the skin folder.
#include <gtest/gtest.h>

#include <fstream>

#include "skinui/archive/folder_source.h"

namespace skinui {
namespace {

namespace fs = std::filesystem;

fs::path U8(const std::string& text) { return fs::u8path(text); }

void WriteFile(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

class FolderSourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = fs::temp_directory_path() /
            ("skinui-folder-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(base_);
    root_ = base_ / "skin";
    WriteFile(root_ / "mainWnd.xml", "layout");
    WriteFile(root_ / U8("res/mainWnd/Bg1.png"), "png bytes");
    WriteFile(root_ / U8("res/中文/图标.png"), "icon");
    WriteFile(root_ / U8("res/Ärger/ÖL.txt"), "latin");
    WriteFile(base_ / "secret.txt", "outside the skin");
  }
  void TearDown() override { fs::remove_all(base_); }

  std::string ReadText(const FolderSource& source, const std::string& path, SkinReadResult* result) {
    std::vector<std::uint8_t> out;
    *result = source.Read(path, &out);
    return std::string(out.begin(), out.end());
  }

  fs::path base_;
  fs::path root_;
};

TEST_F(FolderSourceTest, FindsFilesWithoutCaseAndWithEitherSeparator) {
  const FolderSource source(root_);
  const std::pair<const char*, const char*> cases[] = {
      {"mainWnd.xml", "layout"},
      {"MAINWND.xml", "layout"},
      {"res\\mainWnd\\bg1.png", "png bytes"},
      {"RES/MAINWND/BG1.PNG", "png bytes"},
      {"res//mainWnd/./bg1.png", "png bytes"},
      {"Res\\中文\\图标.PNG", "icon"},
      {"res/äRGER/öl.TXT", "latin"},
  };
  for (const auto& [request, content] : cases) {
    SkinReadResult result;
    EXPECT_EQ(ReadText(source, request, &result), content) << request;
    EXPECT_EQ(result, SkinReadResult::kOk) << request;
  }
}

TEST_F(FolderSourceTest, DirectoriesAndMissingFilesAreNotFound) {
  const FolderSource source(root_);
  for (const char* request : {"res", "RES\\mainWnd", "res/mainWnd/", "missing.png",
                              "res/missing/bg1.png", "mainWnd.xml/x"}) {
    SkinReadResult result;
    ReadText(source, request, &result);
    EXPECT_EQ(result, SkinReadResult::kNotFound) << request;
    EXPECT_EQ(source.Resolve(request).lookup, FolderLookup::kNotFound) << request;
  }
}

TEST_F(FolderSourceTest, RefusesPathsThatLeaveTheFolder) {
  const FolderSource source(root_);
  const std::string outside = (base_ / "secret.txt").u8string();
  for (const std::string& request :
       {std::string("../secret.txt"), std::string("..\\secret.txt"),
        std::string("res/../../secret.txt"), std::string("res\\..\\mainWnd.xml"), outside,
        std::string("/etc/hostname"), std::string("\\secret.txt"), std::string("C:\\secret.txt"),
        std::string("c:secret.txt"), std::string("\\\\server\\share\\secret.txt"),
        std::string("mainWnd.xml:stream"), std::string(""), std::string("./")}) {
    SkinReadResult result;
    EXPECT_EQ(ReadText(source, request, &result), "") << request;
    EXPECT_EQ(result, SkinReadResult::kNotFound) << request;
    EXPECT_EQ(source.Resolve(request).lookup, FolderLookup::kRefused) << request;
  }
}

TEST_F(FolderSourceTest, ResolveNamesTheFileOnDisk) {
  const FolderSource source(root_);
  const FolderResolveResult resolved = source.Resolve("RES\\MAINWND\\bg1.png");
  ASSERT_EQ(resolved.lookup, FolderLookup::kFound);
  EXPECT_TRUE(fs::equivalent(resolved.file, root_ / "res" / "mainWnd" / "Bg1.png"));
  EXPECT_EQ(source.Describe(), "folder " + root_.u8string());
}

}  // namespace
}  // namespace skinui

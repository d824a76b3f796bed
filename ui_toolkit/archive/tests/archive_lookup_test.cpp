// One table of look-ups run against every kind of skin source holding the
// same files: the solid LZMA2 archive, an LZMA archive with a block per
// file, a stored (copy) archive, a delta+LZMA2 archive and the loose folder.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "fixtures.h"
#include "skinui/archive/folder_source.h"
#include "skinui/archive/seven_zip_archive.h"

namespace skinui {
namespace {

using testing::FixturePath;
using testing::ReadFixture;

struct Lookup {
  const char* request;
  std::optional<std::string> stored;  // file the request must find; nullopt: kNotFound
};

const Lookup kLookups[] = {
    {"mainWnd.xml", "mainWnd.xml"},
    {"MainWnd.xml", "mainWnd.xml"},
    {"MAINWND.XML", "mainWnd.xml"},
    {"ExitTipWnd.xml", "exitTipWnd.xml"},
    {"res\\mainWnd\\bg1.png", "res/mainWnd/bg1.png"},
    {"RES/MAINWND/BG1.PNG", "res/mainWnd/bg1.png"},
    {"res\\MessageBoxWnd/ICOWARN.png", "res/MessageBoxWnd/icoWarn.png"},
    {"res\\\\common//closebtnm_1.png", "res/common/closeBtnM_1.png"},
    {"./res/./mainWnd/bg1.png", "res/mainWnd/bg1.png"},
    {"res\\中文\\图标.txt", "res/中文/图标.txt"},
    {"RES\\üNÏCODE\\äöü.TXT", "res/Ünïcode/ÄÖÜ.txt"},
    {"empty.txt", "empty.txt"},
    {"Empty.TXT", "empty.txt"},
    {"res", std::nullopt},
    {"res/mainWnd", std::nullopt},
    {"res/mainWnd/", std::nullopt},
    {"RES\\中文", std::nullopt},
    {"missing.xml", std::nullopt},
    {"mainWnd.xm", std::nullopt},
    {"res/mainWnd/bg1.png/x", std::nullopt},
    {"mainWnd", std::nullopt},
    {"", std::nullopt},
    {"/", std::nullopt},
    {"../mainWnd.xml", std::nullopt},
    {"res/../mainWnd.xml", std::nullopt},
    {"/mainWnd.xml", std::nullopt},
    {"\\mainWnd.xml", std::nullopt},
};

std::unique_ptr<SkinSource> OpenFixture(const std::string& name) {
  if (name == "folder") return std::make_unique<FolderSource>(FixturePath("skin"));
  SevenZipOpenResult opened = SevenZipArchive::Open(ReadFixture(name));
  EXPECT_EQ(opened.error, SkinOpenError::kOk) << name << ": " << opened.text;
  return std::move(opened.archive);
}

class SkinLookupTest : public ::testing::TestWithParam<std::string> {};

TEST_P(SkinLookupTest, EveryRequestFindsItsFileByteExactOrNothing) {
  const std::unique_ptr<SkinSource> source = OpenFixture(GetParam());
  ASSERT_NE(source, nullptr);
  for (const Lookup& lookup : kLookups) {
    SCOPED_TRACE(std::string("request \"") + lookup.request + "\"");
    std::vector<std::uint8_t> out = {0xEE};  // replaced on success, kept otherwise
    const SkinReadResult result = source->Read(lookup.request, &out);
    if (lookup.stored) {
      ASSERT_EQ(result, SkinReadResult::kOk);
      EXPECT_EQ(out, ReadFixture("skin/" + *lookup.stored));
    } else {
      EXPECT_EQ(result, SkinReadResult::kNotFound);
    }
  }
}

TEST_P(SkinLookupTest, EveryPackedFileReadsBackAsOnDisk) {
  const std::unique_ptr<SkinSource> source = OpenFixture(GetParam());
  ASSERT_NE(source, nullptr);
  for (const std::string& name : testing::SkinFileNames()) {
    std::vector<std::uint8_t> out;
    ASSERT_EQ(source->Read(name, &out), SkinReadResult::kOk) << name;
    EXPECT_EQ(out, ReadFixture("skin/" + name)) << name;
  }
}

INSTANTIATE_TEST_SUITE_P(AllSources, SkinLookupTest,
                         ::testing::Values("skin_solid.7z", "skin_lzma_blocks.7z",
                                           "skin_stored.7z", "skin_delta.7z", "folder"),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string name = info.param.substr(0, info.param.find('.'));
                           return name;
                         });

}  // namespace
}  // namespace skinui

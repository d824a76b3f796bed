// Opens whatever a path names as a skin: a folder becomes a FolderSource, a
// file is read whole into memory and opened as a SevenZipArchive (which then
// owns the bytes).
//
// Threads: any thread; blocks on file I/O and header parsing. Never throws.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "skinui/archive/skin_open_error.h"
#include "skinui/skin_source.h"

namespace skinui {

struct SkinSourceOpenResult {
  SkinOpenError error = SkinOpenError::kOk;
  std::string text;                     // the cause, with the path, empty on success
  std::unique_ptr<SkinSource> source;   // set exactly when error == kOk
};

// Pass a std::wstring (or a path built from one) for non-ASCII names on
// Windows: a narrow std::string is taken in the ANSI code page there.
SkinSourceOpenResult OpenSkinSource(const std::filesystem::path& path);

}  // namespace skinui

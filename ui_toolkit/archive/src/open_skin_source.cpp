#include "skinui/archive/open_skin_source.h"

#include <system_error>

#include "file_bytes.h"
#include "skinui/archive/folder_source.h"
#include "skinui/archive/seven_zip_archive.h"

namespace skinui {
namespace {

std::string PathText(const std::filesystem::path& path) {
  try {
    return path.u8string();
  } catch (...) {
    return "(unprintable path)";
  }
}

SkinSourceOpenResult Failure(SkinOpenError error, std::string text) {
  SkinSourceOpenResult result;
  result.error = error;
  result.text = std::move(text);
  return result;
}

SkinSourceOpenResult OpenPath(const std::filesystem::path& path) {
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(path, ec);
  if (std::filesystem::is_directory(status)) {
    SkinSourceOpenResult result;
    result.source = std::make_unique<FolderSource>(path);
    return result;
  }
  if (!std::filesystem::exists(status)) {
    return Failure(SkinOpenError::kNotFound, "no skin at " + PathText(path));
  }
  std::vector<std::uint8_t> bytes;
  if (detail::ReadFileBytes(path, &bytes) != detail::FileReadStatus::kOk) {
    return Failure(SkinOpenError::kIoError, "cannot read " + PathText(path));
  }
  SevenZipOpenResult archive = SevenZipArchive::Open(std::move(bytes));
  if (archive.error != SkinOpenError::kOk) {
    return Failure(archive.error, PathText(path) + ": " + archive.text);
  }
  SkinSourceOpenResult result;
  result.source = std::move(archive.archive);
  return result;
}

}  // namespace

SkinSourceOpenResult OpenSkinSource(const std::filesystem::path& path) {
  try {
    return OpenPath(path);
  } catch (...) {  // out of memory while building the source or a message
    return Failure(SkinOpenError::kOutOfMemory, {});
  }
}

}  // namespace skinui

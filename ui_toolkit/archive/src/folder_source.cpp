#include "skinui/archive/folder_source.h"

#include <optional>
#include <system_error>

#include "file_bytes.h"
#include "path_key.h"

namespace skinui {
namespace {

namespace fs = std::filesystem;

fs::path SegmentPath(std::string_view segment) {
  return fs::u8path(segment.begin(), segment.end());
}

// Finds the entry of `folder` whose name folds to the same key as `segment`.
// An exact name is tried by the caller first.
std::optional<fs::path> FindFolded(const fs::path& folder, std::string_view segment) {
  const std::string wanted = detail::FoldUtf8(segment);
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  if (ec) return std::nullopt;
  for (const fs::directory_iterator end; it != end; it.increment(ec)) {
    if (ec) return std::nullopt;
    const fs::path name = it->path().filename();
    if (detail::FoldUtf8(name.u8string()) == wanted) return it->path();
  }
  return std::nullopt;
}

std::optional<fs::path> ResolveSegments(const fs::path& root,
                                        const std::vector<std::string_view>& segments) {
  fs::path current = root;
  std::error_code ec;
  for (const std::string_view segment : segments) {
    fs::path next = current / SegmentPath(segment);
    if (!fs::exists(next, ec)) {
      std::optional<fs::path> folded = FindFolded(current, segment);
      if (!folded) return std::nullopt;
      next = std::move(*folded);
    }
    current = std::move(next);
  }
  return current;
}

}  // namespace

FolderSource::FolderSource(std::filesystem::path root) : root_(std::move(root)) {}

FolderResolveResult FolderSource::Resolve(std::string_view path) const {
  FolderResolveResult result;
  try {
    const detail::SplitPath split = detail::SplitSkinPath(path);
    if (split.shape != detail::PathShape::kRelative) {
      result.lookup = FolderLookup::kRefused;
      return result;
    }
    std::error_code ec;
    fs::path exact = root_;
    for (const std::string_view segment : split.segments) exact /= SegmentPath(segment);
    std::optional<fs::path> found;
    if (fs::exists(exact, ec)) {
      found = std::move(exact);
    } else {
      found = ResolveSegments(root_, split.segments);
    }
    if (found && fs::is_regular_file(*found, ec)) {
      result.lookup = FolderLookup::kFound;
      result.file = std::move(*found);
    }
  } catch (...) {  // a name the platform cannot convert, or out of memory
    result.lookup = FolderLookup::kNotFound;
    result.file.clear();
  }
  return result;
}

SkinReadResult FolderSource::Read(std::string_view path, std::vector<std::uint8_t>* out) const {
  const FolderResolveResult resolved = Resolve(path);
  if (resolved.lookup != FolderLookup::kFound) return SkinReadResult::kNotFound;
  switch (detail::ReadFileBytes(resolved.file, out)) {
    case detail::FileReadStatus::kOk: return SkinReadResult::kOk;
    case detail::FileReadStatus::kNotFound: return SkinReadResult::kNotFound;
    case detail::FileReadStatus::kIoError: break;
  }
  return SkinReadResult::kIoError;
}

std::string FolderSource::Describe() const {
  try {
    return "folder " + root_.u8string();
  } catch (...) {
    return "folder";
  }
}

}  // namespace skinui

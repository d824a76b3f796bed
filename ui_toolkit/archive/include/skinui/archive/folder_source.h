// Skin files read from a folder of loose files, for designers who edit a
// skin without packing it.
//
// Look-up: "\" and "/" are both separators; repeated separators and "."
// segments are ignored. The exact path is tried first; when it is absent the
// path is resolved one segment at a time, comparing each segment with the
// folder's entries without regard to letter case (the same folding as the 7z
// reader), so "MainWnd.xml" finds "mainWnd.xml" on a case-sensitive file
// system too. Directories are not files.
//
// Confinement: a path with a ".." segment, an absolute path ("/x", "\x",
// "C:..."), or a segment holding ':' is refused, so a layout cannot read
// outside the skin folder. (Symbolic links inside the folder are followed.)
//
// Threads: the source is immutable after construction; Read and Resolve may
// be called from any thread at once. Read blocks on file I/O; never throws.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "skinui/skin_source.h"

namespace skinui {

enum class FolderLookup {
  kFound = 0,
  kNotFound,     // no such file, or it is a directory
  kRefused,      // the path would leave the folder (absolute, "..", ':') or is empty
};

struct FolderResolveResult {
  FolderLookup lookup = FolderLookup::kNotFound;
  std::filesystem::path file;  // the file on disk when kFound
};

class FolderSource final : public SkinSource {
 public:
  // `root` should name an existing folder; OpenSkinSource checks that.
  explicit FolderSource(std::filesystem::path root);

  // kNotFound also for refused paths; kIoError when the file cannot be read.
  SkinReadResult Read(std::string_view path, std::vector<std::uint8_t>* out) const override;
  // "folder <root>".
  std::string Describe() const override;

  // Maps a skin path (UTF-8) to the file on disk, without reading it.
  FolderResolveResult Resolve(std::string_view path) const;

  const std::filesystem::path& Root() const { return root_; }

 private:
  std::filesystem::path root_;
};

}  // namespace skinui

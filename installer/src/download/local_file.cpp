#include "local_file.h"

#include <filesystem>
#include <memory>
#include <system_error>

#include "utils/format.h"
#include "background_md5.h"

namespace fs = std::filesystem;

namespace {

// 1 MiB blocks: large enough that a join or a resume hash costs a handful
// of system calls per megabyte, small enough for the memory goal.
constexpr size_t kCopyBlock = 1024 * 1024;

fs::path SystemPath(const std::wstring& path) {
  return fs::u8path(Utils::WideToUtf8(path));
}

}  // namespace

bool OutputFile::OpenForAppend(const std::wstring& path) {
  Close();
  failed_ = false;
  // Unbuffered: every Write is one system write of libcurl's whole chunk.
  file_.pubsetbuf(nullptr, 0);
  return file_.open(SystemPath(path), std::ios::out | std::ios::app | std::ios::binary) != nullptr;
}

size_t OutputFile::Write(const void* data, size_t size) {
  if (!file_.is_open()) return 0;
  const std::streamsize written =
      file_.sputn(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  if (written < 0 || static_cast<size_t>(written) != size) failed_ = true;
  return written < 0 ? 0 : static_cast<size_t>(written);
}

bool OutputFile::Close() {
  if (!file_.is_open()) return !failed_;
  const bool closed = file_.close() != nullptr;
  return closed && !failed_;
}

int64_t FileSize64(const std::wstring& path) {
  std::error_code error;
  const fs::path p = SystemPath(path);
  if (!fs::is_regular_file(p, error)) return -1;
  const uintmax_t size = fs::file_size(p, error);
  if (error) return -1;
  return static_cast<int64_t>(size);
}

bool RemovePath(const std::wstring& path) {
  std::error_code error;
  const fs::path p = SystemPath(path);
  fs::remove(p, error);
  return !fs::exists(fs::symlink_status(p, error));
}

bool RenameReplacing(const std::wstring& from, const std::wstring& to) {
  std::error_code error;
  const fs::path source = SystemPath(from);
  const fs::path target = SystemPath(to);
  fs::rename(source, target, error);
  if (error) return false;
  return fs::exists(target, error) && !fs::exists(source, error);
}

bool HashFilePrefix(const std::wstring& path, int64_t limit, BackgroundMd5& digest) {
  std::ifstream in(SystemPath(path), std::ios::binary);
  if (!in) return false;
  std::unique_ptr<char[]> block(new char[kCopyBlock]);
  int64_t left = limit;
  while (left > 0) {
    const size_t want = left < static_cast<int64_t>(kCopyBlock) ? static_cast<size_t>(left) : kCopyBlock;
    in.read(block.get(), static_cast<std::streamsize>(want));
    const std::streamsize got = in.gcount();
    if (got <= 0) return false;
    if (!digest.Update(block.get(), static_cast<size_t>(got))) return false;
    left -= got;
  }
  return true;
}

int64_t AppendFile(const std::wstring& from, OutputFile& out, BackgroundMd5* digest) {
  std::ifstream in(SystemPath(from), std::ios::binary);
  if (!in || !out.IsOpen()) return -1;
  std::unique_ptr<char[]> block(new char[kCopyBlock]);
  int64_t copied = 0;
  for (;;) {
    in.read(block.get(), static_cast<std::streamsize>(kCopyBlock));
    const std::streamsize got = in.gcount();
    if (got > 0) {
      if (digest && !digest->Update(block.get(), static_cast<size_t>(got))) return -1;
      if (out.Write(block.get(), static_cast<size_t>(got)) != static_cast<size_t>(got)) return -1;
      copied += got;
    }
    if (in.eof()) break;
    if (!in) return -1;  // a read error, not the end of the file
  }
  return copied;
}

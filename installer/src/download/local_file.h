// Files of the downloaders: part files written while a transfer runs, and
// the checks made before a file may count as downloaded.
//
// Sizes and offsets are 64-bit everywhere, so packages of 2 GiB and more are
// handled like any other. Paths are wide; the system's form is reached
// through std::filesystem (UTF-16 on Windows, UTF-8 elsewhere).
//
// Thread safety: an OutputFile belongs to one thread at a time; the free
// functions may run on any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

class BackgroundMd5;

// A file opened for appending (created when missing). Writes go straight to
// the system without a second copy in a stream buffer: libcurl hands over
// large chunks already.
class OutputFile {
 public:
  OutputFile() = default;
  ~OutputFile() { Close(); }
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  bool OpenForAppend(const std::wstring& path);
  bool IsOpen() const { return file_.is_open(); }
  // Bytes actually written (fewer on a write error).
  size_t Write(const void* data, size_t size);
  // False when buffered data could not be written or the close failed.
  bool Close();

 private:
  std::filebuf file_;
  bool failed_ = false;
};

// Size in bytes, or -1 when the file is missing or cannot be examined.
int64_t FileSize64(const std::wstring& path);
// True when the path no longer exists afterwards (removed, or never there).
bool RemovePath(const std::wstring& path);
// Renames from onto to, replacing an existing to. True only when to exists
// afterwards and from does not.
bool RenameReplacing(const std::wstring& from, const std::wstring& to);
// Feeds the first `limit` bytes of a file to the digest. False when the file
// cannot be read that far.
bool HashFilePrefix(const std::wstring& path, int64_t limit, BackgroundMd5& digest);
// Appends the whole of `from` to `out`, feeding every copied byte to digest
// when one is given. Returns the bytes copied, or -1 when `from` cannot be
// opened, read or fully written.
int64_t AppendFile(const std::wstring& from, OutputFile& out, BackgroundMd5* digest);

// Whole-file reads and atomic replacement.
// Thread safety: any thread. Paths are wide; elsewhere than Windows they are
// encoded as UTF-8 for the system.
#pragma once

#include <cstdio>
#include <string>

namespace Utils {

// False when the file cannot be opened or read.
bool ReadWholeFile(const std::wstring& path, std::string& bytes);

// Writes the bytes to "<path>.tmp<unique>", flushes them to disk, then
// renames over the path, so a reader (or a crash) sees the old content or
// the new one, never a mix. False, old file untouched, on any failure.
bool WriteFileAtomically(const std::wstring& path, const std::string& bytes);

bool RemoveFile(const std::wstring& path);

// Opens a file for reading in binary mode (_wfopen; fopen of the UTF-8
// path elsewhere). Null when it cannot be opened; the caller fcloses it.
std::FILE* OpenFileForReading(const std::wstring& path);

// The system's form of a wide path: itself on Windows, UTF-8 elsewhere.
std::string NarrowPath(const std::wstring& path);

}  // namespace Utils

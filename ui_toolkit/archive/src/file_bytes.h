// Whole-file reads into a byte vector. Any thread; blocks on I/O.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace skinui::detail {

enum class FileReadStatus { kOk = 0, kNotFound, kIoError };

// Replaces `out` with the file's bytes. kNotFound when the path names no
// regular file. Never throws.
FileReadStatus ReadFileBytes(const std::filesystem::path& path, std::vector<std::uint8_t>* out);

}  // namespace skinui::detail

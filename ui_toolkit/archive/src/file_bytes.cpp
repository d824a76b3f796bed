#include "file_bytes.h"

#include <fstream>
#include <new>
#include <system_error>

namespace skinui::detail {

FileReadStatus ReadFileBytes(const std::filesystem::path& path, std::vector<std::uint8_t>* out) {
  try {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return FileReadStatus::kNotFound;
    std::ifstream file(path, std::ios::binary);
    if (!file) return FileReadStatus::kIoError;
    file.seekg(0, std::ios::end);
    const std::streamoff length = file.tellg();
    if (length < 0) return FileReadStatus::kIoError;
    file.seekg(0, std::ios::beg);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
    if (length > 0 && !file.read(reinterpret_cast<char*>(bytes.data()), length)) {
      return FileReadStatus::kIoError;
    }
    out->swap(bytes);
    return FileReadStatus::kOk;
  } catch (...) {  // bad_alloc, or a name the platform cannot convert
    return FileReadStatus::kIoError;
  }
}

}  // namespace skinui::detail

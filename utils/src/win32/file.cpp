// Whole-file reads and atomic replacement with the wide file API.
#include "utils/file.h"

#include <cstdio>

#include <windows.h>

#include <atomic>
#include <string>

#include "utils/sysinfo.h"
#include "utils/text.h"

namespace Utils {

std::string NarrowPath(const std::wstring& path) { return WideToMultiByte(path, kCodePageAnsi); }

bool ReadWholeFile(const std::wstring& path, std::string& bytes) {
  // Sharing everything, delete included, so a writer may replace the file
  // (MoveFileExW over it) while it is being read, as on POSIX.
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  std::string out;
  char buffer[65536];
  bool ok = true;
  for (;;) {
    DWORD n = 0;
    if (!ReadFile(file, buffer, sizeof buffer, &n, nullptr)) {
      ok = false;
      break;
    }
    if (n == 0) break;
    out.append(buffer, n);
  }
  CloseHandle(file);
  if (ok) bytes.swap(out);
  return ok;
}

bool WriteFileAtomically(const std::wstring& path, const std::string& bytes) {
  static std::atomic<unsigned> counter{0};
  const std::wstring temp = path + L".tmp" + std::to_wstring(CurrentProcessId()) + L"_" +
                            std::to_wstring(counter.fetch_add(1));
  HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const char* p = bytes.data();
  size_t left = bytes.size();
  bool ok = true;
  while (ok && left > 0) {
    const DWORD chunk = left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
    DWORD n = 0;
    if (!WriteFile(file, p, chunk, &n, nullptr) || n == 0) {
      ok = false;
    } else {
      p += n;
      left -= n;
    }
  }
  if (ok && !FlushFileBuffers(file)) ok = false;
  if (!CloseHandle(file)) ok = false;
  if (ok && !MoveFileExW(temp.c_str(), path.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ok = false;
  }
  if (!ok) DeleteFileW(temp.c_str());
  return ok;
}

bool RemoveFile(const std::wstring& path) { return DeleteFileW(path.c_str()) != FALSE; }

std::FILE* OpenFileForReading(const std::wstring& path) {
  return _wfopen(path.c_str(), L"rb");
}

}  // namespace Utils

#include "sdk_support.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

#include <7zCrc.h>

namespace skinui::detail {
namespace {

void* CappedAlloc(ISzAllocPtr, size_t size) {
  if (size == 0 || size > kMaxAllocation) return nullptr;
  return std::malloc(size);
}
void CappedFree(ISzAllocPtr, void* address) { std::free(address); }

const ISzAlloc kCappedAllocator = {CappedAlloc, CappedFree};

// Method ids of the 7z format that the C decoder implements.
bool IsDecodableMethod(UInt32 id) {
  switch (id) {
    case 0x00:        // copy
    case 0x03:        // delta
    case 0x0A:        // ARM64 filter
    case 0x0B:        // RISC-V filter
    case 0x21:        // LZMA2
    case 0x030101:    // LZMA
    case 0x03030103:  // x86 BCJ
    case 0x0303011B:  // x86 BCJ2
    case 0x03030205:  // PowerPC
    case 0x03030401:  // IA-64
    case 0x03030501:  // ARM
    case 0x03030701:  // ARM Thumb
    case 0x03030805:  // SPARC
      return true;
    default:
      return false;
  }
}

std::string MethodText(UInt32 id) {
  if (id == 0x06F10701) return "encrypted (AES) data";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "compression method 0x%lX",
                static_cast<unsigned long>(id));
  return buffer;
}

}  // namespace

const ISzAlloc* CappedAllocator() { return &kCappedAllocator; }

void EnsureCrcTable() {
  static std::once_flag once;
  std::call_once(once, [] { CrcGenerateTable(); });
}

SRes CheckMethods(const CSzArEx& db, std::string* text) {
  const CSzAr& ar = db.db;
  for (UInt32 f = 0; f < ar.NumFolders; ++f) {
    CSzData sd;
    sd.Data = ar.CodersData + ar.FoCodersOffsets[f];
    sd.Size = ar.FoCodersOffsets[f + 1] - ar.FoCodersOffsets[f];
    CSzFolder folder;
    if (SzGetNextFolderItem(&folder, &sd) != SZ_OK) {
      *text = "block " + std::to_string(f) + " has a malformed coder list";
      return SZ_ERROR_ARCHIVE;
    }
    for (UInt32 c = 0; c < folder.NumCoders; ++c) {
      const UInt32 id = folder.Coders[c].MethodID;
      if (!IsDecodableMethod(id)) {
        *text = MethodText(id) + " is not supported";
        return SZ_ERROR_UNSUPPORTED;
      }
    }
  }
  return SZ_OK;
}

const char* SdkErrorName(SRes code) {
  switch (code) {
    case SZ_OK: return "SZ_OK";
    case SZ_ERROR_DATA: return "SZ_ERROR_DATA";
    case SZ_ERROR_MEM: return "SZ_ERROR_MEM";
    case SZ_ERROR_CRC: return "SZ_ERROR_CRC";
    case SZ_ERROR_UNSUPPORTED: return "SZ_ERROR_UNSUPPORTED";
    case SZ_ERROR_PARAM: return "SZ_ERROR_PARAM";
    case SZ_ERROR_INPUT_EOF: return "SZ_ERROR_INPUT_EOF";
    case SZ_ERROR_OUTPUT_EOF: return "SZ_ERROR_OUTPUT_EOF";
    case SZ_ERROR_READ: return "SZ_ERROR_READ";
    case SZ_ERROR_ARCHIVE: return "SZ_ERROR_ARCHIVE";
    case SZ_ERROR_NO_ARCHIVE: return "SZ_ERROR_NO_ARCHIVE";
    case SZ_ERROR_FAIL: return "SZ_ERROR_FAIL";
    default: return "SZ_ERROR_?";
  }
}

}  // namespace skinui::detail

#include "skinui/archive/skin_open_error.h"

namespace skinui {

const char* SkinOpenErrorName(SkinOpenError error) {
  switch (error) {
    case SkinOpenError::kOk: return "ok";
    case SkinOpenError::kNotFound: return "not found";
    case SkinOpenError::kIoError: return "read error";
    case SkinOpenError::kNotAnArchive: return "not a 7z archive";
    case SkinOpenError::kCorrupt: return "corrupt archive";
    case SkinOpenError::kUnsupported: return "unsupported archive";
    case SkinOpenError::kOutOfMemory: return "out of memory";
  }
  return "unknown error";
}

}  // namespace skinui

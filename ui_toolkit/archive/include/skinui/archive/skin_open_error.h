// Why a skin source could not be opened. Shared by the 7z reader and
// OpenSkinSource. Plain values: any thread.
#pragma once

namespace skinui {

enum class SkinOpenError {
  kOk = 0,
  kNotFound,       // no file or folder at the given path
  kIoError,        // the file exists but could not be read
  kNotAnArchive,   // the bytes do not start with a 7z signature
  kCorrupt,        // a 7z archive whose headers are truncated, damaged or fail their CRC
  kUnsupported,    // a valid archive using something this reader cannot decode
                   // (encryption, an unknown compression method, a block too large)
  kOutOfMemory,    // an allocation failed or exceeded the reader's limit
};

// A short English name for the error ("not a 7z archive", ...), for messages.
const char* SkinOpenErrorName(SkinOpenError error);

}  // namespace skinui

// A 7z archive held in memory, read with the LZMA SDK's C decoder.
//
// Opening parses the headers only. The data blocks (a skin archive has a
// single solid LZMA2 block) are decoded the first time a file inside them is
// read, once, and kept: every later read of any file in that block copies
// from the decoded cache. A block that fails to decode stays failed.
//
// Bytes: Open(const uint8_t*, size_t) BORROWS the bytes, which must outlive
// the archive (resources of the executable are static, so this costs
// nothing); Open(std::vector<uint8_t>) takes them over.
//
// Look-up: "\" and "/" are the same separator, repeated separators and "."
// segments are ignored, letters compare without case (ASCII and the Latin,
// Greek, Cyrillic and full-width letters of UTF-8 names), and directories
// are not files. An exact match (after separator normalisation) wins over a
// case-folded one when an archive holds both.
//
// Threads: Open on any thread. Read, ReadDetailed, Contains and FileNames may
// be called from any number of threads at once; the first reader of a block
// decodes it while others wanting the same block wait (blocks).
// Nothing here throws; malformed input gives an error, never a crash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "skinui/archive/skin_open_error.h"
#include "skinui/skin_source.h"

namespace skinui {

class SevenZipArchive;

struct SevenZipOpenResult {
  SkinOpenError error = SkinOpenError::kOk;
  int sdk_code = 0;      // the LZMA SDK's SRes (SZ_ERROR_*) when it reported the error
  std::string text;      // human-readable cause, empty on success
  std::unique_ptr<SevenZipArchive> archive;  // set exactly when error == kOk
};

// The outcome of one read with its raw cause kept.
struct SevenZipReadStatus {
  SkinReadResult result = SkinReadResult::kOk;
  int sdk_code = 0;      // SZ_ERROR_* of the failed block decode, SZ_ERROR_CRC for a file CRC mismatch
  std::string text;      // empty on success
};

class SevenZipArchive final : public SkinSource {
 public:
  // Largest block (decoded size) and largest single allocation the reader
  // accepts; larger ones give kUnsupported / kOutOfMemory instead of trying.
  static constexpr std::size_t kMaxBlockSize = std::size_t{256} << 20;

  // Borrows [data, data + size): the caller keeps it alive and unchanged.
  static SevenZipOpenResult Open(const std::uint8_t* data, std::size_t size);
  // Owns the bytes.
  static SevenZipOpenResult Open(std::vector<std::uint8_t> bytes);

  ~SevenZipArchive() override;
  SevenZipArchive(const SevenZipArchive&) = delete;
  SevenZipArchive& operator=(const SevenZipArchive&) = delete;

  // SkinSource: kNotFound (no such file, or a directory), kCorrupt (its block
  // fails to decode or its CRC does not match), kOk. Blocks while decoding.
  SkinReadResult Read(std::string_view path, std::vector<std::uint8_t>* out) const override;
  // "archive (247324 bytes)".
  std::string Describe() const override;

  // Read with the raw cause of a failure.
  SevenZipReadStatus ReadDetailed(std::string_view path, std::vector<std::uint8_t>* out) const;
  // True when `path` names a file (not a directory) of the archive.
  bool Contains(std::string_view path) const;
  // The archive's files (directories left out) as UTF-8 with "/" separators,
  // in archive order.
  std::vector<std::string> FileNames() const;
  // Number of data blocks (1 for a solid archive).
  std::size_t BlockCount() const;

 private:
  struct State;
  explicit SevenZipArchive(std::unique_ptr<State> state);
  static SevenZipOpenResult OpenState(std::unique_ptr<State> state);

  std::unique_ptr<State> state_;
};

}  // namespace skinui

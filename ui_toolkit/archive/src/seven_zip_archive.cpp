#include "skinui/archive/seven_zip_archive.h"

#include <mutex>
#include <new>
#include <optional>
#include <unordered_map>

#include <7z.h>
#include <7zCrc.h>

#include "memory_look_stream.h"
#include "path_key.h"
#include "sdk_support.h"

namespace skinui {
namespace {

constexpr UInt32 kNoBlock = static_cast<UInt32>(-1);

// One data block, decoded on first use and then only read.
struct Block {
  std::once_flag once;
  SRes result = SZ_OK;
  std::vector<std::uint8_t> bytes;
};

struct Entry {
  UInt32 index;      // file index in the archive database
  std::string name;  // stored name, "/"-separated
};

SkinOpenError ErrorFromSdk(SRes code) {
  switch (code) {
    case SZ_ERROR_NO_ARCHIVE: return SkinOpenError::kNotAnArchive;
    case SZ_ERROR_UNSUPPORTED: return SkinOpenError::kUnsupported;
    case SZ_ERROR_MEM: return SkinOpenError::kOutOfMemory;
    default: return SkinOpenError::kCorrupt;
  }
}

}  // namespace

struct SevenZipArchive::State {
  std::vector<std::uint8_t> owned;  // empty when the bytes are borrowed
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
  CSzArEx db;
  bool db_open = false;
  std::vector<Entry> entries;
  std::unordered_map<std::string, UInt32> exact;   // joined segments -> file index
  std::unordered_map<std::string, UInt32> folded;  // folded key -> file index
  std::unique_ptr<Block[]> blocks;

  State() { SzArEx_Init(&db); }
  ~State() {
    if (db_open) SzArEx_Free(&db, detail::CappedAllocator());
  }

  SRes ParseHeaders();
  void IndexNames();
  std::optional<UInt32> Find(std::string_view path) const;
  const Block& DecodedBlock(UInt32 folder) const;
};

SRes SevenZipArchive::State::ParseHeaders() {
  detail::EnsureCrcTable();
  detail::MemoryLookStream stream;
  detail::MemoryLookStreamInit(&stream, data, size);
  const ISzAlloc* alloc = detail::CappedAllocator();
  const SRes res = SzArEx_Open(&db, &stream.vt, alloc, alloc);
  db_open = res == SZ_OK;  // on failure the SDK has already freed what it built
  return res;
}

void SevenZipArchive::State::IndexNames() {
  std::vector<std::uint16_t> units;
  for (UInt32 i = 0; i < db.NumFiles; ++i) {
    if (SzArEx_IsDir(&db, i)) continue;
    const std::size_t length = SzArEx_GetFileNameUtf16(&db, i, nullptr);
    units.assign(length, 0);
    SzArEx_GetFileNameUtf16(&db, i, units.data());
    std::string name = detail::Utf16ToUtf8(units.data(), length ? length - 1 : 0);
    const detail::SplitPath split = detail::SplitSkinPath(name);
    if (split.shape != detail::PathShape::kRelative) continue;  // unreachable by any look-up
    exact.emplace(detail::JoinSegments(split.segments), i);
    folded.emplace(detail::FoldedKey(split.segments), i);
    entries.push_back(Entry{i, detail::JoinSegments(split.segments)});
  }
}

std::optional<UInt32> SevenZipArchive::State::Find(std::string_view path) const {
  const detail::SplitPath split = detail::SplitSkinPath(path);
  if (split.shape != detail::PathShape::kRelative) return std::nullopt;
  if (auto it = exact.find(detail::JoinSegments(split.segments)); it != exact.end()) {
    return it->second;
  }
  if (auto it = folded.find(detail::FoldedKey(split.segments)); it != folded.end()) {
    return it->second;
  }
  return std::nullopt;
}

const Block& SevenZipArchive::State::DecodedBlock(UInt32 folder) const {
  Block& block = blocks[folder];
  std::call_once(block.once, [&] {
    const UInt64 unpack = SzAr_GetFolderUnpackSize(&db.db, folder);
    if (unpack > kMaxBlockSize) {
      block.result = SZ_ERROR_UNSUPPORTED;
      return;
    }
    try {
      block.bytes.resize(static_cast<std::size_t>(unpack));
    } catch (const std::bad_alloc&) {
      block.result = SZ_ERROR_MEM;
      return;
    }
    if (unpack == 0) return;
    detail::MemoryLookStream stream;  // a private cursor: blocks decode in parallel
    detail::MemoryLookStreamInit(&stream, data, size);
    SRes res = SzAr_DecodeFolder(&db.db, folder, &stream.vt, db.dataPos, block.bytes.data(),
                                 block.bytes.size(), detail::CappedAllocator());
    if (res == SZ_OK && SzBitWithVals_Check(&db.db.FolderCRCs, folder) &&
        CrcCalc(block.bytes.data(), block.bytes.size()) != db.db.FolderCRCs.Vals[folder]) {
      res = SZ_ERROR_CRC;
    }
    if (res != SZ_OK) std::vector<std::uint8_t>().swap(block.bytes);
    block.result = res;
  });
  return block;
}

SevenZipArchive::SevenZipArchive(std::unique_ptr<State> state) : state_(std::move(state)) {}
SevenZipArchive::~SevenZipArchive() = default;

SevenZipOpenResult SevenZipArchive::Open(const std::uint8_t* data, std::size_t size) {
  auto state = std::make_unique<State>();
  state->data = data;
  state->size = data ? size : 0;
  return OpenState(std::move(state));
}

SevenZipOpenResult SevenZipArchive::Open(std::vector<std::uint8_t> bytes) {
  auto state = std::make_unique<State>();
  state->owned = std::move(bytes);
  state->data = state->owned.data();
  state->size = state->owned.size();
  return OpenState(std::move(state));
}

SevenZipOpenResult SevenZipArchive::OpenState(std::unique_ptr<State> state) {
  SevenZipOpenResult result;
  try {
    SRes res = state->ParseHeaders();
    std::string text;
    if (res != SZ_OK) {
      text = std::string("cannot read the 7z headers (") + detail::SdkErrorName(res) + ")";
    } else {
      res = detail::CheckMethods(state->db, &text);
    }
    for (UInt32 f = 0; res == SZ_OK && f < state->db.db.NumFolders; ++f) {
      if (SzAr_GetFolderUnpackSize(&state->db.db, f) > kMaxBlockSize) {
        res = SZ_ERROR_UNSUPPORTED;
        text = "block " + std::to_string(f) + " is larger than the reader's limit";
      }
    }
    if (res != SZ_OK) {
      result.error = ErrorFromSdk(res);
      result.sdk_code = res;
      result.text = std::move(text);
      return result;
    }
    state->IndexNames();
    state->blocks = std::make_unique<Block[]>(state->db.db.NumFolders);
  } catch (const std::bad_alloc&) {
    result.error = SkinOpenError::kOutOfMemory;
    result.sdk_code = SZ_ERROR_MEM;
    result.text = "out of memory while indexing the archive";
    return result;
  }
  result.archive.reset(new SevenZipArchive(std::move(state)));
  return result;
}

SevenZipReadStatus SevenZipArchive::ReadDetailed(std::string_view path,
                                                 std::vector<std::uint8_t>* out) const {
  SevenZipReadStatus status;
  try {
    const std::optional<UInt32> found = state_->Find(path);
    if (!found) {
      status.result = SkinReadResult::kNotFound;
      status.text = "no file \"" + std::string(path) + "\" in the archive";
      return status;
    }
    const CSzArEx& db = state_->db;
    const UInt32 index = *found;
    const UInt32 folder = db.FileToFolder[index];
    const UInt64 file_size = SzArEx_GetFileSize(&db, index);
    if (folder == kNoBlock) {  // an empty file has no data block
      out->clear();
      return status;
    }
    const Block& block = state_->DecodedBlock(folder);
    if (block.result != SZ_OK) {
      status.result = SkinReadResult::kCorrupt;
      status.sdk_code = block.result;
      status.text = std::string("block ") + std::to_string(folder) + " does not decode (" +
                    detail::SdkErrorName(block.result) + ")";
      return status;
    }
    const UInt64 offset = db.UnpackPositions[index] - db.UnpackPositions[db.FolderToFile[folder]];
    if (offset > block.bytes.size() || file_size > block.bytes.size() - offset) {
      status.result = SkinReadResult::kCorrupt;
      status.sdk_code = SZ_ERROR_ARCHIVE;
      status.text = "file lies outside its block";
      return status;
    }
    const std::uint8_t* begin = block.bytes.data() + offset;
    const std::size_t length = static_cast<std::size_t>(file_size);
    if (SzBitWithVals_Check(&db.CRCs, index) && CrcCalc(begin, length) != db.CRCs.Vals[index]) {
      status.result = SkinReadResult::kCorrupt;
      status.sdk_code = SZ_ERROR_CRC;
      status.text = "CRC mismatch in \"" + std::string(path) + "\"";
      return status;
    }
    out->assign(begin, begin + length);
  } catch (const std::bad_alloc&) {
    status.result = SkinReadResult::kIoError;
    status.sdk_code = SZ_ERROR_MEM;
    status.text = "out of memory";
  }
  return status;
}

SkinReadResult SevenZipArchive::Read(std::string_view path, std::vector<std::uint8_t>* out) const {
  return ReadDetailed(path, out).result;
}

std::string SevenZipArchive::Describe() const {
  return "archive (" + std::to_string(state_->size) + " bytes)";
}

bool SevenZipArchive::Contains(std::string_view path) const {
  try {
    return state_->Find(path).has_value();
  } catch (const std::bad_alloc&) {
    return false;
  }
}

std::vector<std::string> SevenZipArchive::FileNames() const {
  std::vector<std::string> names;
  names.reserve(state_->entries.size());
  for (const Entry& entry : state_->entries) names.push_back(entry.name);
  return names;
}

std::size_t SevenZipArchive::BlockCount() const { return state_->db.db.NumFolders; }

}  // namespace skinui

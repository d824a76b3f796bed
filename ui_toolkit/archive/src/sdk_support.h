// Glue to the LZMA SDK shared by the 7z reader's files: the capped
// allocator, the one-time CRC table, the method check and error texts.
// Any thread.
#pragma once

#include <cstdint>
#include <string>

#include <7z.h>

namespace skinui::detail {

// malloc/free, refusing any single allocation larger than `kMaxAllocation`
// so that a damaged size field fails with SZ_ERROR_MEM instead of trying to
// reserve gigabytes.
const ISzAlloc* CappedAllocator();
inline constexpr std::size_t kMaxAllocation = std::size_t{256} << 20;

// Builds the SDK's CRC table on first use; later calls return at once.
void EnsureCrcTable();

// Checks that every coder of every block is one the decoder handles.
// Returns SZ_OK, SZ_ERROR_UNSUPPORTED (with the offending method in `text`)
// or SZ_ERROR_ARCHIVE when a block description does not parse.
SRes CheckMethods(const CSzArEx& db, std::string* text);

// "SZ_ERROR_CRC", "SZ_ERROR_DATA", ... for messages.
const char* SdkErrorName(SRes code);

}  // namespace skinui::detail

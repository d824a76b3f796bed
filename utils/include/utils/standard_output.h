// Raw writes to the process's own standard output.
//
// The bytes go out exactly as given: no buffering in the C library and no
// line-ending translation (the Windows C runtime's text mode would turn
// "\n" into "\r\n"). Used by tools that speak a byte protocol on their
// output, such as the sample package.
//
// Thread safety: any thread; concurrent calls may interleave between calls,
// never inside a single write of up to 512 bytes to a pipe.
#pragma once

#include <cstddef>

namespace Utils {

// Writes every byte, retrying short writes; false when the output is closed
// or refuses (the caller decides whether that matters).
bool WriteStandardOutput(const void* data, size_t size);

}  // namespace Utils

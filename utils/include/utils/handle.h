// The platform's handle for pipes, processes and locks: a HANDLE on Windows,
// a file descriptor or process id elsewhere. Only the platform layer looks
// inside; everyone else compares with kInvalidHandle.
#pragma once

#include <cstdint>

namespace Utils {

#if defined(_WIN32)
using NativeHandle = void*;
inline const NativeHandle kInvalidHandle = nullptr;
#else
using NativeHandle = intptr_t;
inline constexpr NativeHandle kInvalidHandle = -1;
#endif

}  // namespace Utils

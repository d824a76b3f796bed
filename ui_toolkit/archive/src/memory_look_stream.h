// An LZMA SDK look-in stream over bytes in memory: Look hands out pointers
// into the buffer itself, so nothing is copied while parsing or decoding.
// The stream has a position, so each decoding call uses its own instance;
// the bytes are shared and only read. One thread per instance.
#pragma once

#include <cstddef>
#include <cstdint>

#include <7zTypes.h>

namespace skinui::detail {

struct MemoryLookStream {
  ILookInStream vt;  // first member: the SDK passes &vt back to the callbacks
  const std::uint8_t* data;
  std::size_t size;
  std::size_t pos;
};

void MemoryLookStreamInit(MemoryLookStream* stream, const std::uint8_t* data, std::size_t size);

}  // namespace skinui::detail

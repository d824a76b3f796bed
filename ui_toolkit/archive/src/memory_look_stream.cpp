#include "memory_look_stream.h"

#include <cstring>

namespace skinui::detail {
namespace {

MemoryLookStream* Self(ILookInStreamPtr p) {
  return Z7_CONTAINER_FROM_VTBL(p, MemoryLookStream, vt);
}

std::size_t Remaining(const MemoryLookStream* s) { return s->pos < s->size ? s->size - s->pos : 0; }

SRes Look(ILookInStreamPtr p, const void** buf, size_t* size) {
  MemoryLookStream* s = Self(p);
  const std::size_t n = *size < Remaining(s) ? *size : Remaining(s);
  *buf = n ? s->data + s->pos : s->data;
  *size = n;
  return SZ_OK;
}

SRes Skip(ILookInStreamPtr p, size_t offset) {
  MemoryLookStream* s = Self(p);
  s->pos += offset < Remaining(s) ? offset : Remaining(s);
  return SZ_OK;
}

SRes Read(ILookInStreamPtr p, void* buf, size_t* size) {
  MemoryLookStream* s = Self(p);
  const std::size_t n = *size < Remaining(s) ? *size : Remaining(s);
  if (n) std::memcpy(buf, s->data + s->pos, n);
  s->pos += n;
  *size = n;
  return SZ_OK;
}

// Positions past the end are allowed (reads there give nothing, which the
// SDK reports as a truncated archive); before the start is an error.
SRes Seek(ILookInStreamPtr p, Int64* pos, ESzSeek origin) {
  MemoryLookStream* s = Self(p);
  Int64 base = 0;
  switch (origin) {
    case SZ_SEEK_SET: base = 0; break;
    case SZ_SEEK_CUR: base = static_cast<Int64>(s->pos); break;
    case SZ_SEEK_END: base = static_cast<Int64>(s->size); break;
    default: return SZ_ERROR_PARAM;
  }
  const Int64 kMax = static_cast<Int64>(1) << 62;
  if (*pos > kMax || *pos < -kMax) return SZ_ERROR_PARAM;
  const Int64 target = base + *pos;
  if (target < 0 || static_cast<UInt64>(target) > SIZE_MAX) return SZ_ERROR_PARAM;
  s->pos = static_cast<std::size_t>(target);
  *pos = target;
  return SZ_OK;
}

}  // namespace

void MemoryLookStreamInit(MemoryLookStream* stream, const std::uint8_t* data, std::size_t size) {
  stream->vt.Look = Look;
  stream->vt.Skip = Skip;
  stream->vt.Read = Read;
  stream->vt.Seek = Seek;
  stream->data = data;
  stream->size = size;
  stream->pos = 0;
}

}  // namespace skinui::detail

#include "utils/stopwatch.h"

#include "utils/sysinfo.h"

namespace Utils {

void Stopwatch::Start() noexcept {
  startTick = TickCount32();
  running = true;
}

float Stopwatch::ElapsedAt(uint32_t nowTick) const noexcept {
  if (!running) return 0.0f;
  const uint32_t elapsed = nowTick - startTick;  // unsigned: right across one wrap
  return static_cast<float>(elapsed) / 1000.0f;
}

float Stopwatch::Elapsed() const noexcept { return ElapsedAt(TickCount32()); }

}  // namespace Utils

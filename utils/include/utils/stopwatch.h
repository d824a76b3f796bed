// Utils::Stopwatch: seconds since a moment. The owner sets both fields when
// it starts timing. Belongs to one thread at a time.
#pragma once

#include <cstdint>

namespace Utils {

struct Stopwatch {
  uint32_t startTick = 0;  // TickCount32() at the start
  bool running = false;

  void Start() noexcept;
  // Seconds since startTick in single precision; 0 while not running. The
  // unsigned difference stays right across one wrap of the tick counter.
  float Elapsed() const noexcept;
  // The same from an explicit "now", for callers that already hold a tick.
  float ElapsedAt(uint32_t nowTick) const noexcept;
};

}  // namespace Utils

#include "platform/os/clock.hpp"

#include <time.h>

#include <cerrno>

namespace kbh {

uint32_t TickCountFromMonotonic(int64_t seconds, int64_t nanoseconds) {
  // Unsigned arithmetic is the wrap: only the low 32 bits of the total survive.
  const uint64_t milliseconds =
      static_cast<uint64_t>(seconds) * 1000u + static_cast<uint64_t>(nanoseconds / 1000000);
  return static_cast<uint32_t>(milliseconds);
}

uint32_t TickCount() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return TickCountFromMonotonic(now.tv_sec, now.tv_nsec);
}

void SleepMs(uint32_t milliseconds) {
  timespec remaining{};
  remaining.tv_sec = static_cast<time_t>(milliseconds / 1000);
  remaining.tv_nsec = static_cast<long>(milliseconds % 1000) * 1000000L;
  while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
  }
}

}  // namespace kbh

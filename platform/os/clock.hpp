// The program's millisecond clock and its pause.
//
// The tick is a 32-bit count of milliseconds that wraps after 2^32 ms (about
// 49.7 days), like the tick count the program was designed around: every user
// takes the difference of two readings with unsigned arithmetic, so a wrap
// between them costs nothing. It counts from an arbitrary origin and never
// jumps with the wall clock.
#pragma once

#include <cstdint>

namespace kbh {

// Milliseconds of the monotonic clock, truncated to 32 bits.
uint32_t TickCount();

// The tick for a monotonic reading of seconds and nanoseconds: what TickCount
// computes, separate so that the wrap can be checked without waiting 49 days.
uint32_t TickCountFromMonotonic(int64_t seconds, int64_t nanoseconds);

// Sleeps at least milliseconds, resuming after signals.
void SleepMs(uint32_t milliseconds);

}  // namespace kbh

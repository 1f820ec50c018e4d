#pragma once
// The millisecond tick and the waiting loop that keeps events flowing.
#include <cstdint>

namespace platform {

/// Milliseconds since an arbitrary start, 32 bits, wrapping to 0 after its
/// largest value (a monotonic clock: never jumps with the wall clock).
uint32_t TickCount();

/// Shifts the tick by `offset` (tests use it to put a wrap inside a wait).
void SetTickOffsetForTest(uint32_t offset);

/// Waits `ms` milliseconds while handling the application's events, so
/// receive events, connects and timers run inside the wait. The wait sleeps
/// in the event loop until the next event or the deadline: it never spins.
/// With 0 it returns at once without handling events.
void Delay(uint32_t ms);

/// Waits like Delay, but returns as soon as `done()` holds after an event
/// (checked before the first wait too). True when done() held.
template <typename Pred>
bool DelayUntil(uint32_t ms, Pred done);

// Handles events for at most `ms` milliseconds, returning after the first
// batch; the building block of the waits above.
void WaitForEvents(uint32_t ms);

template <typename Pred>
bool DelayUntil(uint32_t ms, Pred done) {
  const uint32_t start = TickCount();
  for (;;) {
    if (done()) return true;
    const uint32_t elapsed = TickCount() - start;
    if (elapsed >= ms) return done();
    WaitForEvents(ms - elapsed);
  }
}

}  // namespace platform

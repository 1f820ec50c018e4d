#pragma once
// The millisecond tick and the waiting loop that keeps events flowing.
#include <cstdint>
#include <functional>

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

/// Waits until `fd` takes more output, at most `ms` milliseconds, or until
/// `abandoned()` holds after an event. Meanwhile the application handles
/// what keeps its windows alive (painting, work handed over from other
/// threads such as received data or a vanished device) but holds the user's
/// input and timer ticks until the caller is back in the event loop: nothing
/// the user or a timer starts can write in the middle of this output. True
/// when `fd` became writable.
bool WaitWritable(int fd, uint32_t ms, const std::function<bool()>& abandoned);
/// The same wait for `ms` milliseconds without a descriptor (output that
/// drains at the line's pace cannot be waited for).
void WaitHoldingInput(uint32_t ms, const std::function<bool()>& abandoned);

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

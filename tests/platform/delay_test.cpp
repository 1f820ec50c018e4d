#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QTimer>

#include "platform/ui/toolkit.h"

using namespace platform;

namespace {
double CpuSeconds() {
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  return ru.ru_utime.tv_sec + ru.ru_stime.tv_sec + (ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
}
}  // namespace

// Delay must handle events (a timer set before the wait fires inside it),
// last at least its time, and return at once for 0.
TEST(Delay, HandlesEventsWhileWaiting) {
  bool fired = false;
  QTimer::singleShot(10, [&] { fired = true; });
  const uint32_t start = TickCount();
  Delay(60);
  EXPECT_GE(TickCount() - start, 60u);
  EXPECT_TRUE(fired);

  bool late = false;
  QTimer::singleShot(0, [&] { late = true; });
  Delay(0);
  EXPECT_FALSE(late);  // no events handled
  Delay(1);            // runs the queued 0 ms timer while `late` still exists
}

// The 32-bit tick wraps; a wait that spans the wrap must still last its time
// rather than return at once or hang for 49 days.
TEST(Delay, SpansTheTickWrap) {
  const uint32_t now = TickCount();
  SetTickOffsetForTest(0xFFFFFFFFu - now - 20);  // wraps 20 ms from now
  const uint32_t start = TickCount();
  Delay(80);
  const uint32_t elapsed = TickCount() - start;
  SetTickOffsetForTest(0);
  EXPECT_GE(elapsed, 80u);
  EXPECT_LT(elapsed, 5000u);
}

// Waiting must sleep in the event loop, not spin a core. Generous bound: a
// spinning wait would use about as much CPU as wall time.
TEST(Delay, DoesNotSpin) {
  const double before = CpuSeconds();
  Delay(300);
  EXPECT_LT(CpuSeconds() - before, 0.15);
}

// DelayUntil returns as soon as its condition holds, or at the deadline.
TEST(Delay, UntilStopsEarly) {
  bool ready = false;
  QTimer::singleShot(20, [&] { ready = true; });
  const uint32_t start = TickCount();
  EXPECT_TRUE(DelayUntil(5000, [&] { return ready; }));
  EXPECT_LT(TickCount() - start, 4000u);
  EXPECT_FALSE(DelayUntil(30, [] { return false; }));
}

#include "delay.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <time.h>

namespace platform {

namespace {
uint32_t gOffset = 0;
}

uint32_t TickCount() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  const uint64_t ms = uint64_t(ts.tv_sec) * 1000u + uint64_t(ts.tv_nsec) / 1000000u;
  return uint32_t(ms) + gOffset;
}

void SetTickOffsetForTest(uint32_t offset) { gOffset = offset; }

void WaitForEvents(uint32_t ms) {
  // A single-shot timer wakes the loop at the deadline; until then the
  // thread sleeps in the event dispatcher.
  QTimer wake;
  wake.setSingleShot(true);
  wake.setTimerType(Qt::PreciseTimer);
  wake.start(int(std::min<uint32_t>(ms, 1u << 30)));
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void Delay(uint32_t ms) {
  DelayUntil(ms, [] { return false; });
}

}  // namespace platform

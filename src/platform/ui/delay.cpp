#include "delay.h"

#include <poll.h>
#include <sys/timerfd.h>
#include <time.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>
#include <optional>

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

namespace {

/// The wait of WaitWritable (fd < 0: only the time). Timers are held, so the
/// deadline wakes the loop through a timerfd rather than a QTimer.
bool WaitHeld(int fd, uint32_t ms, const std::function<bool()>& abandoned) {
  // Without an application or a timerfd: wait without handling events.
  const int deadline =
      QCoreApplication::instance() ? timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK) : -1;
  if (deadline < 0) {
    pollfd p{fd, POLLOUT, 0};
    return poll(&p, fd >= 0 ? 1 : 0, int(std::min<uint32_t>(ms, 1u << 30))) > 0;
  }
  itimerspec at{};
  at.it_value.tv_sec = time_t(ms / 1000);
  at.it_value.tv_nsec = long(ms % 1000) * 1000000L + (ms == 0 ? 1 : 0);  // 0 would disarm it
  timerfd_settime(deadline, 0, &at, nullptr);
  bool expired = false, writable = false;
  {
    QSocketNotifier expiry(deadline, QSocketNotifier::Read);
    QObject::connect(&expiry, &QSocketNotifier::activated, [&] { expired = true; });
    std::optional<QSocketNotifier> output;
    if (fd >= 0) {
      output.emplace(fd, QSocketNotifier::Write);
      QObject::connect(&*output, &QSocketNotifier::activated, [&] { writable = true; });
    }
    // Despite its name X11ExcludeTimers holds timers on every Unix event
    // dispatcher (the test of the serial writes checks it).
    while (!writable && !expired && !abandoned())
      QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::X11ExcludeTimers |
                                      QEventLoop::WaitForMoreEvents);
  }
  close(deadline);
  return writable;
}

}  // namespace

bool WaitWritable(int fd, uint32_t ms, const std::function<bool()>& abandoned) {
  return WaitHeld(fd, ms, abandoned);
}

void WaitHoldingInput(uint32_t ms, const std::function<bool()>& abandoned) { WaitHeld(-1, ms, abandoned); }

void Delay(uint32_t ms) {
  DelayUntil(ms, [] { return false; });
}

}  // namespace platform

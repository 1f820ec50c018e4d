#include "timer.h"

#include <QTimer>

#include "errors.h"

namespace platform {

Timer::Timer(std::string name, int intervalMs)
    : name_(std::move(name)), interval_(intervalMs), timer_(std::make_unique<QTimer>()) {
  timer_->setTimerType(Qt::PreciseTimer);
  QObject::connect(timer_.get(), &QTimer::timeout, [this] { Fire(); });
}

Timer::~Timer() = default;

void Timer::SetInterval(int ms) {
  interval_ = ms;
  if (enabled_) timer_->start(interval_);
}

void Timer::SetEnabled(bool e) {
  if (enabled_ == e) return;
  enabled_ = e;
  if (e)
    timer_->start(interval_);
  else
    timer_->stop();
}

void Timer::Fire() {
  Guard([this] {
    if (onTimer) onTimer();
  });
}

}  // namespace platform

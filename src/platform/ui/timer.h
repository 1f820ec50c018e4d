#pragma once
// A named timer on QtCore's event loop.
#include <functional>
#include <memory>
#include <string>

class QTimer;

namespace platform {

/// Ticks every Interval() milliseconds while enabled. Each tick runs onTimer
/// under the general error handler. Enabling an enabled timer does not
/// restart it.
class Timer {
 public:
  Timer(std::string name, int intervalMs);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  const std::string& Name() const { return name_; }
  int Interval() const { return interval_; }
  void SetInterval(int ms);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool e);
  void Start() { SetEnabled(true); }
  void Stop() { SetEnabled(false); }

  /// Runs one tick now, as the event loop would (for deterministic tests).
  void Fire();

  std::function<void()> onTimer;

 private:
  std::string name_;
  int interval_;
  bool enabled_ = false;
  std::unique_ptr<QTimer> timer_;
};

}  // namespace platform

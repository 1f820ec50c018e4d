#pragma once
// The event thread of an open serial port.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

class QObject;

namespace comm {

/// Waits for line events on a port's descriptor with poll() and hands each
/// set of them to the UI thread (a queued invocation on `context`), blocking
/// until the dispatch has run there; so handlers never run on this thread and
/// at most one set is in dispatch at a time.
///
/// Received data is level-triggered in poll(). When a handler read during its
/// dispatch, whatever is waiting afterwards arrived meanwhile and is reported
/// at once. When it read nothing, the bytes are left unread on purpose: the
/// thread stops polling for input and only checks, every 20 ms, whether more
/// has arrived, so unread data never spins the CPU.
///
/// When the device hangs up (POLLHUP, POLLERR, EIO) the thread hands over
/// what is still pending, calls `vanished` on the UI thread once and ends.
class TComThread {
 public:
  using Dispatch = std::function<void(uint32_t events)>;  // runs on the UI thread
  using Vanished = std::function<void()>;                 // runs on the UI thread

  /// `bytesRead` counts the bytes the port's reads have taken (the port
  /// outlives the thread).
  TComThread(int fd, uint32_t mask, QObject* context, const std::atomic<uint64_t>* bytesRead,
             Dispatch dispatch, Vanished vanished);
  /// Stops the thread (see Stop).
  ~TComThread();
  TComThread(const TComThread&) = delete;
  TComThread& operator=(const TComThread&) = delete;

  /// Called on the UI thread: ends the thread and waits for it. A hand-over
  /// that is waiting is dispatched here first, so close never deadlocks with
  /// it; called from inside a dispatch, the thread ends without waiting for
  /// that dispatch to return.
  void Stop();

 private:
  struct Shared;
  void Run();

  int fd_;
  uint32_t mask_;
  const std::atomic<uint64_t>* bytesRead_;
  int wakeFd_ = -1;  // eventfd: written by Stop to end the poll
  std::shared_ptr<Shared> shared_;
  std::thread thread_;
};

}  // namespace comm

#include "com_thread.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#include <QMetaObject>
#include <QObject>
#include <cerrno>
#include <condition_variable>
#include <mutex>

#include "com_error.h"
#include "com_port.h"
#include "platform/ui/errors.h"

namespace comm {

// State both threads touch. It is shared with the queued invocations, which
// may run after the thread object is gone (they then find nothing pending).
struct TComThread::Shared {
  std::mutex m;
  std::condition_variable cv;
  bool stop = false;
  bool pending = false;  // a set waits for (or is in) dispatch
  bool running = false;  // the UI thread is dispatching it
  bool abandon = false;  // stopped from inside that dispatch: do not wait for it
  uint32_t events = 0;
  QObject* context;
  Dispatch dispatch;
  Vanished vanished;

  // UI thread: runs the waiting set, unless it already runs further up the stack.
  void RunPending() {
    uint32_t ev;
    {
      std::lock_guard l(m);
      if (!pending || running) return;
      running = true;
      ev = events;
    }
    platform::Guard([&] { dispatch(ev); });
    {
      std::lock_guard l(m);
      running = false;
      pending = false;
    }
    cv.notify_all();
  }
};

TComThread::TComThread(int fd, uint32_t mask, QObject* context, const std::atomic<uint64_t>* bytesRead,
                       Dispatch dispatch, Vanished vanished)
    : fd_(fd), mask_(mask), bytesRead_(bytesRead), shared_(std::make_shared<Shared>()) {
  shared_->context = context;
  shared_->dispatch = std::move(dispatch);
  shared_->vanished = std::move(vanished);
  // Without its wake-up descriptor the thread could never be stopped.
  wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (wakeFd_ < 0) throw EComPort(CE_OpenFailed, errno);
  thread_ = std::thread([this] { Run(); });
}

TComThread::~TComThread() {
  Stop();
  if (wakeFd_ >= 0) close(wakeFd_);
}

void TComThread::Stop() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard l(shared_->m);
    shared_->stop = true;
    shared_->abandon = shared_->running;
  }
  shared_->cv.notify_all();
  const uint64_t one = 1;
  [[maybe_unused]] ssize_t w = write(wakeFd_, &one, sizeof one);
  // A set handed over before the stop still runs, here on the UI thread.
  shared_->RunPending();
  thread_.join();
}

void TComThread::Run() {
  auto& s = *shared_;
  // Hands a set over and waits until it was dispatched; false once stopped.
  auto handOver = [&](uint32_t events) {
    {
      std::lock_guard l(s.m);
      if (s.stop) return false;
      s.pending = true;
      s.events = events;
    }
    std::weak_ptr<Shared> weak = shared_;
    QMetaObject::invokeMethod(
        s.context,
        [weak] {
          if (auto p = weak.lock()) p->RunPending();
        },
        Qt::QueuedConnection);
    std::unique_lock l(s.m);
    s.cv.wait(l, [&] { return !s.pending || s.abandon; });
    return !s.stop;
  };

  const bool watchInput = mask_ & evRxChar;
  bool lingering = false;  // unread input: look for growth instead of POLLIN
  int lastCount = 0;
  uint64_t lastRead = 0;  // the reads' total when lastCount was taken
  for (;;) {
    pollfd fds[2] = {{fd_, short(watchInput && !lingering ? POLLIN : 0), 0}, {wakeFd_, POLLIN, 0}};
    const int r = poll(fds, 2, lingering ? 20 : -1);
    if (r < 0) {
      if (errno == EINTR) continue;
      break;  // a failed wait ends the thread, as the stop does
    }
    if (fds[1].revents) break;
    if (fds[0].revents & POLLNVAL) break;
    bool hangUp = fds[0].revents & (POLLHUP | POLLERR);

    int count = 0;
    if (ioctl(fd_, FIONREAD, &count) < 0) {
      hangUp = true;
      count = 0;
    }
    // While lingering, bytes are new when the count grew, or when anything
    // was read since it was taken (a deferred read emptied the queue and a
    // burst no larger than before arrived after it).
    const bool fresh = !lingering || count > lastCount || bytesRead_->load() != lastRead;
    uint32_t events = 0;
    if (watchInput && count > 0 && fresh) events |= evRxChar;
    const uint64_t readBefore = bytesRead_->load();
    if (events && !handOver(events)) break;
    if (hangUp) {
      std::lock_guard l(s.m);
      if (!s.stop) {
        std::weak_ptr<Shared> weak = shared_;
        QMetaObject::invokeMethod(
            s.context,
            [weak] {
              if (auto p = weak.lock()) platform::Guard(p->vanished);
            },
            Qt::QueuedConnection);
      }
      break;
    }
    // Taken before the count, so a read after the count shows as a change.
    lastRead = bytesRead_->load();
    if (ioctl(fd_, FIONREAD, &count) < 0) count = 0;
    // Bytes waiting after a handler that read arrived during its dispatch:
    // poll reports them at once. Only bytes a handler chose to leave linger.
    const bool handlerRead = lastRead != readBefore;
    lingering = count > 0 && !(events && handlerRead);
    lastCount = count;
  }

  // Leaving: received bytes are discarded, as nothing will read them any
  // more. Output already written is left to drain: a last command written
  // just before close ("end-morvel", "reboot-system") must still go out.
  tcflush(fd_, TCIFLUSH);
}

}  // namespace comm

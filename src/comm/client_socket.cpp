#include "client_socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <strings.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <QObject>
#include <QSocketNotifier>
#include <cerrno>

#include "platform/ui/errors.h"
#include "socket_error.h"

namespace comm {

namespace {
constexpr int kNoAddressCode = 1110;  // the lookup error reported for an empty address
bool WouldBlock(int e) { return e == EAGAIN || e == EWOULDBLOCK || e == EINTR; }
}  // namespace

// ---- TClientSocket ----

TClientSocket::TClientSocket() : socket_(new TClientWinSocket(*this)) {}

TClientSocket::~TClientSocket() {
  detached_ = true;
  try {
    socket_->DropSocket();
  } catch (...) {
  }
}

void TClientSocket::Fire(const SocketEvent& e) {
  if (e && !detached_) e(*socket_);
}

void TClientSocket::Open() {
  if (active_ || socket_->Connected()) return;
  socket_->Open(address_, port_);
}

void TClientSocket::Close() {
  if (!active_) return;
  socket_->Disconnect(socket_->Handle());
}

void TClientSocket::Abandon() {
  if (active_)
    Close();
  else
    socket_->DropSocket();
}

void TClientSocket::SetAddress(std::string_view address) {
  if (address.size() == address_.size() && strncasecmp(address.data(), address_.data(), address.size()) == 0)
    return;
  if (active_) throw ESocketError::ChangeWhileActive();
  address_ = std::string(address);
}

void TClientSocket::SetPort(int port) {
  if (port == port_) return;
  if (active_) throw ESocketError::ChangeWhileActive();
  port_ = port;
}

// ---- TClientWinSocket ----

TClientWinSocket::TClientWinSocket(TClientSocket& owner)
    : owner_(owner), holder_(std::make_unique<QObject>()) {}

TClientWinSocket::~TClientWinSocket() = default;

int TClientWinSocket::Report(TErrorEvent event, int code) {
  if (owner_.OnError) owner_.OnError(*this, event, code);
  return code;
}

void TClientWinSocket::Open(const std::string& address, int port) {
  if (connected_) throw ESocketError::AlreadyOpen();
  // An earlier attempt that failed or is still under way gives way to this one.
  DropSocket();
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) throw ESocketError::CannotCreate();
  fd_ = fd;
  // The link sends console key presses (single blanks, ESC) and short command
  // lines, each answered before the next query: waiting to coalesce them
  // (Nagle) stalls a read-out on the peer's delayed acknowledgement.
  const int noDelay = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
  try {
    owner_.Fire(owner_.OnLookup);
    if (address.empty()) {
      const int code = Report(TErrorEvent::eeLookup, kNoAddressCode);
      Disconnect(fd);
      if (code != 0) throw ESocketError::NoAddress();
      return;
    }
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = inet_addr(address.c_str());  // a name gives INADDR_NONE
    addr.sin_port = htons(uint16_t(port & 0xFFFF));

    readNotifier_ = new QSocketNotifier(fd, QSocketNotifier::Read, holder_.get());
    readNotifier_->setEnabled(false);  // armed once connected
    QObject::connect(readNotifier_, &QSocketNotifier::activated, holder_.get(),
                     [this] { platform::Guard([this] { Readable(); }); });
    writeNotifier_ = new QSocketNotifier(fd, QSocketNotifier::Write, holder_.get());
    QObject::connect(writeNotifier_, &QSocketNotifier::activated, holder_.get(),
                     [this] { platform::Guard([this] { Writable(); }); });
    connecting_ = true;

    owner_.Fire(owner_.OnConnecting);
    if (fd_ != fd) return;  // the handler started something else
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) < 0 && errno != EINPROGRESS &&
        errno != EINTR)
      throw ESocketError::Platform(errno, "connect");
  } catch (...) {
    Disconnect(fd);
    throw;
  }
}

void TClientWinSocket::Writable() {
  if (connecting_) {
    // The attempt has an outcome; SO_ERROR tells which.
    connecting_ = false;
    int err = 0;
    socklen_t len = sizeof err;
    if (getsockopt(fd_, SOL_SOCKET, SO_ERROR, &err, &len) < 0) err = errno;
    if (err != 0) {
      // A failed attempt only reports; it stays quiet until the next open.
      WatchWrite(false);
      const int code = Report(TErrorEvent::eeConnect, err);
      if (code != 0) throw ESocketError::Async(code);
      return;
    }
    connected_ = true;
    WatchRead(true);
    WatchWrite(PendingOutput() > 0);
    owner_.active_ = true;
    owner_.Fire(owner_.OnConnect);
    return;
  }
  if (!connected_) return;
  if (!Flush()) return;
  if (PendingOutput() == 0) {
    WatchWrite(false);
    owner_.Fire(owner_.OnWrite);
  }
}

void TClientWinSocket::Readable() {
  if (!connected_) return;
  const int fd = fd_;
  // Fired once per arrival: bytes a handler leaves unread are reported again
  // only after its next read. Until then the notification is switched off
  // (a nested event loop would otherwise report them over and over). It
  // stays on while handlers read what they are told of: switching it costs
  // the dispatcher two wake-ups, once per reply.
  if (awaitingRead_) {
    WatchRead(false);
    return;
  }
  int waiting = 0;
  char probe;
  ssize_t n = 1;
  if (ioctl(fd, FIONREAD, &waiting) < 0 || waiting == 0) n = ::recv(fd, &probe, 1, MSG_PEEK);
  if (n > 0) {
    awaitingRead_ = true;
    owner_.Fire(owner_.OnRead);
    if (fd_ == fd && awaitingRead_) WatchRead(false);
    return;
  }
  if (n < 0 && WouldBlock(errno)) return;
  if (n == 0) {  // the peer closed its side
    Disconnect(fd);
    return;
  }
  // A close that carries an error (a reset): report it, and disconnect, so a
  // dead connection never stays shown as connected.
  const int code = Report(TErrorEvent::eeDisconnect, errno);
  Disconnect(fd);
  if (code != 0) throw ESocketError::Async(code);
}

int TClientWinSocket::ReceiveBytes(char* buffer, int count) {
  if (!connected_) return 0;
  if (count == -1) {
    int waiting = 0;
    return ioctl(fd_, FIONREAD, &waiting) < 0 ? 0 : waiting;
  }
  if (count < 0) count = 0;
  const ssize_t n = ::recv(fd_, buffer, size_t(count), 0);
  const int e = errno;
  awaitingRead_ = false;
  WatchRead(true);
  if (n >= 0) return int(n);
  if (WouldBlock(e)) return -1;
  const int fd = fd_;
  const int code = Report(TErrorEvent::eeReceive, e);
  Disconnect(fd);
  if (code != 0) throw ESocketError::Platform(code, "recv");
  return -1;
}

int TClientWinSocket::TransmitText(std::string_view text) {
  if (!connected_) return 0;
  if (text.empty()) return 0;
  out_.append(text);
  if (!Flush()) return -1;
  WatchWrite(PendingOutput() > 0);
  return int(text.size());
}

bool TClientWinSocket::Flush() {
  while (outPos_ < out_.size()) {
    const ssize_t n = ::send(fd_, out_.data() + outPos_, out_.size() - outPos_, MSG_NOSIGNAL);
    if (n > 0) {
      outPos_ += size_t(n);
      continue;
    }
    if (n < 0 && WouldBlock(errno)) break;
    SendFailed(n < 0 ? errno : EPIPE, fd_);
    return false;
  }
  if (outPos_ == out_.size()) {
    out_.clear();
    outPos_ = 0;
  } else if (outPos_ > (1u << 20) && outPos_ * 2 > out_.size()) {
    out_.erase(0, outPos_);  // keep the buffer from growing without end
    outPos_ = 0;
  }
  return true;
}

void TClientWinSocket::SendFailed(int err, int fd) {
  const int code = Report(TErrorEvent::eeSend, err);
  Disconnect(fd);
  if (code != 0) throw ESocketError::Platform(code, "send");
}

void TClientWinSocket::WatchWrite(bool on) {
  if (writeNotifier_ && writeNotifier_->isEnabled() != on) writeNotifier_->setEnabled(on);
}

void TClientWinSocket::WatchRead(bool on) {
  if (readNotifier_ && readNotifier_->isEnabled() != on) readNotifier_->setEnabled(on);
}

void TClientWinSocket::Disconnect(int fd) {
  if (fd < 0 || fd != fd_) return;
  owner_.active_ = false;
  owner_.Fire(owner_.OnDisconnect);  // the socket is still open here
  if (fd_ != fd) return;             // the handler already dropped it
  DropSocket();
}

void TClientWinSocket::DropSocket() {
  // Notifiers may be mid-callback: disable now, delete from the event loop.
  for (QSocketNotifier** n : {&readNotifier_, &writeNotifier_}) {
    if (!*n) continue;
    (*n)->setEnabled(false);
    (*n)->deleteLater();
    *n = nullptr;
  }
  const int fd = fd_;
  fd_ = -1;
  connecting_ = false;
  connected_ = false;
  awaitingRead_ = false;
  out_.clear();
  outPos_ = 0;
  if (fd >= 0 && ::close(fd) < 0 && errno != EINTR) throw ESocketError::Platform(errno, "closesocket");
}

}  // namespace comm

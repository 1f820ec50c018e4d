#include "gwsim/simulator.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

namespace gwsim {

using Clock = std::chrono::steady_clock;

namespace {

// 8N1 is ten bits per byte: 10 / 9600 s.
constexpr auto kByteTime9600 = std::chrono::nanoseconds(1'041'667);
// Piece size when pacing without an explicit chunk size.
constexpr std::size_t kPacedPiece = 4;

std::string escaped(std::string_view bytes) {
  std::string out;
  for (const unsigned char c : bytes) {
    switch (c) {
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      default:
        if (c < 0x20 || c >= 0x7f) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\x%02X", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out;
}

void setNonBlocking(int fd) { ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK); }

/// Where the symbolic link `path` leads; nothing if it is not one (errno says why).
std::optional<std::string> linkTarget(const std::string& path) {
  char target[256];
  const ssize_t n = ::readlink(path.c_str(), target, sizeof target);
  if (n < 0) return std::nullopt;
  return std::string(target, static_cast<std::size_t>(n));
}

}  // namespace

SimulatorError SimulatorError::systemCall(const std::string& what, int errnoValue) {
  return SimulatorError(what + ": " + std::strerror(errnoValue));
}

SimulatorError SimulatorError::refused(const std::string& why) { return SimulatorError(why); }

struct Simulator::Link {
  Link(const char* n, bool isTcp, GatewayConfig& config, const ConsoleOptions& options, Counters& counters)
      : name(n), tcp(isTcp), console(config, options, &counters) {}
  const char* name;
  bool tcp;
  int fd = -1;
  Console console;
  std::string out;
  std::size_t sent = 0;
  Clock::time_point nextWrite{};
  bool waitWritable = false;
  bool closeAfterFlush = false;
  bool rebootAfterFlush = false;
  bool paceArmed = false;
  Clock::time_point heldEndAt = Clock::time_point::max();  // a held closing line goes out then
  // read9600: bytes still on the wire, and when the first of them started
  // (or the last ended).
  std::string inbound;
  Clock::time_point inboundAt{};
  bool pending() const { return fd >= 0 && sent < out.size(); }
};

Simulator::Simulator(SimulatorOptions options) : options_(std::move(options)), config_(options_.config) {
  options_.console.holdSaveEnd = options_.saveEndDelay.count() > 0;
  options_.console.holdStatusEnd = options_.statusEndDelay.count() > 0;
}

Simulator::~Simulator() { stop(); }

void Simulator::start() {
  if (running_) return;
  started_ = Clock::now();
  loopEnded_ = false;
  commands_.clear();
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) throw SimulatorError::systemCall("pipe2", errno);
  wakeRead_ = pipeFds[0];
  wakeWrite_ = pipeFds[1];
  tcpLink_ = std::make_unique<Link>("tcp", true, config_, options_.console, counters_);
  ptyLink_ = std::make_unique<Link>("serial", false, config_, options_.console, counters_);
  bootTime_ = started_;
  if (!options_.transcriptPath.empty())
    transcriptFile_.open(options_.transcriptPath, std::ios::app | std::ios::binary);
  for (Link* l : {tcpLink_.get(), ptyLink_.get()}) {
    // Read inside Console::feed, which runs with mutex_ held.
    l->console.setUptimeSource([this] {
      return std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - bootTime_).count();
    });
  }
  try {
    if (options_.tcp) openTcp();
    if (options_.pty) openPty();
  } catch (...) {
    running_ = true;  // let stop() close what was opened
    stop();
    throw;
  }
  running_ = true;
  thread_ = std::thread([this] { run(); });
}

void Simulator::stop() {
  if (!running_) return;
  if (thread_.joinable()) {
    post(Command::Stop);
    thread_.join();
  }
  if (tcpLink_) closeLink(*tcpLink_, false);
  closePtyNow();
  if (listenFd_ >= 0) ::close(listenFd_);
  listenFd_ = -1;
  if (wakeRead_ >= 0) ::close(wakeRead_);
  if (wakeWrite_ >= 0) ::close(wakeWrite_);
  wakeRead_ = wakeWrite_ = -1;
  transcriptFile_.close();
  running_ = false;
}

void Simulator::openTcp() {
  listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (listenFd_ < 0) throw SimulatorError::systemCall("socket", errno);
  const int one = 1;
  ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = htons(options_.tcpPort);
  if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0)
    throw SimulatorError::systemCall("bind 127.0.0.1:" + std::to_string(options_.tcpPort), errno);
  if (::listen(listenFd_, 4) != 0) throw SimulatorError::systemCall("listen", errno);
  socklen_t len = sizeof addr;
  ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len);
  tcpPort_ = ntohs(addr.sin_port);
}

void Simulator::openPty() {
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master < 0) throw SimulatorError::systemCall("posix_openpt", errno);
  ptyLink_->fd = master;
  if (::grantpt(master) != 0) throw SimulatorError::systemCall("grantpt", errno);
  if (::unlockpt(master) != 0) throw SimulatorError::systemCall("unlockpt", errno);
  char name[128];
  if (::ptsname_r(master, name, sizeof name) != 0) throw SimulatorError::systemCall("ptsname_r", errno);
  ptyPath_ = name;
  // Our own slave descriptor keeps the master from reading EIO while the
  // tool has the port closed, and makes the line raw before anyone opens it.
  ptySlaveFd_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (ptySlaveFd_ < 0) throw SimulatorError::systemCall("open " + ptyPath_, errno);
  termios t{};
  if (::tcgetattr(ptySlaveFd_, &t) != 0) throw SimulatorError::systemCall("tcgetattr", errno);
  ::cfmakeraw(&t);
  ::cfsetispeed(&t, B9600);
  ::cfsetospeed(&t, B9600);
  if (::tcsetattr(ptySlaveFd_, TCSANOW, &t) != 0) throw SimulatorError::systemCall("tcsetattr", errno);
  setNonBlocking(master);
  if (!options_.ptyLink.empty()) {
    if (const auto target = linkTarget(options_.ptyLink)) {
      // Replace only a stale link of an earlier run, never someone else's link.
      if (!target->starts_with("/dev/pts/"))
        throw SimulatorError::refused(options_.ptyLink +
                                      " is a link that does not lead to a pseudo-terminal");
      ::unlink(options_.ptyLink.c_str());
    } else if (errno != ENOENT) {
      throw SimulatorError::refused(options_.ptyLink + " exists and is not a symbolic link");
    }
    if (::symlink(ptyPath_.c_str(), options_.ptyLink.c_str()) != 0)
      throw SimulatorError::systemCall("symlink " + options_.ptyLink, errno);
  }
}

void Simulator::closePtyNow() {
  if (!ptyLink_) return;
  if (ptyLink_->fd >= 0) ::close(ptyLink_->fd);
  ptyLink_->fd = -1;
  ptyLink_->out.clear();
  ptyLink_->sent = 0;
  ptyLink_->inbound.clear();
  if (ptySlaveFd_ >= 0) ::close(ptySlaveFd_);
  ptySlaveFd_ = -1;
  if (!options_.ptyLink.empty() && !ptyPath_.empty() && linkTarget(options_.ptyLink) == ptyPath_)
    ::unlink(options_.ptyLink.c_str());
}

void Simulator::post(Command c) {
  if (!thread_.joinable() || std::this_thread::get_id() == thread_.get_id()) {
    execute(c);  // no loop to hand it to
    return;
  }
  std::unique_lock lock(commandMutex_);
  commands_.push_back(c);
  const std::uint64_t ticket = ++commandsPosted_;
  const char b = 1;
  [[maybe_unused]] const ssize_t w = ::write(wakeWrite_, &b, 1);
  commandDone_.wait(lock, [&] { return commandsDone_ >= ticket || loopEnded_; });
}

void Simulator::execute(Command c) {
  if (c == Command::DropClient && tcpLink_) closeLink(*tcpLink_, true);
  if (c == Command::ClosePty) closePtyNow();
  if (c == Command::StallPty && ptySlaveFd_ >= 0) ::tcflow(ptySlaveFd_, TCOOFF);
}

void Simulator::dropTcpClient() { post(Command::DropClient); }
void Simulator::closePty() { post(Command::ClosePty); }
void Simulator::stallPty() { post(Command::StallPty); }

GatewayConfig Simulator::config() const {
  std::lock_guard lock(mutex_);
  return config_;
}

void Simulator::setConfig(const GatewayConfig& config) {
  std::lock_guard lock(mutex_);
  config_ = config;
}

std::string Simulator::transcript() const {
  std::lock_guard lock(mutex_);
  return transcript_;
}

Counters Simulator::counters() const {
  std::lock_guard lock(mutex_);
  return counters_;
}

std::uint64_t Simulator::tcpClientsAccepted() const {
  std::lock_guard lock(mutex_);
  return tcpAccepted_;
}

// Called with mutex_ held.
void Simulator::record(const char* direction, const Link& link, std::string_view bytes) {
  const double t = std::chrono::duration<double>(Clock::now() - started_).count();
  char stamp[48];
  std::snprintf(stamp, sizeof stamp, "[%11.6f] %-6s %s ", t, link.name, direction);
  const std::string entry = stamp + ("\"" + escaped(bytes) + "\"\n");
  transcript_ += entry;
  if (transcriptFile_.is_open()) transcriptFile_ << entry << std::flush;
}

void Simulator::receive(Link& link, const char* data, std::size_t n, bool recorded) {
  std::lock_guard lock(mutex_);
  if (!recorded) record("<<", link, {data, n});
  if (rebooting_ || link.rebootAfterFlush || link.closeAfterFlush) return;  // nobody is listening
  const std::string reply = link.console.feed({data, n});
  if (!reply.empty()) {
    record(">>", link, reply);
    link.out += reply;
  }
  switch (link.console.takeRequest()) {
    case Console::Request::Reboot:
      link.rebootAfterFlush = true;
      rebootPending_ = true;
      break;
    case Console::Request::EndSession:
      if (link.tcp) link.closeAfterFlush = true;  // over serial the line simply stays idle
      break;
    case Console::Request::SaveEndHeld: link.heldEndAt = Clock::now() + options_.saveEndDelay; break;
    case Console::Request::StatusEndHeld: link.heldEndAt = Clock::now() + options_.statusEndDelay; break;
    case Console::Request::None: break;
  }
}

void Simulator::flush(Link& link, Clock::time_point now) {
  const bool paced = options_.chunkBytes > 0 || options_.pace9600;
  auto pieceSize = [&] {
    std::size_t piece = link.out.size() - link.sent;
    if (options_.chunkBytes > 0)
      piece = std::min(piece, options_.chunkBytes);
    else if (options_.pace9600)
      piece = std::min(piece, kPacedPiece);
    return piece;
  };
  // On a 9600-baud line a piece is complete only after its bytes' time on
  // the wire, so the first piece of a burst waits too.
  if (options_.pace9600 && link.pending() && !link.paceArmed) {
    link.paceArmed = true;
    link.nextWrite = now + kByteTime9600 * pieceSize();
  }
  while (link.pending() && now >= link.nextWrite) {
    const std::size_t piece = pieceSize();
    const char* p = link.out.data() + link.sent;
    const ssize_t n = link.tcp ? ::send(link.fd, p, piece, MSG_NOSIGNAL) : ::write(link.fd, p, piece);
    if (n < 0) {
      if (errno == EAGAIN || errno == EWOULDBLOCK) {
        link.waitWritable = true;
      } else if (errno != EINTR) {
        linkFailed(link, now);
      }
      return;
    }
    link.waitWritable = false;
    link.sent += static_cast<std::size_t>(n);
    if (paced && link.pending()) {
      Clock::duration delay = Clock::duration::zero();
      if (options_.pace9600) delay = kByteTime9600 * pieceSize();
      if (options_.chunkBytes > 0) delay = std::max<Clock::duration>(delay, options_.chunkPause);
      // Each deadline follows the previous one, so the poll loop's wake-up
      // latency does not add up over a long reply; after a stall longer than
      // a piece (a full pty, a busy machine) the pace starts again from now.
      link.nextWrite = now - link.nextWrite < delay ? link.nextWrite + delay : now + delay;
    }
  }
  if (link.fd >= 0 && link.sent >= link.out.size()) {
    link.out.clear();
    link.sent = 0;
    link.paceArmed = false;
    if (link.rebootAfterFlush) {
      link.rebootAfterFlush = false;
      beginReboot(now);
    } else if (link.closeAfterFlush) {
      closeLink(link, false);
    }
  }
}

void Simulator::releaseHeldEnd(Link& link, Clock::time_point now) {
  if (now < link.heldEndAt) return;
  link.heldEndAt = Clock::time_point::max();
  std::lock_guard lock(mutex_);
  const std::string end = link.console.releaseHeldEnd();
  if (end.empty()) return;
  record(">>", link, end);
  link.out += end;
}

// A pseudo-terminal's buffer takes some 18 KB before a writer waits, more
// than a whole save, so reading slowly alone would never hold the tool's
// writes back. Instead the slave's output is suspended (tcflow) from the
// moment bytes are read until they are across the wire: a write made
// meanwhile waits for POLLOUT. The pty hands written bytes to the reading
// side through a kernel worker, so writes made within microseconds of each
// other (a whole script) arrive as one burst before the line is suspended;
// the write after such a burst waits for all of it. The transcript shows
// each read as it is taken; the bytes reach the console line by line as
// their time passes, so its echo overlaps the rest of a burst as on a
// full-duplex line.
void Simulator::takePaced(Link& link, const char* data, std::size_t n, Clock::time_point now) {
  {
    std::lock_guard lock(mutex_);
    record("<<", link, {data, n});
  }
  if (link.inbound.empty()) {
    link.inboundAt = std::max(now, link.inboundAt);
    ::tcflow(ptySlaveFd_, TCOOFF);
  }
  link.inbound.append(data, n);
}

void Simulator::deliverPaced(Link& link, Clock::time_point now) {
  if (link.inbound.empty() || now < link.inboundAt) return;
  const auto across = static_cast<std::size_t>((now - link.inboundAt) / kByteTime9600);
  const std::size_t n = std::min(across, link.inbound.size());
  if (n == 0) return;
  const std::string bytes = link.inbound.substr(0, n);
  link.inbound.erase(0, n);
  link.inboundAt += kByteTime9600 * n;
  if (link.inbound.empty()) ::tcflow(ptySlaveFd_, TCOON);  // the wire is free
  receive(link, bytes.data(), bytes.size(), true);
}

Clock::time_point Simulator::nextPacedLine(const Link& link) const {
  // The next line end across the wire, or the last byte.
  const std::size_t end = link.inbound.find_first_of("\r\n");
  const std::size_t bytes = end == std::string::npos ? link.inbound.size() : end + 1;
  return link.inboundAt + kByteTime9600 * bytes;
}

void Simulator::closeLink(Link& link, bool reset) {
  if (link.tcp && link.fd >= 0) {
    if (reset) {
      const linger l{1, 0};
      ::setsockopt(link.fd, SOL_SOCKET, SO_LINGER, &l, sizeof l);
    }
    ::close(link.fd);
    link.fd = -1;
    tcpClientConnected_ = false;
  }
  if (link.rebootAfterFlush && !rebooting_) rebootPending_ = false;  // dropped before it rebooted
  link.out.clear();
  link.sent = 0;
  link.closeAfterFlush = link.rebootAfterFlush = link.waitWritable = link.paceArmed = false;
  link.heldEndAt = Clock::time_point::max();
  std::lock_guard lock(mutex_);
  link.console.reset();
}

void Simulator::linkFailed(Link& link, Clock::time_point now) {
  // A client that leaves right after "reboot-system" still reboots the gateway.
  if (link.rebootAfterFlush)
    beginReboot(now);
  else
    closeLink(link, false);
}

void Simulator::beginReboot(Clock::time_point now) {
  rebootEnd_ = now + options_.rebootSilence;
  rebooting_ = true;
  rebootPending_ = false;
  closeLink(*tcpLink_, false);
  ptyLink_->out.clear();
  ptyLink_->sent = 0;
  ptyLink_->rebootAfterFlush = false;
  ptyLink_->paceArmed = false;
}

void Simulator::run() {
  runLoop();
  // Whatever ended the loop, nobody may keep waiting for it.
  std::lock_guard lock(commandMutex_);
  loopEnded_ = true;
  commandDone_.notify_all();
}

void Simulator::runLoop() {
  std::vector<pollfd> fds;
  char buf[4096];
  for (;;) {
    const auto now = Clock::now();
    if (rebooting_ && now >= rebootEnd_) {
      rebooting_ = false;
      std::lock_guard lock(mutex_);
      bootTime_ = now;
      tcpLink_->console.reset();
      ptyLink_->console.reset();
    }

    // Wait for input, a writable descriptor, the next paced piece or the end of a reboot.
    fds.clear();
    fds.push_back({wakeRead_, POLLIN, 0});
    const bool acceptNow = listenFd_ >= 0 && tcpLink_->fd < 0 && !rebooting_;
    if (acceptNow) fds.push_back({listenFd_, POLLIN, 0});
    Link* links[2] = {tcpLink_.get(), ptyLink_.get()};
    std::size_t linkIndex[2] = {0, 0};
    Clock::time_point wake = Clock::time_point::max();
    if (rebooting_) wake = rebootEnd_;
    for (int i = 0; i < 2; ++i) {
      Link& l = *links[i];
      if (l.fd < 0) continue;
      wake = std::min(wake, l.heldEndAt);
      if (!l.inbound.empty()) wake = std::min(wake, nextPacedLine(l));
      short events = POLLIN;
      if (l.pending()) {
        if (l.waitWritable)
          events |= POLLOUT;
        else
          wake = std::min(wake, l.nextWrite);
      }
      linkIndex[i] = fds.size();
      fds.push_back({l.fd, events, 0});
    }
    timespec ts{};
    timespec* timeout = nullptr;
    if (wake != Clock::time_point::max()) {
      const auto left = std::max(Clock::duration::zero(), wake - Clock::now());
      const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
      ts.tv_sec = ns / 1'000'000'000;
      ts.tv_nsec = ns % 1'000'000'000;
      timeout = &ts;
    }
    if (::ppoll(fds.data(), fds.size(), timeout, nullptr) < 0 && errno != EINTR) break;

    if (fds[0].revents & POLLIN) {
      while (::read(wakeRead_, buf, sizeof buf) > 0) {
      }
      std::deque<Command> todo;
      {
        std::lock_guard lock(commandMutex_);
        todo.swap(commands_);
      }
      bool stopNow = false;
      for (const Command c : todo) {
        if (c == Command::Stop)
          stopNow = true;
        else
          execute(c);
      }
      {
        std::lock_guard lock(commandMutex_);
        commandsDone_ += todo.size();
      }
      commandDone_.notify_all();
      if (stopNow) return;
    }

    if (acceptNow && (fds[1].revents & POLLIN)) {
      const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
      if (fd >= 0) {
        const int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        Link& l = *tcpLink_;
        l.fd = fd;
        l.nextWrite = Clock::time_point{};
        tcpClientConnected_ = true;
        std::lock_guard lock(mutex_);
        l.console.reset();
        ++tcpAccepted_;
      }
    }

    for (int i = 0; i < 2; ++i) {
      Link& l = *links[i];
      const std::size_t k = linkIndex[i];
      if (k == 0 || l.fd < 0 || fds[k].fd != l.fd) continue;
      const short rev = fds[k].revents;
      if (rev & (POLLIN | POLLHUP | POLLERR)) {
        const ssize_t n = ::read(l.fd, buf, sizeof buf);
        if (n > 0) {
          if (!l.tcp && options_.read9600)
            takePaced(l, buf, static_cast<std::size_t>(n), Clock::now());
          else
            receive(l, buf, static_cast<std::size_t>(n));
        } else if (l.tcp && (n == 0 || (errno != EAGAIN && errno != EINTR))) {
          linkFailed(l, Clock::now());  // the client has gone
          continue;
        } else if (!l.tcp && n < 0 && errno == EIO) {
          closePtyNow();  // the terminal is gone; stop polling it
          continue;
        }
      }
      if (rev & POLLOUT) l.waitWritable = false;
      deliverPaced(l, Clock::now());
      releaseHeldEnd(l, Clock::now());
      flush(l, Clock::now());
    }
  }
}

}  // namespace gwsim

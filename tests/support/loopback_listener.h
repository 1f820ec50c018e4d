#pragma once
// A listening socket on 127.0.0.1 and the one peer it accepts, for tests that
// play the far end of a TCP connection. Accept and Read are bounded, so a
// connection that never comes fails the test instead of hanging it.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

namespace testsupport {

struct LoopbackListener {
  int fd = -1;
  int peer = -1;
  int port = 0;
  int filler = -1;
  /// With a backlog of 0 the queue holds one connection waiting for accept.
  explicit LoopbackListener(int backlog = 4) {
    fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    listen(fd, backlog);
    socklen_t len = sizeof a;
    getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    port = ntohs(a.sin_port);
  }
  ~LoopbackListener() {
    ClosePeer();
    if (filler >= 0) close(filler);
    close(fd);
  }
  /// Fills a backlog-0 queue with a client of its own, so a further
  /// connection attempt waits until Accept makes room.
  void FillQueue() {
    filler = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(uint16_t(port));
    connect(filler, reinterpret_cast<sockaddr*>(&a), sizeof a);
  }
  LoopbackListener(const LoopbackListener&) = delete;
  LoopbackListener& operator=(const LoopbackListener&) = delete;

  /// Waits at most `ms` for a connection; true when `peer` holds it.
  bool Accept(int ms = 2000) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, ms) <= 0) return false;
    peer = accept(fd, nullptr, nullptr);
    return peer >= 0;
  }
  void ClosePeer() {
    if (peer >= 0) close(peer);
    peer = -1;
  }
  /// Closes the peer with a reset instead of an orderly close.
  void Reset() {
    linger l{1, 0};
    setsockopt(peer, SOL_SOCKET, SO_LINGER, &l, sizeof l);
    ClosePeer();
  }
  /// What the peer received, up to `want` bytes, read for at most `ms`.
  std::string Read(size_t want, int ms = 2000) const {
    std::string got;
    for (int waited = 0; got.size() < want && waited < ms; waited += 20) {
      pollfd p{peer, POLLIN, 0};
      if (poll(&p, 1, 20) <= 0) continue;
      char buf[4096];
      const ssize_t n = recv(peer, buf, sizeof buf, 0);
      if (n <= 0) break;
      got.append(buf, size_t(n));
    }
    return got;
  }
};

}  // namespace testsupport

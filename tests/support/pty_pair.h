#pragma once
// A pseudo-terminal pair for tests that play the far end of a serial line:
// the port under test opens the slave by `path`, the test talks on the
// master. The slave stays open here too, so its settings can be read and the
// port's close does not hang up the line.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <string_view>

namespace testsupport {

struct PtyPair {
  int master = -1;
  int slave = -1;
  std::string path;
  /// A blocking master suits a writer that should wait while the line is full.
  explicit PtyPair(bool nonBlockingMaster = true) {
    master = posix_openpt(O_RDWR | O_NOCTTY | (nonBlockingMaster ? O_NONBLOCK : 0));
    if (master < 0 || grantpt(master) < 0 || unlockpt(master) < 0) return;
    path = ptsname(master);
    slave = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  }
  ~PtyPair() {
    CloseMaster();
    if (slave >= 0) close(slave);
  }
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  void CloseMaster() {
    if (master >= 0) close(master);
    master = -1;
  }
  void Write(std::string_view s) const { ASSERT_EQ(write(master, s.data(), s.size()), ssize_t(s.size())); }
  /// What the port sent, up to `want` bytes, read for at most `ms`.
  std::string Read(size_t want, int ms = 2000) const {
    std::string got;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (got.size() < want && std::chrono::steady_clock::now() < end) {
      pollfd p{master, POLLIN, 0};
      if (poll(&p, 1, 20) <= 0) continue;
      char buf[4096];
      const ssize_t n = read(master, buf, sizeof buf);
      if (n > 0) got.append(buf, size_t(n));
    }
    return got;
  }
};

}  // namespace testsupport

#include "gwsim/simulator.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include "console_lines.h"

namespace gwsim {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

/// Reads from `fd` until `done` holds for what arrived, the far end closes,
/// or `timeout` passes. Never blocks longer than the timeout.
struct ReadResult {
  std::string data;
  int reads = 0;
  bool closed = false;
  int error = 0;
};

ReadResult readUntil(int fd, const std::function<bool(const std::string&)>& done,
                     std::chrono::milliseconds timeout = 2000ms) {
  ReadResult r;
  const auto end = Clock::now() + timeout;
  while (!done(r.data)) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
    if (left <= 0) break;
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(left)) <= 0) continue;
    char buf[4096];
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n > 0) {
      r.data.append(buf, static_cast<std::size_t>(n));
      ++r.reads;
    } else if (n == 0) {
      r.closed = true;
      break;
    } else if (errno != EAGAIN && errno != EINTR) {
      r.error = errno;
      break;
    }
  }
  return r;
}

auto contains(std::string what) {
  return [what](const std::string& s) { return s.find(what) != std::string::npos; };
}

int connectTo(std::uint16_t port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(port);
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
    ::close(fd);
    return -1;
  }
  ::fcntl(fd, F_SETFL, O_NONBLOCK);
  return fd;
}

void send(int fd, std::string_view s) {
  ASSERT_EQ(::write(fd, s.data(), s.size()), static_cast<ssize_t>(s.size()));
}

SimulatorOptions tcpOptions() {
  SimulatorOptions o;
  o.tcp = true;
  o.tcpPort = 0;
  o.rebootSilence = 300ms;
  return o;
}

// Catches a TCP console that does not answer, or that mixes up line ends or
// chunking: single-byte writes arrive in many reads and add up to the same bytes.
TEST(TransportTest, TcpConversationInSingleByteChunks) {
  SimulatorOptions o = tcpOptions();
  o.chunkBytes = 1;
  o.chunkPause = 1ms;
  o.console.lineEnd = LineEnd::Lf;
  Simulator sim(o);
  sim.start();
  ASSERT_NE(sim.tcpPort(), 0);
  const int fd = connectTo(sim.tcpPort());
  ASSERT_GE(fd, 0);
  send(fd, "start-login admin admin\r");
  const auto r = readUntil(fd, contains("Login ok\n"));
  EXPECT_EQ(r.data, "start-login admin admin\nLogin ok\n");
  // More than one read however busy the machine (a busy reader may find
  // several pieces waiting at once).
  EXPECT_GT(r.reads, 1);
  EXPECT_EQ(sim.counters().loginsAccepted, 1u);
  ::close(fd);
}

// Catches a second client being served while the first is connected, or a
// session state that survives into the next client's connection.
TEST(TransportTest, TcpServesOneClientAtATime) {
  Simulator sim(tcpOptions());
  sim.start();
  const int a = connectTo(sim.tcpPort());
  send(a, "start-login admin admin\r");
  ASSERT_TRUE(contains("Login ok")(readUntil(a, contains("Login ok")).data));
  EXPECT_TRUE(sim.tcpClientConnected());

  const int b = connectTo(sim.tcpPort());  // waits in the backlog
  ASSERT_GE(b, 0);
  send(b, "get-model\r");
  EXPECT_EQ(readUntil(b, contains("!END-TAG!"), 200ms).data, "");

  ::close(a);
  const auto r = readUntil(b, contains("!END-TAG!"));
  const auto lines = test::splitLines(r.data);
  ASSERT_EQ(lines.size(), 3u) << r.data;
  EXPECT_EQ(lines[0], "get-model");
  EXPECT_EQ(lines[1].rfind("%", 0), 0u) << "a new client starts logged out";
  EXPECT_EQ(sim.tcpClientsAccepted(), 2u);
  ::close(b);
}

// Catches a reset hook that closes gracefully (the tool must see an error,
// not an orderly end).
TEST(TransportTest, DropTcpClientResetsTheConnection) {
  Simulator sim(tcpOptions());
  sim.start();
  const int fd = connectTo(sim.tcpPort());
  send(fd, "\r");
  readUntil(fd, contains("\n"));
  sim.dropTcpClient();
  const auto r = readUntil(
      fd, [](const std::string&) { return false; }, 1000ms);
  EXPECT_EQ(r.error, ECONNRESET);
  EXPECT_FALSE(sim.tcpClientConnected());
  ::close(fd);
}

// Catches a reboot that keeps the connection, answers during its silence, or
// comes back still logged in; and a save that does not reach config().
TEST(TransportTest, TcpSaveThenRebootClosesAndComesBackLoggedOut) {
  SimulatorOptions o = tcpOptions();
  o.transcriptPath = ::testing::TempDir() + "gwsim_transcript.txt";
  std::remove(o.transcriptPath.c_str());
  Simulator sim(o);
  sim.start();
  int fd = connectTo(sim.tcpPort());
  send(fd, "start-login admin admin\r\rwrite-system\r!START-TAG!\r");
  readUntil(fd, [](const std::string& s) { return s.find("!START-TAG!") != s.rfind("!START-TAG!"); });
  send(fd, "interface ether0.0\rip address dhcp\rqos-control 200 100\r!\r!END-TAG!\r");
  readUntil(fd, [](const std::string& s) { return s.find("!END-TAG!") != s.rfind("!END-TAG!"); });
  EXPECT_EQ(sim.config().wanType, WanType::Dhcp);
  EXPECT_TRUE(sim.config().cableModem);
  EXPECT_EQ(sim.counters().savesApplied, 1u);

  send(fd, "reboot-system\r");
  auto r = readUntil(fd, [](const std::string&) { return false; });
  EXPECT_TRUE(r.closed);
  EXPECT_NE(r.data.find("reboot-system"), std::string::npos);
  EXPECT_EQ(sim.counters().reboots, 1u);
  ::close(fd);

  fd = connectTo(sim.tcpPort());
  send(fd, "get-model\r");
  EXPECT_EQ(readUntil(fd, contains("!END-TAG!"), 100ms).data, "") << "silent while rebooting";
  r = readUntil(fd, contains("!END-TAG!"));
  EXPECT_NE(r.data.find("% Please log in"), std::string::npos) << r.data;
  EXPECT_EQ(sim.config().wanType, WanType::Dhcp) << "the saved configuration survives the reboot";
  ::close(fd);

  const std::string t = sim.transcript();
  EXPECT_NE(t.find("<< \"reboot-system\\r\""), std::string::npos) << t;
  EXPECT_NE(t.find(">> \"reboot-system\\r\\n"), std::string::npos);
  sim.stop();
  std::ifstream f(o.transcriptPath);
  std::stringstream file;
  file << f.rdbuf();
  EXPECT_EQ(file.str(), t);
}

// Catches a reboot lost when the tool closes the connection right after
// sending "reboot-system" (as its Restart does).
TEST(TransportTest, RebootHappensWhenTheClientLeavesAtOnce) {
  SimulatorOptions o = tcpOptions();
  o.chunkBytes = 1;  // the echo is still going out when the client's reset arrives
  Simulator sim(o);
  sim.start();
  const int fd = connectTo(sim.tcpPort());
  send(fd, "start-login admin admin\r");
  readUntil(fd, contains("Login ok"));
  send(fd, "reboot-system\r");
  ::close(fd);
  const auto end = Clock::now() + 2s;
  while (!sim.rebooting() && Clock::now() < end) std::this_thread::sleep_for(5ms);
  EXPECT_TRUE(sim.rebooting());
  EXPECT_EQ(sim.counters().reboots, 1u);
}

// Catches a pacing that does not slow output to about 9600 baud.
TEST(TransportTest, Pace9600SpreadsOutput) {
  SimulatorOptions o = tcpOptions();
  o.pace9600 = true;
  Simulator sim(o);
  sim.start();
  const int fd = connectTo(sim.tcpPort());
  const auto start = Clock::now();
  send(fd, "get-model\r");
  const auto r = readUntil(fd, contains("!END-TAG!\r\n"));
  const auto took = Clock::now() - start;
  ASSERT_TRUE(contains("!END-TAG!\r\n")(r.data));
  // At 9600 8N1 each byte takes 1.0417 ms.
  EXPECT_GE(took, std::chrono::microseconds(static_cast<long>(r.data.size() * 1000)));
  EXPECT_LT(took, 2000ms);
  ::close(fd);
}

// Catches a pty that is not raw before the tool opens it (the line discipline
// would echo or cook the bytes), a missing link, or an EIO once the tool has
// closed its side.
TEST(TransportTest, PtyIsRawAnswersTheProbeAndSurvivesReopen) {
  SimulatorOptions o;
  o.tcp = false;
  o.pty = true;
  o.ptyLink = ::testing::TempDir() + "gwsim_tty_link";
  Simulator sim(o);
  sim.start();
  ASSERT_FALSE(sim.ptyPath().empty());
  char target[256] = {};
  ASSERT_GT(::readlink(o.ptyLink.c_str(), target, sizeof target - 1), 0);
  EXPECT_EQ(sim.ptyPath(), target);

  for (int round = 0; round < 2; ++round) {
    const int fd = ::open(o.ptyLink.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    termios t{};
    ASSERT_EQ(::tcgetattr(fd, &t), 0);
    EXPECT_EQ(t.c_lflag & (ECHO | ICANON | ISIG), 0u);
    EXPECT_EQ(t.c_iflag & (ICRNL | IXON), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    send(fd, "\r\rend\rexit\r" + std::string(10, '\x1b') + "\r?");
    const auto r = readUntil(fd, contains("\nget-wan "), 1000ms);
    EXPECT_TRUE(contains("\nget-wan ")(r.data)) << r.data;
    readUntil(fd, contains("end-morvel"), 500ms);  // rest of the help
    ::close(fd);
  }
  sim.stop();
  struct stat st {};
  EXPECT_NE(::lstat(o.ptyLink.c_str(), &st), 0) << "the link is removed at stop";
}

// Catches a serial reboot that answers during its silence or keeps the login.
TEST(TransportTest, PtyRebootGoesSilentThenComesBackLoggedOut) {
  SimulatorOptions o;
  o.tcp = false;
  o.pty = true;
  o.rebootSilence = 300ms;
  o.chunkBytes = 1;
  o.chunkPause = 50us;
  Simulator sim(o);
  sim.start();
  const int fd = ::open(sim.ptyPath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(fd, 0);
  send(fd, "start-login admin admin\r");
  ASSERT_TRUE(contains("Login ok")(readUntil(fd, contains("Login ok")).data));
  send(fd, "reboot-system\r");
  readUntil(fd, contains("restarting...\r\n"));
  send(fd, "get-model\r");
  EXPECT_EQ(readUntil(fd, contains("!END-TAG!"), 150ms).data, "");
  std::this_thread::sleep_for(250ms);  // the silence ends
  send(fd, "get-model\r");
  const auto r = readUntil(fd, contains("!END-TAG!"));
  EXPECT_NE(r.data.find("% Please log in"), std::string::npos) << r.data;
  EXPECT_EQ(r.data.find("model MVG"), std::string::npos);
  ::close(fd);
}

// Catches a pty hook that leaves the device in place (the tool would never
// see the far end vanish).
TEST(TransportTest, ClosePtyHangsUpTheSlave) {
  SimulatorOptions o;
  o.tcp = false;
  o.pty = true;
  Simulator sim(o);
  sim.start();
  const int fd = ::open(sim.ptyPath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(fd, 0);
  sim.closePty();
  pollfd p{fd, POLLIN, 0};
  ASSERT_EQ(::poll(&p, 1, 1000), 1);
  EXPECT_NE(p.revents & (POLLHUP | POLLERR), 0);
  char c;
  EXPECT_LE(::read(fd, &c, 1), 0);
  ::close(fd);
}

// Catches a config accessor that is not a snapshot, or a setConfig that the
// console does not see.
TEST(TransportTest, SetConfigIsSeenByTheConsole) {
  Simulator sim(tcpOptions());
  sim.start();
  GatewayConfig c = preset("full");
  c.model = "RN420";
  sim.setConfig(c);
  const int fd = connectTo(sim.tcpPort());
  send(fd, "start-login admin admin\rget-model\r");
  const auto r = readUntil(fd, contains("!END-TAG!"));
  EXPECT_NE(r.data.find("model RN420\r\n"), std::string::npos) << r.data;
  EXPECT_EQ(sim.config(), c);
  ::close(fd);
}

}  // namespace
}  // namespace gwsim

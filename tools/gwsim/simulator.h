#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <fstream>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>

#include "gwsim/console.h"
#include "gwsim/gateway_config.h"

namespace gwsim {

struct SimulatorOptions {
  GatewayConfig config = preset("pppoe-h323");
  ConsoleOptions console;

  bool tcp = true;
  std::uint16_t tcpPort = 0;  ///< on 127.0.0.1; 0 picks a free port (see Simulator::tcpPort)
  bool pty = false;
  std::string ptyLink;  ///< if set, a symbolic link to the pty's slave device is made here

  std::size_t chunkBytes = 0;                  ///< >0: output goes out in separate writes of this size
  std::chrono::microseconds chunkPause{1000};  ///< pause after each such piece
  bool pace9600 = false;                       ///< 9600 baud 8N1: about 1.0417 ms per byte
  /// The pty takes the tool's bytes at 9600 baud 8N1: they reach the console
  /// after their time on the wire, and until they are across the pty takes
  /// no more, so a write made meanwhile waits as on a real line.
  bool read9600 = false;
  std::string transcriptPath;                     ///< if set, the transcript is also appended to this file
  std::chrono::milliseconds rebootSilence{3000};  ///< how long "reboot-system" keeps the gateway away
  std::chrono::milliseconds saveEndDelay{0};  ///< how long a save's closing "!END-TAG!" waits (a flash write)
  std::chrono::milliseconds statusEndDelay{
      0};  ///< how long the gatekeeper status's closing "!END-TAG!" waits
};

/// A failure to set up a transport; the message names the call and the reason.
class SimulatorError : public std::runtime_error {
 public:
  static SimulatorError systemCall(const std::string& what, int errnoValue);
  static SimulatorError refused(const std::string& why);

 private:
  explicit SimulatorError(const std::string& what) : std::runtime_error(what) {}
};

/// The gateway on its transports: a TCP port on loopback (one client at a
/// time) and a pseudo-terminal that stands for its serial console. Each
/// transport has its own console session; both share one configuration.
///
/// start() opens the transports and runs a poll() loop on a thread of its
/// own, so a test can drive the tool on its main thread in the same process.
/// Every public method is thread-safe.
class Simulator {
 public:
  explicit Simulator(SimulatorOptions options);
  ~Simulator();
  Simulator(const Simulator&) = delete;
  Simulator& operator=(const Simulator&) = delete;

  /// Opens the transports and starts the thread. Throws SimulatorError.
  void start();
  /// Stops the thread and closes everything; also done by the destructor.
  void stop();

  std::uint16_t tcpPort() const { return tcpPort_; }
  /// The slave device of the pseudo-terminal ("/dev/pts/N"), empty without one.
  std::string ptyPath() const { return ptyPath_; }

  GatewayConfig config() const;
  void setConfig(const GatewayConfig& config);
  /// Both directions, one entry per read or reply: "[seconds] transport << "bytes""
  /// for bytes received from the client, ">>" for bytes sent to it, with
  /// control characters escaped (\r, \n, \xHH).
  std::string transcript() const;
  Counters counters() const;
  std::uint64_t tcpClientsAccepted() const;
  bool tcpClientConnected() const { return tcpClientConnected_; }
  /// True from the moment "reboot-system" is taken (counted) until the
  /// gateway answers again, so a caller that sees the reboot counted never
  /// finds the gateway answering before its silence.
  bool rebooting() const { return rebootPending_ || rebooting_; }

  /// Fault: resets the TCP client's connection (SO_LINGER 0, so it sees RST).
  void dropTcpClient();
  /// Fault: closes the pseudo-terminal for good, as if the device vanished.
  void closePty();
  /// Fault: the serial line stops taking the tool's bytes (its output is
  /// suspended for good), as a stuck adapter would; writes wait until their
  /// time-out. Not with read9600, which suspends and resumes it itself.
  void stallPty();

 private:
  struct Link;
  enum class Command { None, DropClient, ClosePty, StallPty, Stop };

  void run();
  void runLoop();
  void post(Command c);
  void execute(Command c);
  void openTcp();
  void openPty();
  void record(const char* direction, const Link& link, std::string_view bytes);
  /// Bytes from the client to the console; `recorded`: already in the transcript.
  void receive(Link& link, const char* data, std::size_t n, bool recorded = false);
  void flush(Link& link, std::chrono::steady_clock::time_point now);
  void releaseHeldEnd(Link& link, std::chrono::steady_clock::time_point now);
  void takePaced(Link& link, const char* data, std::size_t n, std::chrono::steady_clock::time_point now);
  void deliverPaced(Link& link, std::chrono::steady_clock::time_point now);
  std::chrono::steady_clock::time_point nextPacedLine(const Link& link) const;
  void closeLink(Link& link, bool reset);
  void linkFailed(Link& link, std::chrono::steady_clock::time_point now);
  void beginReboot(std::chrono::steady_clock::time_point now);
  void closePtyNow();

  SimulatorOptions options_;
  mutable std::mutex mutex_;  // guards config_, counters_, transcript_, consoles
  GatewayConfig config_;
  Counters counters_;
  std::uint64_t tcpAccepted_ = 0;
  std::string transcript_;
  std::ofstream transcriptFile_;  // open while running if options_.transcriptPath is set
  std::chrono::steady_clock::time_point started_;
  std::chrono::steady_clock::time_point bootTime_;  // restarts with each reboot

  int listenFd_ = -1;
  int wakeRead_ = -1, wakeWrite_ = -1;
  int ptySlaveFd_ = -1;
  std::uint16_t tcpPort_ = 0;
  std::string ptyPath_;
  std::unique_ptr<Link> tcpLink_, ptyLink_;

  std::atomic<bool> tcpClientConnected_{false};
  std::atomic<bool> rebooting_{false};
  std::atomic<bool> rebootPending_{false};  // taken, its reply still going out
  std::chrono::steady_clock::time_point rebootEnd_;

  std::mutex commandMutex_;
  std::condition_variable commandDone_;
  std::deque<Command> commands_;
  std::uint64_t commandsPosted_ = 0, commandsDone_ = 0;
  bool loopEnded_ = false;

  std::thread thread_;
  bool running_ = false;
};

}  // namespace gwsim

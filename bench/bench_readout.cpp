// Whole read-outs against the gateway simulator (a separate process) and the
// tool's CPU use while it waits:
//  - over loopback TCP, the link (DeviceLink with its real socket: login
//    and the query series to the DNS reply) against a minimal blocking client
//    that sends the same queries and waits for each "!END-TAG!" line, the two
//    alternating in the same run against the same simulator;
//  - over a pseudo-terminal with the simulator pacing its output at 9600
//    baud: elapsed time over the wire time of the bytes the gateway sent;
//  - CPU time (getrusage) over a span of waiting: connected and idle in the
//    event loop, on the status page with its polling, and inside Delay.
#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <numeric>
#include <stdexcept>
#include <string>
#include <vector>

#include "config/config_pages.h"
#include "devlink/connection.h"
#include "devlink/device_link.h"
#include "gateway_process.h"
#include "lang/message_texts.h"
#include "recording_windows.h"
#include "ui/program.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr const char* kQueries[] = {"get-model",        "get-wan",     "get-lan",
                                    "get-auto-upgrade", "get-service", "get-service-port",
                                    "get-version",      "get-voip",    "get-dns-server"};
constexpr uint32_t kReadOutLimitMs = 60000;
/// 8N1: ten bits a byte.
constexpr double kSecondsPerByte9600 = 10.0 / 9600.0;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

/// The windows, counting the bytes the transports deliver (for the wire time).
struct CountingWindows : testsupport::RecordingWindows {
  void Untraced(Traffic way, std::string_view bytes) override {
    if (way == Traffic::Received) received += int64_t(bytes.size());
  }
  int64_t received = 0;
};
struct WithCountingWindows {
  CountingWindows windows;
};

/// The link with recording windows and its connection dialog.
class Core : WithCountingWindows, public devlink::DeviceLink {
 public:
  Core() : DeviceLink(windows, windows.pages), dialog(*this, windows) {}

  /// Logs in as the login dialog does and waits for the read-out to end.
  bool ReadOut() {
    windows.trace.Clear();
    const size_t before = windows.endings.size();
    SendLogin("admin", "admin");
    return platform::DelayUntil(kReadOutLimitMs, [&] { return windows.endings.size() > before; }) &&
           windows.endings.back().outcome == devlink::Outcome::Complete;
  }

  int64_t& received = windows.received;
  devlink::TF_Connection dialog;
};

void ConnectTcp(devlink::TF_Connection& dialog, const devlink::DeviceLink& link, uint16_t port) {
  dialog.RB_TCP.Click();
  dialog.ED_host.SetText("127.0.0.1");
  dialog.ED_TCP.SetText(std::to_string(port));
  dialog.BB_ConnectClick();
  if (!link.TcpUp()) throw std::runtime_error("the link did not connect");
}

/// The minimal client: blocking socket, each query sent whole, then reads
/// until a line that begins with "!END-TAG!".
class RawClient {
 public:
  explicit RawClient(uint16_t port) {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0)
      throw std::runtime_error("raw connect");
  }
  ~RawClient() { ::close(fd_); }

  void ReadOut() {
    Command("start-login admin admin", "Login ok");
    for (const char* q : kQueries) Command(q, "!END-TAG!");
  }

 private:
  void Command(const std::string& command, std::string_view lineStart) {
    const std::string line = command + "\r";
    if (::send(fd_, line.data(), line.size(), 0) != ssize_t(line.size()))
      throw std::runtime_error("raw send");
    for (;;) {
      // Whole lines are consumed; the rest waits for more bytes.
      size_t end;
      while ((end = pending_.find_first_of("\r\n")) != std::string::npos) {
        const bool found = pending_.compare(0, lineStart.size(), lineStart) == 0;
        pending_.erase(0, end + 1);
        if (found) return;
      }
      char buffer[20000];
      const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
      if (n <= 0) throw std::runtime_error("raw recv");
      pending_.append(buffer, size_t(n));
    }
  }

  int fd_ = -1;
  std::string pending_;
};

/// The middle of the values: one read-out hit by the shared machine's
/// scheduling does not move it, as it moves a mean.
double MedianMs(std::vector<Clock::duration> v) {
  std::sort(v.begin(), v.end());
  const size_t m = v.size() / 2;
  return v.size() % 2 ? Ms(v[m]) : (Ms(v[m - 1]) + Ms(v[m])) / 2;
}

void BM_ReadOutTcp(benchmark::State& state) {
  bench::GatewayProcess gw(MORVEL_GWSIM, {"--tcp", "0", "--preset", "full"});
  std::vector<Clock::duration> tool, raw;
  for (auto _ : state) {
    {
      Core core;
      ConnectTcp(core.dialog, core, gw.tcpPort);
      const auto a = Clock::now();
      if (!core.ReadOut()) state.SkipWithError("the tool's read-out did not end");
      tool.push_back(Clock::now() - a);
      core.Disconnect();
    }
    platform::Delay(20);  // the simulator takes one client at a time
    {
      RawClient client(gw.tcpPort);
      const auto a = Clock::now();
      client.ReadOut();
      raw.push_back(Clock::now() - a);
    }
    platform::Delay(20);
  }
  if (tool.empty()) return;
  auto total = [](const std::vector<Clock::duration>& v) {
    return Ms(std::accumulate(v.begin(), v.end(), Clock::duration{}));
  };
  state.counters["tool_ms"] = MedianMs(tool);
  state.counters["raw_ms"] = MedianMs(raw);
  state.counters["tool_over_raw"] = MedianMs(tool) / MedianMs(raw);
  state.counters["mean_tool_over_raw"] = total(tool) / total(raw);
}
BENCHMARK(BM_ReadOutTcp)->Iterations(20)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadOutPty9600(benchmark::State& state) {
  bench::GatewayProcess gw(MORVEL_GWSIM, {"--no-tcp", "--pty", "--preset", "full", "--pace9600"});
  Core core;
  core.dialog.RB_Serial.Click();
  core.dialog.CB_Serial.SetPortNames({gw.ptyPath});
  core.dialog.CB_Serial.UserChoose(0);
  core.dialog.BB_ConnectClick();
  if (!core.SerialOpen() || !core.Record().ProbeAnswered()) {
    state.SkipWithError("the serial probe was not answered");
    return;
  }
  platform::Delay(2000);  // the rest of the probe's answer drains
  Clock::duration elapsed{};
  int64_t bytes = 0;
  for (auto _ : state) {
    core.received = 0;
    const auto a = Clock::now();
    if (!core.ReadOut()) state.SkipWithError("the read-out did not end");
    elapsed += Clock::now() - a;
    // The lone LF after the last "!END-TAG!" is still on the wire.
    platform::Delay(50);
    bytes += core.received;
  }
  core.SendGetData("end-morvel\r");
  core.CloseSerial();
  const double wire = double(bytes) * kSecondsPerByte9600 * 1000.0;
  state.counters["elapsed_ms"] = Ms(elapsed) / double(state.iterations());
  state.counters["wire_ms"] = wire / double(state.iterations());
  state.counters["elapsed_over_wire"] = Ms(elapsed) / wire;
}
BENCHMARK(BM_ReadOutPty9600)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

/// CPU seconds of the whole process (every thread) so far.
double CpuSeconds() {
  rusage u{};
  ::getrusage(RUSAGE_SELF, &u);
  auto s = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
  return s(u.ru_utime) + s(u.ru_stime);
}

/// Runs the event loop for `ms` as the program does between events.
void IdleInEventLoop(uint32_t ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

enum IdleCase { kConnected, kStatusPolling, kInsideDelay };

/// CPU use over a span of waiting, as a percentage of one core.
void BM_IdleCpu(benchmark::State& state) {
  const auto which = IdleCase(state.range(0));
  const uint32_t spanMs = uint32_t(state.range(1));
  bench::GatewayProcess gw(MORVEL_GWSIM, {"--tcp", "0", "--preset", "full"});
  ui::Program program([] {});
  devlink::DeviceLink& c = program.Link();
  // Connected and logged in over TCP, with the read-out done, as a visit
  // leaves it.
  ConnectTcp(program.Connection(), c, gw.tcpPort);
  c.SendGetData("start-login admin admin\r");
  c.StartIn(devlink::LinkState().Reading(devlink::Reply::Login));
  platform::DelayUntil(kReadOutLimitMs, [&] { return c.Record().ReplyState() == devlink::Reply::Dns; });
  platform::Delay(500);
  if (which == kStatusPolling) program.Main().PageControl1.UserSelect(&program.Main().Tab_Status_information);

  for (auto _ : state) {
    const double before = CpuSeconds();
    const auto a = Clock::now();
    if (which == kInsideDelay)
      platform::Delay(spanMs);
    else
      IdleInEventLoop(spanMs);
    const double wall = std::chrono::duration<double>(Clock::now() - a).count();
    state.counters["cpu_percent"] = 100.0 * (CpuSeconds() - before) / wall;
    state.counters["span_s"] = wall;
  }
  if (which == kStatusPolling)
    state.counters["status_lines"] = double(program.Main().pages.M_State_Info.Lines().size());
  c.Disconnect();
}
BENCHMARK(BM_IdleCpu)
    ->ArgNames({"case", "span_ms"})
    ->Args({kConnected, 10000})
    ->Args({kStatusPolling, 25000})
    ->Args({kInsideDelay, 10000})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

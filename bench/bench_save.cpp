// A whole 9600-baud visit with a Save, over a pseudo-terminal whose far end
// (the simulator, a separate process) takes the tool's bytes at the line's
// pace as well as sending its own at it, so every write of the tool waits as
// on a real line:
//  - the save's time on the line, from its first byte leaving the tool to
//    its closing "!END-TAG!" reaching the gateway (the simulator's
//    transcript), over the wire time of the bytes in between: what the tool
//    adds to the line's own time (the one turn-around is the handshake's
//    wait for the gateway's "!START-TAG!" echo); beside it the time from the
//    Save click to the confirmation, which also holds the gateway's echo;
//  - the longest time the event loop was kept from running during the visit
//    (connect with the probe, login, read-out, Save): how long the window
//    could not repaint.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QObject>
#include <atomic>
#include <chrono>
#include <fstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "devlink/connection.h"
#include "devlink/device_link.h"
#include "gateway_process.h"
#include "platform/ui/message_box.h"
#include "temp_working_dir.h"
#include "ui/login_dialog.h"
#include "ui/main_window.h"
#include "ui/program.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr uint32_t kLimitMs = 60000;
/// 8N1: ten bits a byte.
constexpr double kMsPerByte9600 = 10.0 * 1000.0 / 9600.0;
/// How a save begins and ends on the line.
constexpr std::string_view kSaveStart = "\rwrite-system\r!START-TAG!\r";
constexpr std::string_view kSaveEnd = "!END-TAG!\r";

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

/// What the gateway read from the line, byte by byte, with the time each
/// byte started on the wire (in the simulator's clock) and the read it came
/// in, from its transcript file.
struct Received {
  std::string bytes;
  std::vector<double> startedMs;
  std::vector<int> read;
};

Received ReadTranscript(const std::string& path) {
  Received r;
  std::ifstream in(path);
  std::string line;
  double wireFreeMs = 0;  // when the bytes of the reads so far are across
  int reads = 0;
  while (std::getline(in, line)) {
    // [   3.395012] serial << "\r"
    const size_t open = line.find("] serial << \"");
    if (line.empty() || line[0] != '[' || open == std::string::npos) continue;
    std::string bytes;
    for (size_t i = open + 13; i + 1 < line.size(); ++i) {
      if (line[i] != '\\') {
        bytes += line[i];
        continue;
      }
      const char e = line[++i];
      if (e == 'r')
        bytes += '\r';
      else if (e == 'n')
        bytes += '\n';
      else if (e == 't')
        bytes += '\t';
      else if (e != 'x')
        bytes += e;
      else {
        bytes += char(std::stoi(line.substr(i + 1, 2), nullptr, 16));
        i += 2;
      }
    }
    // A read's bytes go on the wire when it is free, one byte time apart.
    double at = std::max(std::stod(line.substr(1, open - 1)) * 1000.0, wireFreeMs);
    for (const char b : bytes) {
      r.bytes += b;
      r.startedMs.push_back(at);
      r.read.push_back(reads);
      at += kMsPerByte9600;
    }
    wireFreeMs = at;
    ++reads;
  }
  return r;
}

/// The longest time an event posted to the UI thread waited before it ran.
/// A thread posts one every 2 ms and each notes its own wait: the window's
/// repaints and the serial port's received data reach the UI thread the same
/// way, so this is how long the window could not repaint.
class StallMeter {
 public:
  StallMeter() : thread_([this] { Post(); }) {}
  ~StallMeter() {
    stop_ = true;
    thread_.join();
  }
  double MaxMs() const { return Ms(longest_); }

 private:
  void Post() {
    while (!stop_) {
      const Clock::time_point posted = Clock::now();
      QMetaObject::invokeMethod(
          &context_, [this, posted] { longest_ = std::max(longest_, Clock::now() - posted); },
          Qt::QueuedConnection);
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }

  QObject context_;  // lives on the UI thread; its pending calls go with it
  Clock::duration longest_{};
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

void BM_SavePty9600(benchmark::State& state) {
  testsupport::TempWorkingDir dir;  // for the language file and the transcript
  const std::string transcript = dir.Path() + "/gwsim.transcript";
  bench::GatewayProcess gw(MORVEL_GWSIM, {"--no-tcp", "--pty", "--preset", "full", "--pace9600", "--read9600",
                                          "--transcript", transcript});
  platform::ScriptedMessageBoxes boxes;
  ui::Program program([] {});
  program.Start();
  ui::TF_morvel_config_main& main = program.Main();
  devlink::TF_Connection& d = program.Connection();
  devlink::DeviceLink& c = program.Link();
  StallMeter stalls;

  main.BB_Connect.Click();
  d.RB_Serial.Click();
  d.CB_Serial.SetPortNames({gw.ptyPath});
  d.CB_Serial.UserChoose(0);
  d.BB_Connect.Click();
  if (!program.Login().Visible()) {
    state.SkipWithError("the serial probe was not answered");
    return;
  }
  program.Login().ED_ID.SetText("admin");
  program.Login().ED_Password.SetText("admin");
  program.Login().BB_OK.Click();
  if (!platform::DelayUntil(kLimitMs, [&] {
        return c.Running() == devlink::Conversation::None && c.Record().ReplyState() == devlink::Reply::Dns;
      })) {
    state.SkipWithError("the read-out did not end");
    return;
  }
  platform::Delay(200);  // the last reply's line end drains

  Clock::duration confirming{};
  for (auto _ : state) {
    const size_t before = boxes.Shown().size();
    const Clock::time_point start = Clock::now();
    main.BB_Save.Click();
    if (!platform::DelayUntil(kLimitMs, [&] { return boxes.Shown().size() > before; })) {
      state.SkipWithError("the save was not confirmed");
      return;
    }
    confirming += Clock::now() - start;
    platform::Delay(100);  // the confirmation's line end drains
  }
  c.Disconnect();
  state.counters["longest_stall_ms"] = stalls.MaxMs();
  state.counters["confirmed_ms"] = Ms(confirming) / double(state.iterations());

  // Each save on the line: from its first byte to its closing marker, and
  // the reads it took (one a write when every write waited for the line).
  const Received r = ReadTranscript(transcript);
  double onLine = 0, wire = 0, reads = 0;
  int saves = 0;
  for (size_t from = r.bytes.find(kSaveStart); from != std::string::npos;
       from = r.bytes.find(kSaveStart, from + 1)) {
    const size_t end = r.bytes.find(kSaveEnd, from);
    if (end == std::string::npos) break;
    const size_t last = end + kSaveEnd.size() - 1;
    onLine += r.startedMs[last] + kMsPerByte9600 - r.startedMs[from];
    wire += double(last + 1 - from) * kMsPerByte9600;
    reads += r.read[last] - r.read[from] + 1;
    ++saves;
  }
  if (saves != int(state.iterations())) {
    state.SkipWithError("the transcript does not hold every save");
    return;
  }
  state.counters["save_ms"] = onLine / saves;
  state.counters["wire_ms"] = wire / saves;
  state.counters["save_over_wire"] = onLine / wire;
  state.counters["reads_per_save"] = reads / saves;
}
BENCHMARK(BM_SavePty9600)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

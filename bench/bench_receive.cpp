// The receive path with the reply interpreter over a recorded read-out (login
// answer and the replies to all nine queries), beside a plain memchr line
// splitter over the same bytes: the splitter is the floor any line reader
// pays, so the ratio shows what words, state selection and field mapping cost.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <string>
#include <string_view>

#include "config/config_pages.h"
#include "devlink/device_link.h"
#include "lang/message_texts.h"
#include "recording_windows.h"

namespace {

std::string Transcript() {
  std::string t;
  auto line = [&t](std::string_view l) {
    t.append(l);
    t.append("\r\n");
  };
  line("start-login admin secret");
  line("Login ok");
  line("get-model");
  line("model MVG-2400");
  line("!END-TAG!");
  line("get-wan");
  line("interface ether0.0");
  line("no ip address");
  line("encapsulation pppoe");
  line("ppp authentication pap callin");
  line("ppp echo interval 20");
  line("ppp pap sent-username user@isp.example password s3cr3t");
  line("ppp ipcp default-route");
  line("ppp ipcp ms-dns");
  line("!");
  line("!END-TAG!");
  line("get-lan");
  line("interface ether1.0");
  line("no ip address");
  line("ip dhcp-group 0");
  line("!");
  line("!END-TAG!");
  line("get-auto-upgrade");
  line("auto-upgrade  authentication login upd password updpw");
  line("auto-upgrade  auto-reboot");
  line("auto-upgrade  url  http://firmware.example.com/mvg2400/latest");
  line("auto-upgrade  action auto");
  line("!END-TAG!");
  line("get-service");
  for (const char* s : {"ftpd", "httpd", "telnetd", "snmpd", "tftpd", "morvel"})
    line(std::string("service ") + s);
  line("!END-TAG!");
  line("get-service-port");
  for (const char* s : {"ftpd 21", "httpd 80", "telnetd 23", "snmpd 161", "tftpd 69", "morvel 514"})
    line(std::string("service-port ") + s);
  line("!END-TAG!");
  line("get-version");
  line("version 2.35.07 (built Mar 14 2004 10:22:51)");
  line("!END-TAG!");
  line("get-voip");
  for (int p = 0; p < 8; ++p) {
    line("voice-port " + std::to_string(p));
    line("! FXS");
    line("caller-id enable");
    line("caller-id type bellcore");
    line("!");
  }
  for (int p = 0; p < 8; ++p) {
    line("dial-peer voice " + std::to_string(p) + " pots");
    line("destination-pattern 55501" + std::to_string(p));
    line("port " + std::to_string(p));
    line("!");
  }
  line("dial-peer voice 1000 voip");
  line("destination-pattern T");
  line("session target ras");
  line("!");
  line("gateway");
  line("interface ether0.0");
  line("h323-id mvg2400-gw");
  line("security password gkpass");
  line("gkip 192.168.100.1 1719 128");
  line("gkip 192.168.100.2 1719 129");
  line("rule 0  [2-9]T     02%1");
  line("!END-TAG!");
  line("get-dns-server");
  line("dnshost  nameserver   168.126.63.1");
  line("!END-TAG!");
  return t;
}

/// The link with its pages, fed the transcript; sends go nowhere.
struct Rig {
  testsupport::RecordingWindows windows;
  devlink::DeviceLink link{windows, windows.pages};

  /// One read-out as a login starts it, delivered in TCP-sized chunks.
  void ReadOut(std::string_view bytes) {
    windows.trace.Clear();
    windows.pages.SG_VoIP_Phone_number.SetRowCount(2);
    link.StartIn(
        devlink::LinkState().VoipCounted(0, 0, 0).AddressesSeen(false).Reading(devlink::Reply::Login));
    constexpr size_t kChunk = 1460;
    for (size_t i = 0; i < bytes.size(); i += kChunk)
      link.Receive(bytes.substr(i, kChunk), devlink::LineEnds::Tcp);
  }
};

/// Lines split at LF with memchr; the sum of their lengths keeps the work alive.
size_t MemchrLines(std::string_view bytes) {
  size_t total = 0;
  const char* p = bytes.data();
  const char* end = p + bytes.size();
  while (p < end) {
    const void* nl = std::memchr(p, '\n', size_t(end - p));
    const char* e = nl ? static_cast<const char*>(nl) : end;
    total += size_t(e - p);
    p = e + 1;
  }
  return total;
}

const std::string& Bytes() {
  static const std::string t = Transcript();
  return t;
}

void BM_ReceiveReadOut(benchmark::State& state) {
  Rig rig;
  const std::string& t = Bytes();
  for (auto _ : state) {
    rig.ReadOut(t);
    benchmark::DoNotOptimize(rig.link.Record().ReplyState());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(t.size()));
  state.counters["transcript_bytes"] = double(t.size());
}
BENCHMARK(BM_ReceiveReadOut);

void BM_MemchrSplit(benchmark::State& state) {
  const std::string& t = Bytes();
  for (auto _ : state) benchmark::DoNotOptimize(MemchrLines(t));
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(t.size()));
}
BENCHMARK(BM_MemchrSplit);

/// Both in the same run, alternating, so the ratio is not skewed by the
/// machine's load changing between two separate benchmarks.
void BM_ReceiveVsMemchr(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  Rig rig;
  const std::string& t = Bytes();
  Clock::duration link{}, split{};
  for (auto _ : state) {
    const auto a = Clock::now();
    rig.ReadOut(t);
    const auto b = Clock::now();
    for (int i = 0; i < 16; ++i) benchmark::DoNotOptimize(MemchrLines(t));
    const auto c = Clock::now();
    link += b - a;
    split += (c - b) / 16;
  }
  const double bytes = double(state.iterations()) * double(t.size());
  const double linkBps = bytes / std::chrono::duration<double>(link).count();
  const double splitBps = bytes / std::chrono::duration<double>(split).count();
  state.counters["receive_Bps"] = linkBps;
  state.counters["memchr_Bps"] = splitBps;
  state.counters["memchr_over_receive"] = splitBps / linkBps;
}
BENCHMARK(BM_ReceiveVsMemchr);

}  // namespace

BENCHMARK_MAIN();

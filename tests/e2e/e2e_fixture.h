#pragma once
// Whole visits on top of the program fixture: a simulated gateway described
// by its preset and line behaviour, connect with login and read-out in one
// step, waits until the link has gone quiet, Save with its confirmation, and
// the check of every field a read-out fills.
#include <string>

#include "program_fixture.h"

namespace e2e {

using testsupport::Via;
using testsupport::ViaName;
using testsupport::ViaTestName;

struct Gateway {
  std::string preset = "pppoe-h323";
  std::string model;  // empty: the preset's
  gwsim::LineEnd lineEnd = gwsim::LineEnd::CrLf;
  size_t chunkBytes = 0;
  bool pace9600 = false;
  int pageLines = 16;                          // status lines per "-- more --" page
  std::chrono::milliseconds saveEndDelay{};    // the save's closing line held back
  std::chrono::milliseconds statusEndDelay{};  // the gatekeeper status's closing line held back
  bool read9600 = false;                       // the pty takes the tool's bytes at 9600 baud
  bool refuseSave = false;
  std::vector<std::string> silentQueries;
};

class VisitTest : public testsupport::ProgramTest {
 protected:
  void StartGateway(const Gateway& g) {
    gwsim::SimulatorOptions o;
    o.config = gwsim::preset(g.preset);
    if (!g.model.empty()) o.config.model = g.model;
    o.console.lineEnd = g.lineEnd;
    o.chunkBytes = g.chunkBytes;
    o.pace9600 = g.pace9600;
    o.console.pageLines = g.pageLines;
    o.saveEndDelay = g.saveEndDelay;
    o.statusEndDelay = g.statusEndDelay;
    o.read9600 = g.read9600;
    o.console.refuseSave = g.refuseSave;
    o.console.silentQueries = g.silentQueries;
    o.rebootSilence = std::chrono::milliseconds(300);
    StartSimulator(std::move(o));
  }

  /// Connects and logs in; true when the read-out has ended.
  bool Visit(Via via, const std::string& password = "admin") {
    if (!Connect(via)) return false;
    TypeLogin("admin", password);
    return WaitForReadOut();
  }

  /// True when the link has read everything that arrived and nothing more
  /// came for a while (replies may be chunked or paced).
  bool Settle(const std::function<bool()>& done, uint32_t timeoutMs = kWaitMs) {
    auto idle = [&] {
      devlink::DeviceLink& c = link();
      return c.Transport().Drained() && c.Record().RxLine().empty() && done();
    };
    const uint32_t start = platform::TickCount();
    while (platform::TickCount() - start < timeoutMs) {
      if (!WaitFor(idle, timeoutMs - (platform::TickCount() - start))) return false;
      platform::Delay(150);
      if (idle()) return true;
    }
    return false;
  }

  /// The query series has ended: the DNS query went out and its reply is read.
  bool WaitForReadOut() {
    return Settle(
        [&] { return Sent("get-dns-server\r") && link().Record().ReplyState() == devlink::Reply::Dns; });
  }

  /// Presses Save; true when the confirmation box has appeared.
  bool SaveAndConfirm() {
    const size_t before = boxes.Shown().size();
    main().BB_Save.Click();
    return WaitFor([&] {
      for (size_t i = before; i < boxes.Shown().size(); ++i)
        if (boxes.Shown()[i].caption == "OK") return true;
      return false;
    });
  }

  /// A tick of `timer` as the event loop would run it: only while it runs.
  static void Tick(platform::Timer& timer) {
    if (timer.Enabled()) timer.Fire();
  }

  bool BoxShown(const std::string& text) const {
    for (const platform::MessageBox& b : boxes.Shown())
      if (b.text == text) return true;
    return false;
  }
};

/// Every field the read-out fills, as the simulator's configuration gives it.
void ExpectPagesShow(const gwsim::GatewayConfig& c, config::ConfigPages& p);

}  // namespace e2e

#pragma once
// A whole program against the gateway simulator, driven as a user would:
// clicks and typing on the four windows, message boxes answered by the
// scripted double, waits bounded by platform::DelayUntil. Each test runs in a
// temporary working directory, so the language file lands there.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gwsim/simulator.h"
#include "ui/program.h"

namespace e2e {

enum class Via { Tcp, Serial };

inline const char* Name(Via v) { return v == Via::Tcp ? "TCP" : "serial"; }

struct Gateway {
  std::string preset = "pppoe-h323";
  std::string model;  // empty: the preset's
  gwsim::LineEnd lineEnd = gwsim::LineEnd::CrLf;
  size_t chunkBytes = 0;
  bool pace9600 = false;
};

class VisitTest : public ::testing::Test {
 protected:
  static constexpr uint32_t kReplyWaitMs = 20000;

  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    previousDir_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path().toStdString());
    program_ = std::make_unique<ui::Program>([] {});
    program_->Start();
  }

  void TearDown() override {
    if (HasFailure() && program_) {
      std::string trace;
      for (const std::string& l : program_->Debug().Display.Lines()) trace += l + "\n";
      ADD_FAILURE() << "trace:\n" << trace << "\nsimulator:\n" << (sim_ ? sim_->transcript() : "");
    }
    program_.reset();  // closes the port before the simulator goes
    sim_.reset();
    std::filesystem::current_path(previousDir_);
  }

  void StartGateway(const Gateway& g) {
    gwsim::SimulatorOptions o;
    o.config = gwsim::preset(g.preset);
    if (!g.model.empty()) o.config.model = g.model;
    o.console.lineEnd = g.lineEnd;
    o.chunkBytes = g.chunkBytes;
    o.pace9600 = g.pace9600;
    o.tcp = true;
    o.pty = true;
    o.rebootSilence = std::chrono::milliseconds(300);
    sim_ = std::make_unique<gwsim::Simulator>(std::move(o));
    sim_->start();
  }

  /// Connect on the main window, then the dialog's transport and OK.
  void Connect(Via via) {
    main().BB_Connect.Click();
    devlink::TF_Connection& d = connection();
    if (via == Via::Tcp) {
      d.RB_TCP.Click();
      d.ED_host.SetText("127.0.0.1");
      d.ED_TCP.SetText(std::to_string(sim_->tcpPort()));
    } else {
      d.RB_Serial.Click();
      d.CB_Serial.SetPortNames({sim_->ptyPath()});
      d.CB_Serial.UserChoose(0);
    }
    d.BB_Connect.Click();
  }

  /// Types the ID and the password and presses Enter in the password box.
  void TypeLogin(const std::string& id, const std::string& password) {
    login().ED_ID.SetText(id);
    login().ED_Password.SetText(password);
    char enter = '\r';
    login().ED_Password.KeyPress(enter);
  }

  /// Connects and logs in; true when the read-out has ended.
  bool Visit(Via via, const std::string& password = "admin") {
    Connect(via);
    if (!login().Visible()) return false;
    TypeLogin("admin", password);
    return WaitForReadOut();
  }

  bool Sent(const std::string& line) const {
    for (const std::string& l : program_->Debug().Display.Lines())
      if (l == "Send_Message : " + line) return true;
    return false;
  }

  /// Waits for `done` in short slices: the simulator changes its state on its
  /// own thread, which wakes no event of this one.
  bool WaitFor(const std::function<bool()>& done, uint32_t timeoutMs = kReplyWaitMs) {
    const uint32_t start = platform::TickCount();
    while (platform::TickCount() - start < timeoutMs)
      if (platform::DelayUntil(10, done)) return true;
    return done();
  }

  /// True when the link has read everything that arrived and nothing more
  /// came for a while (replies may be chunked or paced).
  bool Settle(const std::function<bool()>& done, uint32_t timeoutMs = kReplyWaitMs) {
    auto idle = [&] {
      devlink::TF_Connection& c = connection();
      const bool tcpIdle = !c.ClientSocket.Active() || c.ClientSocket.Socket().ReceiveBytes(nullptr, -1) == 0;
      const bool serialIdle = !c.ComPort.Connected() || c.ComPort.PendingInputCount() == 0;
      return tcpIdle && serialIdle && c.link.RxLine.empty() && done();
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
    return Settle([&] { return Sent("get-dns-server\r") && connection().link.ReplyState == devlink::reply::kDns; });
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

  bool BoxShown(const std::string& text) const {
    for (const platform::MessageBox& b : boxes.Shown())
      if (b.text == text) return true;
    return false;
  }

  ui::TF_morvel_config_main& main() { return program_->Main(); }
  config::ConfigPages& pages() { return program_->Main().pages; }
  devlink::TF_Connection& connection() { return program_->Connection(); }
  ui::TF_Login& login() { return program_->Login(); }
  gwsim::Simulator& sim() { return *sim_; }

  platform::ScriptedMessageBoxes boxes;

 private:
  QTemporaryDir dir_;
  std::filesystem::path previousDir_;
  std::unique_ptr<gwsim::Simulator> sim_;
  std::unique_ptr<ui::Program> program_;
};

/// Every field the read-out fills, as the simulator's configuration gives it.
void ExpectPagesShow(const gwsim::GatewayConfig& c, config::ConfigPages& p);

}  // namespace e2e

#pragma once
// A whole program against the gateway simulator on its real transports,
// driven as a user would: clicks and typing on the windows, message boxes
// answered by the scripted double, waits bounded. Each test runs in a
// temporary working directory, so the language file lands there.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include "gwsim/simulator.h"
#include "temp_working_dir.h"
#include "ui/program.h"

namespace testsupport {

enum class Via { Tcp, Serial };

/// The transport's name, as parameterised tests' names carry it.
inline const char* ViaName(Via v) { return v == Via::Tcp ? "Tcp" : "Serial"; }
inline std::string ViaTestName(const ::testing::TestParamInfo<Via>& info) { return ViaName(info.param); }

class ProgramTest : public ::testing::Test {
 protected:
  static constexpr uint32_t kWaitMs = 20000;

  void SetUp() override {
    ASSERT_TRUE(dir_.IsValid());
    program_ = std::make_unique<ui::Program>([this] { ended_ = true; });
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
  }

  /// Starts the simulator on loopback TCP and a pseudo-terminal.
  void StartSimulator(gwsim::SimulatorOptions o) {
    o.tcp = true;
    o.pty = true;
    sim_ = std::make_unique<gwsim::Simulator>(std::move(o));
    sim_->start();
  }

  /// Connect on the main window, then the dialog's transport and OK; true
  /// when the login dialog came up.
  bool Connect(Via via) {
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
    return login().Visible();
  }

  /// Types the ID and the password and presses Enter in the password box.
  void TypeLogin(const std::string& id = "admin", const std::string& password = "admin") {
    login().ED_ID.SetText(id);
    login().ED_Password.SetText(password);
    char enter = '\r';
    login().ED_Password.KeyPress(enter);
  }

  bool Sent(const std::string& line) const { return SentCount(line) > 0; }
  /// How often `line` went out, by the trace.
  size_t SentCount(const std::string& line) const {
    const auto& trace = program_->Debug().Display.Lines();
    return size_t(std::count(trace.begin(), trace.end(), "Send_Message : " + line));
  }

  /// Waits for `done` in short slices: the simulator changes its state on its
  /// own thread, which wakes no event of this one.
  bool WaitFor(const std::function<bool()>& done, uint32_t timeoutMs = kWaitMs) {
    const uint32_t start = platform::TickCount();
    while (platform::TickCount() - start < timeoutMs)
      if (platform::DelayUntil(10, done)) return true;
    return done();
  }

  ui::TF_morvel_config_main& main() { return program_->Main(); }
  config::ConfigPages& pages() { return program_->Main().pages; }
  devlink::TF_Connection& connection() { return program_->Connection(); }
  devlink::DeviceLink& link() { return program_->Link(); }
  ui::TF_Login& login() { return program_->Login(); }
  ui::TF_Debug& debug() { return program_->Debug(); }
  devlink::ConnectionLog& connectionLog() { return program_->Log(); }
  gwsim::Simulator& sim() { return *sim_; }
  bool ended() const { return ended_; }

  platform::ScriptedMessageBoxes boxes;

 private:
  TempWorkingDir dir_;
  std::unique_ptr<gwsim::Simulator> sim_;
  std::unique_ptr<ui::Program> program_;
  bool ended_ = false;
};

}  // namespace testsupport

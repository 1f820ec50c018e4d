#pragma once
// A whole program against the gateway simulator on its real transports, for
// faults: the simulator's fault hooks, silent gateways, and hand-made peers.
// Waits are bounded (platform::DelayUntil); no test asserts on time.
#include <string>

#include "program_fixture.h"

namespace robustness {

using testsupport::Via;
using testsupport::ViaName;
using testsupport::ViaTestName;

class FaultTest : public testsupport::ProgramTest {
 protected:
  void StartGateway(gwsim::SimulatorOptions o) { StartSimulator(std::move(o)); }

  bool WaitSent(const std::string& line) {
    return platform::DelayUntil(kWaitMs, [&] { return Sent(line); });
  }

  bool BoxShown(const std::string& text) const {
    for (const platform::MessageBox& b : boxes.Shown())
      if (b.text.find(text) != std::string::npos) return true;
    return false;
  }

  /// The main window's buttons as they stand with no connection.
  bool ButtonsIdle() {
    ui::TF_morvel_config_main& m = main();
    return m.BB_Connect.Visible() && !m.BB_Disconnect.Visible() && !m.BB_Save.Enabled() &&
           !m.BB_Restart.Enabled();
  }
};

}  // namespace robustness

#pragma once

#include <string>
#include <vector>

#include "gwsim/gateway_config.h"

namespace gwsim {

/// Turns a configuration script received by "write-system" back into
/// configuration settings.
///
/// A script that contains the WAN block ("interface ether0.0") is taken as a
/// whole configuration: what its sections leave out is switched off or
/// emptied (no "auto-upgrade  auto-reboot" line means no automatic reboot, the
/// dial-peers are replaced by those of the script). A shorter script, typed by
/// hand, changes only what its lines name. Settings that no script carries
/// stay as they were: model, version, voice port names and types, the PSTN
/// modem, and the settings of the VoIP protocols not in use.
class ScriptApplier {
 public:
  /// Applies `lines` (without line ends) to `config`.
  static void apply(const std::vector<std::string>& lines, GatewayConfig& config);
};

}  // namespace gwsim

#pragma once
// The entries Save requires for the chosen network type and VoIP protocol.
#include "config/address_checks.h"

namespace config {

class ConfigPages;

enum class SaveProblem {
  None,          // every check of the network type passed: save
  Pppoe,         // "Please setup PPPoE contents" on the LAN page
  StaticIp,      // "Please setup static IP contents" on the LAN page
  Voip,          // "Please setup VoIP contents" on the VoIP page
  NoNetworkType, // no network type chosen: nothing happens
};

/// Works out the three check results (every one, whatever the network type,
/// so their traces appear) and reports the first failing one that counts.
SaveProblem CheckSave(const ConfigPages& pages, const TraceFn& trace);

}  // namespace config

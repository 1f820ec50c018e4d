#pragma once
// The entries Save requires for the chosen network type and VoIP protocol,
// and the texts it refuses to put into a script line.
#include <optional>
#include <string>

#include "config/address_checks.h"

namespace platform {
class TabSheet;
}

namespace config {

class ConfigPages;

enum class SaveProblem {
  None,           // every check of the network type passed: save
  Pppoe,          // "Please setup PPPoE contents" on the LAN page
  StaticIp,       // "Please setup static IP contents" on the LAN page
  Voip,           // "Please setup VoIP contents" on the VoIP page
  NoNetworkType,  // no network type chosen: nothing happens
};

/// Works out the three check results (every one, whatever the network type,
/// so their traces appear) and reports the first failing one that counts.
/// Besides its required entries, each result also fails for an optional
/// address of its part of the script that has a split group (its digits
/// would join when packed).
SaveProblem CheckSave(const ConfigPages& pages, const TraceFn& trace);

/// A text field of the script that holds CR, LF or NUL: its script line
/// would end early and the rest reach the gateway's console as a command of
/// its own.
struct LineBreakingField {
  std::string caption;       // its label (check box, grid column title), blanks trimmed
  platform::TabSheet* page;  // the page it is on
};
/// The first such field, page by page; nothing when every text the script
/// may carry is a single line.
std::optional<LineBreakingField> FindLineBreakingField(const ConfigPages& pages);
/// The warning Save shows for it, naming the field and its page.
std::string LineBreakWarning(const LineBreakingField& field);

}  // namespace config

#pragma once
// Checks and proposals on dotted address texts.
#include <functional>
#include <string>
#include <string_view>

namespace config {

class ConfigPages;

/// Receives one line for the debug trace.
using TraceFn = std::function<void(std::string line)>;

/// `text` with every blank removed: an address field's text as it is checked
/// and as it goes into a script line.
std::string WithoutBlanks(std::string_view text);

/// True when the address, blanks removed, has three dots, a character before
/// each of them and at least one after the third. An empty group before a
/// dot traces the CP949 notice "중간 IP 없음" (a middle group is missing).
bool IP_Add_Check(std::string_view address, const TraceFn& trace);

/// `text` up to, not including, its (n+1)-th dot.
std::string Get_GW_IP(std::string_view text, int n);

/// Leaving the fixed IP address field: when the netmask and the router are
/// both empty, proposes the netmask of the address's class and the network
/// part of the address as the router.
void ED_Static_IP_addressExit(ConfigPages& pages);

}  // namespace config

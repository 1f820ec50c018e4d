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
/// `text` without its leading and trailing blanks (a caption as shown).
std::string_view TrimBlanks(std::string_view text);

/// True when a group of the address holds a blank between two characters:
/// something the mask could not take stood there (the ":" of
/// "10.0.0.1:5060" placed as «1 5»), and removing the blanks would join the
/// characters around it into another number («10.0.0.15»).
bool HasSplitGroup(std::string_view address);

/// True when the address, blanks removed, has three dots, a character before
/// each of them and at least one after the third, and no group of it is
/// split. An empty group before a dot traces the CP949 notice "중간 IP 없음"
/// (a middle group is missing).
bool IP_Add_Check(std::string_view address, const TraceFn& trace);

/// `text` up to, not including, its (n+1)-th dot.
std::string Get_GW_IP(std::string_view text, int n);

/// Leaving the fixed IP address field: when the netmask and the router are
/// both empty, proposes the netmask of the address's class and the network
/// part of the address as the router.
void ED_Static_IP_addressExit(ConfigPages& pages);

}  // namespace config

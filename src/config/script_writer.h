#pragma once
// The configuration script Save sends to the gateway.
#include <string>
#include <vector>

namespace config {

class ConfigPages;

/// The script's lines, in order, without line ends and without the closing
/// "!END-TAG!" marker (the link sends that itself after setting the save
/// state). Reads the fields only.
std::vector<std::string> ConfigurationScript(const ConfigPages& pages);

}  // namespace config

#pragma once
// The configuration script Save sends to the gateway, written from the
// script table (script_table.h).
#include <string>
#include <string_view>
#include <vector>

namespace config {

class ConfigPages;
struct ScriptField;

/// Secret values as they go out, or as dots (one a character) for showing.
enum class Secrets { Shown, Masked };

/// The script's lines, in order, without line ends and without the closing
/// "!END-TAG!" marker (the link sends that itself after setting the save
/// state). Reads the fields only.
std::vector<std::string> ConfigurationScript(const ConfigPages& pages, Secrets secrets = Secrets::Shown);

/// A secret as shown without being revealed: one dot a character.
std::string SecretDots(std::string_view secret);

/// A field's value as a line carries it: a text as it stands, an address
/// packed (every blank removed).
std::string LineValue(const ScriptField& field, const ConfigPages& pages);

}  // namespace config
